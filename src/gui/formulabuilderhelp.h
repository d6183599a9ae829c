#ifndef QUELMORA_FORMULABUILDERHELP_H
#define QUELMORA_FORMULABUILDERHELP_H

#include <QString>
#include <QVector>
#include <QWidget>

class QLabel;

// The page listing what formula expressions may use. Every row states what
// the parser in use really computes; the rows are public so that a test can
// hold each one against the parser.
class FormulaBuilderHelp : public QWidget
{
  Q_OBJECT

public:
  struct Row
  {
    QString names;     // comma-separated, as shown
    QString arguments; // for operators: the priority, empty when it has none
    QString meaning;
  };

  explicit FormulaBuilderHelp(QWidget* parent = nullptr);

  static const QVector<Row>& functionRows();
  static const QVector<Row>& binaryOperatorRows();
  static const QVector<Row>& otherOperatorRows();
  static QString helpText();

private:
  QLabel* label;
};

#endif
