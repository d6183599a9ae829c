#include "gui/components/tabletext.h"

#include <QItemSelectionModel>
#include <QLocale>
#include <QSet>
#include <QTableWidget>

#include <set>

namespace {

// A tab or a line break inside a title would shift the cells.
QString flat(QString text)
{
  for (QChar& c : text)
    if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
      c = QLatin1Char(' ');
  return text;
}

} // namespace

QString TableText::tabSeparated(const QTableWidget& table, const CellValue& value, Scope scope)
{
  std::set<int> rows, columns;
  QSet<QPair<int, int>> chosen;
  const QModelIndexList selected =
      scope == All ? QModelIndexList() : table.selectionModel()->selectedIndexes();
  for (const QModelIndex& i : selected) {
    if (table.isColumnHidden(i.column()))
      continue;
    rows.insert(i.row());
    columns.insert(i.column());
    chosen.insert({i.row(), i.column()});
  }
  const bool all = chosen.isEmpty();
  if (all) {
    for (int r = 0; r < table.rowCount(); ++r)
      rows.insert(r);
    for (int c = 0; c < table.columnCount(); ++c)
      if (!table.isColumnHidden(c))
        columns.insert(c);
  }
  if (columns.empty())
    return QString();

  QStringList header;
  for (int c : columns) {
    const QTableWidgetItem* h = table.horizontalHeaderItem(c);
    header.append(flat(h ? h->text() : QString::number(c + 1)));
  }
  QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (int r : rows) {
    QStringList cells;
    for (int c : columns) {
      const QTableWidgetItem* item = table.item(r, c);
      QString cell;
      if (item && (all || chosen.contains({r, c}))) {
        const void* fn = item->data(Qt::UserRole).value<void*>();
        double v = 0.0;
        // Full precision, so that the pasted numbers are the computed ones.
        cell = fn && value && value(fn, r, &v)
                   ? QString::number(v, 'g', QLocale::FloatingPointShortest)
                   : flat(item->text());
      }
      cells.append(cell);
    }
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return text;
}
