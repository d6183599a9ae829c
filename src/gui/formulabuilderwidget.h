#ifndef QUELMORA_FORMULABUILDERWIDGET_H
#define QUELMORA_FORMULABUILDERWIDGET_H

#include "gui/dialogbase.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class FormulaBuilderHelp;
class QCloseEvent;
class QListWidgetItem;
class QSplitter;
namespace Ui {
class FormulaBuilderWidget;
}
namespace Domains {
template <typename T>
class Equidistant;
}
namespace Fn {
template <typename X, typename Y>
class FormulaExpression;
template <typename X, typename Y, typename F>
class MathFnCachedFormula;
} // namespace Fn

// The dialog in which the user keeps named formulas in x: the list of names,
// the expression of the current one with immediate syntax marking, and a
// preview over an interval of the user's choice. The list lives in the
// formulas file; the main window reads names and expressions from here and
// follows renames through formulaRenamed.
class FormulaBuilderWidget : public DialogBase
{
  Q_OBJECT

public:
  explicit FormulaBuilderWidget(QWidget* parent = nullptr);
  ~FormulaBuilderWidget() override;

  // An empty directory means the application's directory (or the user's data
  // location when that cannot be written). Loads the file there, or saves the
  // current list into it when there is none.
  void setFormulaDirectory(const QString& directory);
  QString formulaFilePath() const { return filePath; }

  // The names in list order, and the expression stored under a name (empty
  // when there is none). Only expressions that passed the check are stored.
  QStringList formulaNames() const;
  QString expression(const QString& name) const;

  // True while a new item is unnamed or two items share a name; accepting
  // and closing are refused then.
  bool hasPendingName() const;

  // Parses the expression the way the formula functions do. On failure gives
  // the parser's message and the offending token (and its position, -1 when
  // unknown) and, when asked, shows the message in a box titled "Error".
  bool checkExpression(const QString& text, bool showMessage, QString* message = nullptr,
                       QString* token = nullptr, int* position = nullptr);

  FormulaBuilderHelp* helpWindow() const { return help; }

signals:
  void formulaRenamed(QString oldName, QString newName);

public slots:
  void accept() override;
  void reject() override;
  void load();
  void save();

protected slots:
  void onDomainRange_changed();
  void onList_selectionChanged(int index);
  void onList_closeEditor(QWidget* editor);
  void onList_itemChanged(QListWidgetItem* item);
  void onRegisterBtn_clicked();
  void onDeleteBtn_clicked();
  void onFormula_changed();

protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter in the Low and High fields applies the range; it does not close the dialog.
  void keyPressEvent(QKeyEvent* event) override;

private:
  using PreviewDomain = Domains::Equidistant<double>;
  using PreviewFunction =
      Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

  QListWidgetItem* newItem(const QString& name, const QString& expression) const;
  void addDefaultFormula();
  void rebuildMap();
  bool isDuplicate(const QListWidgetItem* item) const;
  void setPreviewExpression(const QString& expression);
  void markInvalid(const QString& text, const QString& token, int position);
  void clearMarking();

  Ui::FormulaBuilderWidget* ui;
  QSplitter* splitter;
  QMap<QString, QString> formulas;
  QListWidgetItem* pendingItem = nullptr;
  // The plot draws straight from these; the curve goes before they do.
  std::unique_ptr<PreviewDomain> previewDomain;
  std::unique_ptr<PreviewFunction> previewFunction;
  QString filePath;
  FormulaBuilderHelp* help;
};

#endif
