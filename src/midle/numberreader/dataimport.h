#ifndef QUELMORA_DATAIMPORT_H
#define QUELMORA_DATAIMPORT_H

#include "midle/numberreader/datafileinfo.h"
#include "midle/numberreader/numberreaderbase.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

namespace Domains {
template <typename T>
class EnumerationBase;
}
namespace Fn {
template <typename X, typename Y>
class MathFn;
}

// Reading a data file into a domain and table functions, without a window:
// the main window, the batch tool and the tests share it. run() picks the
// reader by suffix, reads the columns, checks them and decides the domain;
// the boxes the user must see are returned as messages, in order, instead of
// being shown. The reader (and with it the Czech default locale) is gone
// when run() returns.
class DataImport
{
public:
  enum Status { Loaded, Cancelled, Failed };
  enum Icon { Information, Critical };
  struct Message
  {
    Icon icon;
    QString title;
    QString text;
  };
  using Columns = NumberReaderBase::Columns;
  // Called before reading when the record asks for the import dialog; it may
  // change the reader's separators. Returning false cancels the load.
  using ImportDialog = std::function<bool(NumberReaderBase& reader)>;

  // The reader for the record's suffix ("csv" or "txt"), or nullptr.
  static std::unique_ptr<NumberReaderBase> createReader(const DataFileInfo& info);

  Status run(const DataFileInfo& info, const ImportDialog& dialog = ImportDialog());
  // The most numbers a file may hold (NumberReaderBase::maxValues by default).
  void setValueLimit(int64_t limit) { valueLimit = limit; }

  Status status() const { return result; }
  // The boxes to show, in order: at most one information (ignored lines, text
  // columns), then, when the load failed, the critical box that ended it.
  const QVector<Message>& messages() const { return boxes; }
  // The record read, with the separators the reader used.
  const DataFileInfo& fileInfo() const { return info; }
  int ignoredLines() const { return ignored; }
  const Columns& columns() const { return cols; }

  // After a successful run: the column holding x, or -1 when the domain is
  // made of the row indices 0 ... rows-1 (also when the column asked for
  // holds text).
  int xColumn() const { return x; }
  // Columns that hold text only (dates, labels): they make no function but
  // keep their place in the numbering. Ascending.
  const std::vector<int>& textColumns() const { return texts; }
  bool isTextColumn(int column) const;
  bool rowIndexDomain() const { return rowIndices; }
  // The domain record values: low, high and the number of subintervals.
  double low() const { return lowValue; }
  double high() const { return highValue; }
  int32_t count() const { return intervals; }
  // The columns that become functions, in column order (all but xColumn()
  // and the text columns).
  std::vector<int> functionColumns() const;
  // The name the program gives the function at position index of count
  // functions made from a data file: "DataFile", or "DataFile 1", ...
  static QString functionName(int index, int count);
  // The name shown for function index of a successful run (before
  // releaseColumns()): functionName() with the column's name from the file's
  // header line beside it, when the file has one.
  QString functionLabel(int index) const;
  // The column names of the file's header line, by column; empty without one.
  const QStringList& columnNames() const { return names; }

  // Math objects of a successful run, owned by the caller. The domain is an
  // equidistant domain of the row indices or an enumeration of the x column;
  // the functions are tables over the given domain, one per function column.
  ::Domains::EnumerationBase<double>* createDomain() const;
  std::vector<Fn::MathFn<double, double>*>
  createFunctions(const ::Domains::EnumerationBase<double>* domain) const;

  // Frees the columns once the functions have been made.
  void releaseColumns();

private:
  Status fail(const QString& title, const QString& text);

  Status result = Failed;
  QVector<Message> boxes;
  DataFileInfo info;
  int ignored = 0;
  Columns cols;
  std::vector<int> texts;
  QStringList names;
  int x = -1;
  bool rowIndices = true;
  double lowValue = 0.0;
  double highValue = 0.0;
  int32_t intervals = 0;
  int64_t valueLimit = NumberReaderBase::maxValues;
};

#endif
