#include "gui/components/functiontablewidget.h"

#include "gui/components/componenteditsowner.h"
#include "math/fce/mathfn.h"

#include "ui_functiontablewidget.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <cmath>

namespace {

void* userFunction(const QTableWidgetItem* item)
{
  return item->data(Qt::UserRole).value<void*>();
}

// The table's number format.
QString cellText(double value)
{
  return QString::number(value, 'f', 3);
}

} // namespace

FunctionTableWidget::FunctionTableWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::FunctionTableWidget)
{
  ui->setupUi(this);
  connect(ui->tableWidget, &QTableWidget::itemSelectionChanged, this,
          &FunctionTableWidget::onItemSelection_changed);
  connect(ui->resetBtn, &QPushButton::clicked, this,
          &FunctionTableWidget::onResetComponent_clicked);
  connectItemChanged(true);
}

FunctionTableWidget::~FunctionTableWidget() = default;

void FunctionTableWidget::connectItemChanged(bool on)
{
  if (on)
    connect(ui->tableWidget, &QTableWidget::itemChanged, this, &FunctionTableWidget::onItem_changed,
            Qt::UniqueConnection);
  else
    disconnect(ui->tableWidget, &QTableWidget::itemChanged, this,
               &FunctionTableWidget::onItem_changed);
}

void FunctionTableWidget::setColumn(int column, const QString& header,
                                    const Fn::MathFn<double, double>* function)
{
  if (!function || column < 0)
    return;
  QTableWidget* table = ui->tableWidget;
  connectItemChanged(false);

  if (column >= table->columnCount())
    table->setColumnCount(column + 1);
  QTableWidgetItem* headerItem = table->horizontalHeaderItem(column);
  if (!headerItem) {
    headerItem = new QTableWidgetItem;
    table->setHorizontalHeaderItem(column, headerItem);
  }
  headerItem->setText(header);

  const int count = static_cast<int>(function->domain()->size());
  if (count > table->rowCount())
    table->setRowCount(count);

  const QVariant fnData =
      QVariant::fromValue(const_cast<void*>(static_cast<const void*>(function)));
  for (int i = 0; i < count; ++i) {
    QTableWidgetItem* item = table->item(i, column);
    if (!item) {
      item = new QTableWidgetItem;
      table->setItem(i, column, item);
    }
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setText(cellText(function->valueAtIndex(static_cast<std::size_t>(i))));
    item->setData(Qt::UserRole, fnData);
  }
  // Rows kept for longer columns: blank, and not editable as components.
  for (int i = count; i < table->rowCount(); ++i) {
    if (QTableWidgetItem* item = table->item(i, column)) {
      item->setText(QString());
      item->setData(Qt::UserRole, QVariant());
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    }
  }

  table->resizeColumnToContents(column);
  connectItemChanged(true);
}

bool FunctionTableWidget::refreshRows(int column, const Fn::MathFn<double, double>* function,
                                      int first, int last)
{
  QTableWidget* table = ui->tableWidget;
  const int count = function ? static_cast<int>(function->domain()->size()) : 0;
  if (column < 0 || column >= table->columnCount() || table->rowCount() < count || count == 0)
    return false;
  const QTableWidgetItem* probe = table->item(0, column);
  if (!probe || userFunction(probe) != static_cast<const void*>(function))
    return false;
  connectItemChanged(false);
  for (int i = std::max(0, first); i < std::min(last, count); ++i)
    if (QTableWidgetItem* item = table->item(i, column))
      item->setText(QString::number(function->valueAtIndex(static_cast<std::size_t>(i)), 'f', 3));
  connectItemChanged(true);
  return true;
}

void FunctionTableWidget::clearTable()
{
  ui->tableWidget->clearContents();
  ui->tableWidget->setRowCount(0);
}

void FunctionTableWidget::insertColumns(int first, int count)
{
  for (int i = 0; i < count; ++i)
    ui->tableWidget->insertColumn(first + i);
}

void FunctionTableWidget::removeColumns(int first, int count)
{
  for (int i = 0; i < count; ++i)
    ui->tableWidget->removeColumn(first);
}

int FunctionTableWidget::selectedRow() const
{
  const QModelIndexList rows = ui->tableWidget->selectionModel()->selectedRows();
  return rows.size() == 1 ? rows.first().row() : -1;
}

void FunctionTableWidget::setController(ComponentEditsOwner* c)
{
  controller = c;
}

QTableWidget* FunctionTableWidget::table() const
{
  return ui->tableWidget;
}

void FunctionTableWidget::selectRow(int index)
{
  if (ui->tableWidget->currentRow() != index)
    ui->tableWidget->setCurrentCell(index, 0);
}

void FunctionTableWidget::onItemSelection_changed()
{
  emit selectedRowChanged(ui->tableWidget->currentRow());
}

void FunctionTableWidget::onItem_changed(QTableWidgetItem* item)
{
  const void* shown = item ? userFunction(item) : nullptr;
  if (!shown)
    return;
  const int row = item->row(), column = item->column();
  bool ok = false;
  const double value = item->text().trimmed().toDouble(&ok);
  connectItemChanged(false);
  if (!ok || !std::isfinite(value)) {
    // Not a component: the cell shows its component again.
    const auto* function = static_cast<const Fn::MathFn<double, double>*>(shown);
    if (row >= 0 && std::size_t(row) < function->domain()->size())
      item->setText(cellText(function->valueAtIndex(std::size_t(row))));
    connectItemChanged(true);
    return;
  }
  connectItemChanged(true);
  // The controller reads the typed text, at full precision; the cell then
  // shows it in the table's format, unless the edit rebuilt the table.
  emit componentChanged(item);
  QTableWidgetItem* same = ui->tableWidget->item(row, column);
  if (same && userFunction(same) == shown) {
    connectItemChanged(false);
    same->setText(cellText(value));
    connectItemChanged(true);
  }
}

void FunctionTableWidget::onResetComponent_clicked()
{
  if (controller)
    controller->resetEditedComponents();
}
