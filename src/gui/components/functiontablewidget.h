#ifndef QUELMORA_FUNCTIONTABLEWIDGET_H
#define QUELMORA_FUNCTIONTABLEWIDGET_H

#include "gui/components/tabletext.h"

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
// whether the text is a number. A column shows three decimals, or more where
// its largest component would otherwise show fewer significant digits than
// the precision asks. Inside the table Ctrl+A selects every cell and Ctrl+C
// copies the selection (the whole table when nothing is selected).
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
  // One row per component: surplus rows go, missing ones come empty.
  void setRowCount(int rows);
  // Columns per function for the shown degrees (a mask of degree flags 1, 2, 4, 8).
  static int columnsPerFunction(int mask);
  // Shows or hides one degree's column of each of functionCount functions,
  // laid out function by function, shown degrees ascending; mask is the one
  // before the change.
  void setDegreeColumnsVisible(int functionCount, int mask, int degree, bool visible);
  // Significant digits of each column's largest component (never fewer than
  // three decimals); the columns shown are written again.
  void setPrecision(int digits);
  // Decimals a column shows now.
  int decimals(int column) const;
  void insertColumns(int first, int count);
  void removeColumns(int first, int count);
  // The row of the single selected row, or -1.
  int selectedRow() const;

  // Not owned; null until set. The F-transform controller is one (it derives
  // from ComponentEditsOwner).
  void setController(ComponentEditsOwner* controller);

  QTableWidget* table() const;

  // Reads the full-precision value of a component cell for copies; unset,
  // the cells' texts are copied.
  void setCellValue(const TableText::CellValue& value) { _cellValue = value; }
  QString copyText(TableText::Scope scope) const;
  // Puts copyText(scope) on the clipboard.
  void copy(TableText::Scope scope) const;

signals:
  void selectedRowChanged(int index);
  void componentChanged(QTableWidgetItem* item);

public slots:
  void selectRow(int index);

protected slots:
  void onItemSelection_changed();
  void onItem_changed(QTableWidgetItem* item);
  void onResetComponent_clicked();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void connectItemChanged(bool on);
  // Texts (and tooltips) of the rows [first, last) of a column.
  void writeCells(int column, const Fn::MathFn<double, double>* function, int first, int last);

  std::unique_ptr<Ui::FunctionTableWidget> ui;
  ComponentEditsOwner* controller = nullptr;
  TableText::CellValue _cellValue;
  int _precision = 3;
};

#endif
