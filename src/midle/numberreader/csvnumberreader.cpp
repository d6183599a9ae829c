#include "midle/numberreader/csvnumberreader.h"

#include "midle/numberreader/fieldsplitter.h"
#include "midle/numberreader/linereader.h"

#include <QCoreApplication>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

bool isSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

QString tr(const char* text)
{
  return QCoreApplication::translate("NumberReaderBase", text);
}

} // namespace

CsvNumberReader::CsvNumberReader(const DataFileInfo& info) : NumberReaderBase(info) {}

CsvNumberReader::~CsvNumberReader() = default;

int CsvNumberReader::read(Columns& columns)
{
  columns.clear();
  textCols.clear();
  names.clear();
  if (!file.isOpen() || lastProblem() == UnsupportedEncoding)
    return 0;
  rewind();
  LineReader lines(input(), maxLineLength);
  const FieldSplitter splitter(separator);
  // An empty cell or one with text is held as NaN until it is known whether
  // its column holds numbers; numbers read from the file are always finite.
  const double missing = std::numeric_limits<double>::quiet_NaN();
  ColumnKinds kinds;
  std::vector<double> row;
  std::vector<char> rowText;
  std::string record;  // a record spread over several lines
  std::string scratch; // a field that held doubled quotes
  // The cells of a row before the first row of numbers, as text.
  QStringList cellTexts;
  int64_t recordLine = 0;
  int64_t lineNumber = 0;
  size_t width = 0;
  bool haveWidth = false;
  int64_t ignored = 0;
  int64_t values = 0;

  // One record. Open when it ends inside quotes (it goes on in the next
  // line); Stop when reading must end.
  enum Taken { Stop, Done, Open };
  auto take = [&](const char* b, const char* e) {
    row.clear();
    rowText.clear();
    cellTexts.clear();
    size_t cells = 0;
    size_t numbers = 0;
    bool text = false;
    const auto state = splitter.splitCsv(b, e, scratch, [&](const char* cb, const char* ce) {
      ++cells;
      // Cells beyond the first row's width are not stored, but a quote
      // opened there still carries the record on.
      if (haveWidth && cells > width)
        return true;
      while (cb != ce && isSpace(*cb))
        ++cb;
      while (ce != cb && isSpace(ce[-1]))
        --ce;
      if (values == 0)
        cellTexts << QString::fromUtf8(cb, static_cast<int>(ce - cb));
      double v;
      const bool number = cb != ce && toNumber(cb, ce, v);
      row.push_back(number ? v : missing);
      rowText.push_back(cb != ce && !number);
      numbers += number;
      text = text || (cb != ce && !number);
      // Keep counting cells of the first row: it still sets the width.
      return haveWidth || cells <= static_cast<size_t>(maxColumns);
    });
    if (state == FieldSplitter::OpenQuote)
      return Open;
    if (numbers == 0 && !text)
      return Done; // an empty row
    if (!haveWidth) {
      width = row.size();
      if (width > static_cast<size_t>(maxColumns)) {
        setProblem(TooManyColumns, tr("a line holds more than %1 cells").arg(maxColumns));
        columns.clear();
        return Stop;
      }
      haveWidth = true;
      columns.assign(width, Column());
      kinds.number.assign(width, 0);
      kinds.text.assign(width, 0);
    }
    if (numbers == 0) {
      ++ignored; // a header or another line of text
      if (values == 0 && cellTexts.size() == static_cast<int>(width))
        names = cellTexts;
      return Done;
    }
    if (values + static_cast<int64_t>(width) > valueLimit) {
      setProblem(TooManyValues, tr("the file holds more than %1 numbers").arg(valueLimit));
      columns.clear();
      return Stop;
    }
    values += static_cast<int64_t>(width);
    row.resize(width, missing);
    rowText.resize(width, 0);
    for (size_t j = 0; j < width; ++j) {
      kinds.number[j] |= !std::isnan(row[j]);
      kinds.text[j] |= rowText[j];
      columns[j].push_back(row[j]);
    }
    return Done;
  };

  const char* b;
  const char* e;
  bool overlong;
  bool inRecord = false;
  while (lines.next(b, e, overlong)) {
    ++lineNumber;
    if (overlong && !inRecord) {
      ++ignored;
      continue;
    }
    // A line is text up to its first zero byte.
    if (const void* nul = std::memchr(b, '\0', static_cast<size_t>(e - b)))
      e = static_cast<const char*>(nul);
    if (!inRecord) {
      const Taken taken = take(b, e);
      if (taken == Stop)
        return clampCount(ignored);
      if (taken == Open) {
        record.assign(b, e);
        recordLine = lineNumber;
        inRecord = true;
      }
      continue;
    }
    // Inside quotes the line break is data.
    record += '\n';
    record.append(b, e);
    if (overlong || record.size() > static_cast<size_t>(maxLineLength)) {
      setProblem(UnterminatedQuote,
                 tr("the quoted field that begins on line %1 runs on for more than %2 MB")
                     .arg(recordLine)
                     .arg(maxLineLength >> 20));
      columns.clear();
      return clampCount(ignored);
    }
    const Taken taken = take(record.data(), record.data() + record.size());
    if (taken == Stop)
      return clampCount(ignored);
    inRecord = taken == Open;
  }
  if (lines.failed()) {
    setProblem(ReadFailed, input()->errorString());
    columns.clear();
    return clampCount(ignored);
  }
  if (inRecord) {
    setProblem(UnterminatedQuote,
               tr("the quote that opens a field on line %1 is never closed").arg(recordLine));
    columns.clear();
    return clampCount(ignored);
  }
  // The names follow the columns that empty ones leave behind.
  if (!names.isEmpty()) {
    QStringList kept;
    for (size_t j = 0; j < width; ++j)
      if (kinds.number[j] || kinds.text[j])
        kept << names.at(static_cast<int>(j));
    names = kept;
  }
  const int result = finishColumns(columns, kinds, true, ignored);
  columnCount = static_cast<int32_t>(columns.size());
  return result;
}
