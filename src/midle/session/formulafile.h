#ifndef QUELMORA_FORMULAFILE_H
#define QUELMORA_FORMULAFILE_H

#include <QString>
#include <QStringList>
#include <QVector>

// The named formulas as the formulas file ("FormulaBuilder.ini") stores them:
// read here for the formula builder and for sessions read without a window,
// so both see the same names in the same order and the same expressions.
class FormulaFile
{
public:
  struct Entry
  {
    QString name;
    QString expression;
    bool valid = false; // the expression parses
  };

  // Keys of the file.
  static constexpr const char* arrayKey = "formulas";
  static constexpr const char* nameKey = "formula_name";
  static constexpr const char* expressionKey = "formula_expression";

  // The list a formulas file without any entry (or no file) stands for.
  static Entry defaultFormula();

  // Reads the file. Entries without a name or with a name used before are
  // left out (ignoredEntries()); a file holding no keys at all gives the
  // default formula and isEmpty().
  void read(const QString& path);

  bool isEmpty() const { return empty; }
  const QVector<Entry>& entries() const { return list; }
  QStringList names() const;
  // The expression under name when it parses, else "" (the formula 0).
  QString expression(const QString& name) const;
  int ignoredEntries() const { return ignored; }
  QStringList invalidNames() const;

private:
  QVector<Entry> list;
  int ignored = 0;
  bool empty = true;
};

#endif
