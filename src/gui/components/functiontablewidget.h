#ifndef QUELMORA_FUNCTIONTABLEWIDGET_H
#define QUELMORA_FUNCTIONTABLEWIDGET_H

#include <QWidget>

#include <memory>

class QTableWidget;
class QTableWidgetItem;
class ComponentEditsOwner;
namespace Fn {
template <typename X, typename Y>
class MathFn;
}
namespace Ui {
class FunctionTableWidget;
}

// The components of the direct F-transform, one row per component and one
// column per shown function and degree. Every component cell carries the
// component function of its column under Qt::UserRole; cells without one
// (rows beyond a column's component count) are not components. Typing into a
// component cell is reported with componentChanged(); the controller decides
// whether the text is a number.
class FunctionTableWidget : public QWidget
{
  Q_OBJECT

public:
  explicit FunctionTableWidget(QWidget* parent = nullptr);
  ~FunctionTableWidget() override;

  // Fills one column with the values of `function` (one row per element of
  // its domain) without reporting them as edits. Rows beyond them are blanked.
  void setColumn(int column, const QString& header, const Fn::MathFn<double, double>* function);
  // Refreshes the rows [first, last) of a column that shows `function`
  // already (its values changed in place); false, touching nothing, when the
  // column shows something else.
  bool refreshRows(int column, const Fn::MathFn<double, double>* function, int first, int last);
  void clearTable();
  void insertColumns(int first, int count);
  void removeColumns(int first, int count);
  // The row of the single selected row, or -1.
  int selectedRow() const;

  // Not owned; null until set. The F-transform controller is one (it derives
  // from ComponentEditsOwner).
  void setController(ComponentEditsOwner* controller);

  QTableWidget* table() const;

signals:
  void selectedRowChanged(int index);
  void componentChanged(QTableWidgetItem* item);

public slots:
  void selectRow(int index);

protected slots:
  void onItemSelection_changed();
  void onItem_changed(QTableWidgetItem* item);
  void onResetComponent_clicked();

private:
  void connectItemChanged(bool on);

  std::unique_ptr<Ui::FunctionTableWidget> ui;
  ComponentEditsOwner* controller = nullptr;
};

#endif
