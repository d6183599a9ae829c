#include "midle/numberreader/csvnumberreader.h"

#include "midle/numberreader/fieldsplitter.h"
#include "midle/numberreader/linereader.h"

#include <QCoreApplication>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool isSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
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
  if (!file.isOpen())
    return 0;
  rewind(stream);
  file.seek(0);
  LineReader lines(&file, maxLineLength);
  const FieldSplitter splitter(separator);
  // An empty or missing cell is held as NaN until it is known whether its
  // column is kept; numbers read from the file are always finite.
  const double missing = std::numeric_limits<double>::quiet_NaN();
  std::vector<char> columnUsed;
  std::vector<double> row;
  size_t width = 0;
  bool haveWidth = false;
  int64_t ignored = 0;
  int64_t values = 0;
  const char* b;
  const char* e;
  bool overlong;
  while (lines.next(b, e, overlong)) {
    if (overlong) {
      ++ignored;
      continue;
    }
    // A line is text up to its first zero byte.
    if (const void* nul = std::memchr(b, '\0', static_cast<size_t>(e - b)))
      e = static_cast<const char*>(nul);
    row.clear();
    size_t cells = 0;
    bool allEmpty = true;
    bool text = false;
    splitter.split(b, e, [&](const char* cb, const char* ce) {
      while (cb != ce && isSpace(*cb))
        ++cb;
      while (ce != cb && isSpace(ce[-1]))
        --ce;
      ++cells;
      if (haveWidth && cells > width)
        return false; // cells beyond the first row's width are not stored
      if (cb == ce) {
        row.push_back(missing);
        return true;
      }
      allEmpty = false;
      double v;
      if (!toNumber(cb, ce, v)) {
        text = true;
        // Keep counting cells of the first row: it still sets the width.
        row.push_back(missing);
        return haveWidth ? false : cells <= static_cast<size_t>(maxColumns);
      }
      row.push_back(v);
      return haveWidth || cells <= static_cast<size_t>(maxColumns);
    });
    if (allEmpty && !text)
      continue;
    if (!haveWidth) {
      width = row.size();
      if (width > static_cast<size_t>(maxColumns)) {
        setProblem(TooManyColumns, tr("a line holds more than %1 cells").arg(maxColumns));
        return 0;
      }
      haveWidth = true;
      columns.assign(width, Column());
      columnUsed.assign(width, 0);
    }
    if (text) {
      ++ignored;
      continue;
    }
    if (values + static_cast<int64_t>(width) > valueLimit) {
      setProblem(TooManyValues, tr("the file holds more than %1 numbers").arg(valueLimit));
      columns.clear();
      return clampCount(ignored);
    }
    values += static_cast<int64_t>(width);
    row.resize(width, missing);
    for (size_t j = 0; j < width; ++j) {
      if (!std::isnan(row[j]))
        columnUsed[j] = 1;
      columns[j].push_back(row[j]);
    }
  }
  if (lines.failed())
    setProblem(ReadFailed, file.errorString());

  // Drop the columns that are empty everywhere, from the highest index down.
  for (size_t j = width; j-- > 0;) {
    if (!columnUsed[j])
      columns.erase(columns.begin() + static_cast<ptrdiff_t>(j));
  }
  // A row lacking a cell of a kept column is skipped as well.
  const size_t rows = columns.empty() ? 0 : columns.front().size();
  size_t kept = 0;
  for (size_t i = 0; i < rows; ++i) {
    bool complete = true;
    for (const Column& c : columns)
      complete = complete && !std::isnan(c[i]);
    if (!complete) {
      ++ignored;
      continue;
    }
    for (Column& c : columns)
      c[kept] = c[i];
    ++kept;
  }
  for (Column& c : columns)
    c.resize(kept);
  if (kept == 0)
    columns.clear();
  columnCount = static_cast<int32_t>(columns.size());
  return clampCount(ignored);
}
