#include "gui/components/functiontablewidget.h"

#include "gui/components/componenteditsowner.h"
#include "math/fce/mathfn.h"

#include "ui_functiontablewidget.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace {

void* userFunction(const QTableWidgetItem* item)
{
  return item->data(Qt::UserRole).value<void*>();
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
    item->setText(QString::number(function->valueAtIndex(static_cast<std::size_t>(i)), 'f', 3));
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
  if (item && userFunction(item))
    emit componentChanged(item);
}

void FunctionTableWidget::onResetComponent_clicked()
{
  if (controller)
    controller->resetEditedComponents();
}
