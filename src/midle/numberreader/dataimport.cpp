#include "midle/numberreader/dataimport.h"

#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/enumerationbase.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"
#include "midle/numberreader/csvnumberreader.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

QString tr(const char* text)
{
  return QCoreApplication::translate("DataImport", text);
}

QString fileParser()
{
  return QCoreApplication::translate("DataImport", "File parser");
}

} // namespace

std::unique_ptr<NumberReaderBase> DataImport::createReader(const DataFileInfo& fileInfo)
{
  if (fileInfo.suffix == QLatin1String("csv"))
    return std::make_unique<CsvNumberReader>(fileInfo);
  if (fileInfo.suffix == QLatin1String("txt"))
    return std::make_unique<NumberReaderBase>(fileInfo);
  return nullptr;
}

DataImport::Status DataImport::fail(const QString& title, const QString& text)
{
  boxes.append(Message{Critical, title, text});
  cols.clear();
  texts.clear();
  names.clear();
  result = Failed;
  return result;
}

DataImport::Status DataImport::run(const DataFileInfo& fileInfo, const ImportDialog& dialog)
{
  boxes.clear();
  cols.clear();
  texts.clear();
  names.clear();
  info = fileInfo;
  ignored = 0;
  x = -1;
  rowIndices = true;
  lowValue = highValue = 0.0;
  intervals = 0;

  const QString name = fileInfo.filePath();
  std::unique_ptr<NumberReaderBase> reader = createReader(fileInfo);
  if (!reader) {
    return fail(fileParser(),
                tr("Cannot read \"%1\": only files with the suffix \"csv\" or \"txt\" can be "
                   "read.")
                    .arg(name));
  }
  reader->setValueLimit(valueLimit);
  if (!reader->isOpen())
    return fail(fileParser(), tr("Cannot open \"%1\": %2.").arg(name, reader->errorString()));
  if (reader->lastProblem() != NumberReaderBase::NoProblem)
    return fail(fileParser(), tr("Cannot read \"%1\": %2.").arg(name, reader->errorString()));

  if (fileInfo.showImportDialog && dialog && !dialog(*reader)) {
    result = Cancelled;
    return result;
  }

  const int n = reader->detectColumns(3);
  if (reader->lastProblem() != NumberReaderBase::NoProblem)
    return fail(fileParser(), tr("Cannot read \"%1\": %2.").arg(name, reader->errorString()));
  if (n < 0)
    return fail(fileParser(), tr("Could not detect number of columns in file."));

  ignored = reader->read(cols);
  if (reader->lastProblem() != NumberReaderBase::NoProblem)
    return fail(fileParser(), tr("Cannot read \"%1\": %2.").arg(name, reader->errorString()));
  texts = reader->textColumns();
  names = reader->columnNames();
  const int k = static_cast<int>(cols.size());
  const int numericCount = k - static_cast<int>(texts.size());
  x = fileInfo.xColumn >= 0 && fileInfo.xColumn < k ? fileInfo.xColumn : -1;
  // Every row has a value in each column that is not text.
  const auto numeric = std::find_if(cols.begin(), cols.end(),
                                    [](const NumberReaderBase::Column& c) { return !c.empty(); });

  if (k == 0 || numeric == cols.end())
    return fail(fileParser(), tr("Data file is empty or error occurred while reading file."));
  if (numeric->size() < 2)
    return fail(fileParser(), tr("Data was not parsed correctly or file is empty."));
  QStringList notes;
  if (ignored > 0) {
    notes << tr("Ignoring %1 %2 that could not be read from file or contains a text.")
                 .arg(ignored)
                 .arg(ignored == 1 ? tr("line") : tr("lines"));
  }
  if (!texts.empty()) {
    QStringList numbers;
    for (int c : texts)
      numbers << QString::number(c);
    notes << (texts.size() == 1 ? tr("Ignoring column %1 (text).")
                                : tr("Ignoring columns %1 (text)."))
                 .arg(numbers.join(QStringLiteral(", ")));
  }
  if (x >= 0 && isTextColumn(x)) {
    notes << tr("Column %1 holds text, not numbers: the rows are numbered for X instead.").arg(x);
    x = -1;
  }
  if (!notes.isEmpty())
    boxes.append(Message{Information, fileParser(), notes.join(QLatin1Char('\n'))});
  if (x >= 0) {
    const NumberReaderBase::Column& xs = cols[static_cast<size_t>(x)];
    if (std::adjacent_find(xs.begin(), xs.end(), std::greater<double>()) != xs.end()) {
      return fail(tr("Input data"), tr("Invalid column selected for X axis - data is not sorted."));
    }
    // A single point is no interval to lay a partition on, and a span that
    // overflows cannot be cut into subintervals.
    if (numericCount >= 2 && xs.front() == xs.back()) {
      return fail(tr("Input data"),
                  tr("Invalid column selected for X axis - all its values are equal, so it "
                     "spans no interval."));
    }
    if (numericCount >= 2 && !DataHolders::domainRangeValid(xs.front(), xs.back())) {
      return fail(tr("Input data"),
                  tr("Invalid column selected for X axis - its values span a range too large "
                     "to compute with."));
    }
  }
  if (numeric->size() > static_cast<size_t>(DataHolders::maxNodeCount)) {
    return fail(fileParser(), tr("Cannot read \"%1\": the file holds more than %2 rows.")
                                  .arg(name)
                                  .arg(DataHolders::maxNodeCount));
  }

  info.decimalSeparator = reader->decimalSeparator();
  info.valueSeparator = reader->valueSeparator();

  const size_t rows = numeric->size();
  rowIndices = numericCount < 2 || x < 0;
  if (rowIndices) {
    lowValue = 0.0;
    highValue = static_cast<double>(rows - 1);
  } else {
    const NumberReaderBase::Column& xs = cols[static_cast<size_t>(x)];
    lowValue = xs.front();
    highValue = xs.back();
  }
  intervals = static_cast<int32_t>(rows - 1);
  result = Loaded;
  return result;
}

bool DataImport::isTextColumn(int column) const
{
  return std::binary_search(texts.begin(), texts.end(), column);
}

std::vector<int> DataImport::functionColumns() const
{
  std::vector<int> indices;
  for (int j = 0; j < static_cast<int>(cols.size()); ++j) {
    if (j != x && !isTextColumn(j))
      indices.push_back(j);
  }
  return indices;
}

QString DataImport::functionName(int index, int count)
{
  return count == 1 ? QStringLiteral("DataFile") : QStringLiteral("DataFile %1").arg(index + 1);
}

QString DataImport::functionLabel(int index) const
{
  const std::vector<int> columns = functionColumns();
  const QString name = functionName(index, static_cast<int>(columns.size()));
  if (index < 0 || index >= static_cast<int>(columns.size()))
    return name;
  const QString header = names.value(columns[static_cast<size_t>(index)]).trimmed();
  return header.isEmpty() ? name : name + QStringLiteral(" (") + header + QLatin1Char(')');
}

::Domains::EnumerationBase<double>* DataImport::createDomain() const
{
  QM_ASSERT(result == Loaded);
  if (rowIndices)
    return new ::Domains::Equidistant<double>(0.0, highValue, static_cast<unsigned>(intervals));
  return new ::Domains::EnumerationBase<double>(cols[static_cast<size_t>(x)], true);
}

std::vector<Fn::MathFn<double, double>*>
DataImport::createFunctions(const ::Domains::EnumerationBase<double>* domain) const
{
  QM_ASSERT(result == Loaded);
  std::vector<Fn::MathFn<double, double>*> functions;
  for (int j : functionColumns())
    functions.push_back(new Fn::MathFnTable<double, double>(domain, cols[static_cast<size_t>(j)]));
  return functions;
}

void DataImport::releaseColumns()
{
  Columns().swap(cols);
  texts.clear();
}
