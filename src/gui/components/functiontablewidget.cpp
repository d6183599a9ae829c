#include "gui/components/functiontablewidget.h"

#include "gui/components/componenteditsowner.h"
#include "gui/components/shownnumber.h"
#include "math/fce/mathfn.h"

#include "ui_functiontablewidget.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace {

void* userFunction(const QTableWidgetItem* item)
{
  return item->data(Qt::UserRole).value<void*>();
}

const Fn::MathFn<double, double>* shownFunction(const QTableWidgetItem* item)
{
  return static_cast<const Fn::MathFn<double, double>*>(userFunction(item));
}

int columnDecimals(const Fn::MathFn<double, double>& function, int significant)
{
  return ShownNumber::decimalsForValues(function.values().data(), function.values().size(),
                                        significant);
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
  ui->tableWidget->installEventFilter(this);
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

int FunctionTableWidget::decimals(int column) const
{
  const QTableWidgetItem* header = ui->tableWidget->horizontalHeaderItem(column);
  const QVariant d = header ? header->data(Qt::UserRole) : QVariant();
  return d.isValid() ? d.toInt() : ShownNumber::minDecimals;
}

void FunctionTableWidget::writeCells(int column, const Fn::MathFn<double, double>* function,
                                     int first, int last)
{
  QTableWidget* table = ui->tableWidget;
  const int d = decimals(column);
  for (int i = first; i < last; ++i) {
    QTableWidgetItem* item = table->item(i, column);
    if (!item)
      continue;
    const double value = function->valueAtIndex(static_cast<std::size_t>(i));
    item->setText(ShownNumber::text(value, d));
    item->setToolTip(std::isnan(value) ? tr("Undefined: the basic function covers too few points")
                                       : QString());
  }
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
  // Kept with the header, which moves with its column.
  headerItem->setData(Qt::UserRole, columnDecimals(*function, _precision));

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
    item->setData(Qt::UserRole, fnData);
  }
  writeCells(column, function, 0, count);
  // Rows kept for longer columns: blank, and not editable as components.
  for (int i = count; i < table->rowCount(); ++i) {
    if (QTableWidgetItem* item = table->item(i, column)) {
      item->setText(QString());
      item->setToolTip(QString());
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
  // New values may ask for other decimals: the whole column follows then.
  if (columnDecimals(*function, _precision) != decimals(column)) {
    setColumn(column, table->horizontalHeaderItem(column)->text(), function);
    return true;
  }
  connectItemChanged(false);
  writeCells(column, function, std::max(0, first), std::min(last, count));
  connectItemChanged(true);
  return true;
}

void FunctionTableWidget::clearTable()
{
  ui->tableWidget->clearContents();
  ui->tableWidget->setRowCount(0);
}

int FunctionTableWidget::columnsPerFunction(int mask)
{
  int n = 0;
  for (int flag = 1; flag <= 8; flag *= 2)
    if (mask & flag)
      ++n;
  return n;
}

void FunctionTableWidget::setDegreeColumnsVisible(int functionCount, int mask, int degree,
                                                  bool visible)
{
  const int shown = columnsPerFunction(mask);
  int position = 0;
  if (degree > 0) {
    int missing = 0;
    for (int f = 1 << degree; f >= 2; f /= 2)
      if (!(mask & f))
        ++missing;
    position = degree - missing;
  }
  for (int j = functionCount - 1; j >= 0; --j)
    table()->setColumnHidden(shown * j + position, !visible);
}

void FunctionTableWidget::setRowCount(int rows)
{
  ui->tableWidget->setRowCount(std::max(0, rows));
}

void FunctionTableWidget::setPrecision(int digits)
{
  if (digits == _precision)
    return;
  _precision = digits;
  QTableWidget* table = ui->tableWidget;
  for (int c = 0; c < table->columnCount(); ++c) {
    const QTableWidgetItem* probe = table->item(0, c);
    if (const auto* fn = probe ? shownFunction(probe) : nullptr)
      setColumn(c, table->horizontalHeaderItem(c)->text(), fn);
  }
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

QString FunctionTableWidget::copyText(TableText::Scope scope) const
{
  return TableText::tabSeparated(*ui->tableWidget, _cellValue, scope);
}

void FunctionTableWidget::copy(TableText::Scope scope) const
{
  QApplication::clipboard()->setText(copyText(scope));
}

bool FunctionTableWidget::eventFilter(QObject* watched, QEvent* event)
{
  // The view's own Ctrl+C copies the current cell only.
  if (watched == ui->tableWidget &&
      (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress)
      copy(TableText::SelectionOrAll);
    return true;
  }
  return QWidget::eventFilter(watched, event);
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
  const auto* shown = item ? shownFunction(item) : nullptr;
  if (!shown)
    return;
  const int row = item->row(), column = item->column();
  bool ok = false;
  const double value = item->text().trimmed().toDouble(&ok);
  connectItemChanged(false);
  if (!ok || !std::isfinite(value)) {
    // Not a component: the cell shows its component again.
    if (row >= 0 && std::size_t(row) < shown->domain()->size())
      writeCells(column, shown, row, row + 1);
    connectItemChanged(true);
    return;
  }
  connectItemChanged(true);
  // The controller reads the typed text, at full precision; the cell then
  // shows it in the table's format, unless the edit rebuilt the table.
  emit componentChanged(item);
  QTableWidgetItem* same = ui->tableWidget->item(row, column);
  if (same && shownFunction(same) == shown) {
    connectItemChanged(false);
    if (columnDecimals(*shown, _precision) != decimals(column))
      setColumn(column, ui->tableWidget->horizontalHeaderItem(column)->text(), shown);
    else
      same->setText(ShownNumber::text(value, decimals(column)));
    connectItemChanged(true);
  }
}

void FunctionTableWidget::onResetComponent_clicked()
{
  if (controller)
    controller->resetEditedComponents();
}
