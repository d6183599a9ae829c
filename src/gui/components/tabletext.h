#ifndef QUELMORA_TABLETEXT_H
#define QUELMORA_TABLETEXT_H

#include <QString>

#include <functional>

class QTableWidget;

// A table as text that a spreadsheet pastes as numbers: tab-separated, a
// header row of the column titles, numbers with '.' whatever the locale.
class TableText
{
public:
  // The value of a component cell: the function the cell carries under
  // Qt::UserRole, at the cell's row. False when the function is not known
  // (any more); the cell's own text is taken then.
  using CellValue = std::function<bool(const void* function, int row, double* value)>;
  enum Scope { SelectionOrAll, All };

  // The selected cells, or the whole table when nothing is selected (always
  // the whole table for All); rows and columns in table order, hidden
  // columns left out, unselected cells inside the selected rows and columns
  // empty. Ends with a line break.
  static QString tabSeparated(const QTableWidget& table, const CellValue& value = {},
                              Scope scope = SelectionOrAll);
};

#endif
