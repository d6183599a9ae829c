#include "midle/numberreader/numberreaderbase.h"

#include "math/policy/assertion.h"
#include "midle/numberreader/fieldsplitter.h"
#include "midle/numberreader/linereader.h"
#include "midle/numberreader/utf16device.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool isDigit(char c)
{
  return c >= '0' && c <= '9';
}

// The common shapes "-12", "3,25", "1.5e-3": both locale rules read them the
// same way (a comma only as the Czech decimal mark, a dot only as the POSIX
// one), so they are converted directly. Returns false when the field has
// another shape and must go through QLocale.
bool plainNumber(const char* b, const char* e, double& value, bool& finite)
{
  char text[64];
  if (e - b >= static_cast<ptrdiff_t>(sizeof text))
    return false;
  const char* p = b;
  char* out = text;
  if (p != e && (*p == '-' || *p == '+')) {
    if (*p == '-')
      *out++ = '-';
    ++p;
  }
  const char* digits = p;
  while (p != e && isDigit(*p))
    *out++ = *p++;
  if (p == digits)
    return false;
  if (p != e && (*p == '.' || *p == ',')) {
    *out++ = '.';
    const char* fraction = ++p;
    while (p != e && isDigit(*p))
      *out++ = *p++;
    if (p == fraction)
      return false;
  }
  if (p != e && (*p == 'e' || *p == 'E')) {
    *out++ = *p++;
    if (p != e && (*p == '-' || *p == '+'))
      *out++ = *p++;
    const char* exponent = p;
    while (p != e && isDigit(*p))
      *out++ = *p++;
    if (p == exponent)
      return false;
  }
  if (p != e)
    return false;
  const auto result = std::from_chars(text, out, value);
  finite = result.ec == std::errc() && std::isfinite(value);
  return true;
}

// True for a field that neither locale can read as a number, decided on its
// ASCII bytes alone: a letter outside "e", "inf" and "nan", punctuation, or
// a sign that is neither first nor right after the exponent mark. Dates and
// labels in every row then cost a scan, not two locale conversions.
bool surelyText(const char* b, const char* e)
{
  const char* first = b;
  while (first != e && (*first == ' ' || *first == '\t'))
    ++first;
  for (const char* p = b; p != e; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c >= 0x80 || isDigit(char(c)) || c == '.' || c == ',' || c == ' ' || c == '\t')
      continue;
    if (c == '+' || c == '-') {
      if (p != first && p[-1] != 'e' && p[-1] != 'E')
        return true;
      continue;
    }
    if (!std::strchr("eEiInNfFaAtTyY", c) || c == 0)
      return true;
  }
  return false;
}

QString tr(const char* text)
{
  return QCoreApplication::translate("NumberReaderBase", text);
}

// UTF-16 text without a byte-order mark has a zero byte beside nearly every
// ASCII character, all on the same side; read as UTF-8 it would give wrong
// numbers, not an error.
bool looksLikeUnmarkedUtf16(const QByteArray& head)
{
  if (head.size() < 16)
    return false;
  int even = 0, odd = 0;
  for (int i = 0; i < head.size(); ++i)
    if (head.at(i) == '\0')
      ++(i % 2 ? odd : even);
  const int zeros = even + odd;
  return zeros * 3 >= head.size() && (even == 0 || odd == 0);
}

} // namespace

NumberReaderBase::NumberReaderBase(const DataFileInfo& info)
    : fileName(info.dataFile), decimalComma(info.decimalSeparator),
      separator(info.valueSeparator.isEmpty() ? QStringLiteral(" ") : info.valueSeparator)
{
  const QString path = info.filePath();
  const QFileInfo fi(path);
  if (path.isEmpty()) {
    setProblem(CannotOpen, tr("no file name is given"));
  } else if (!fi.exists()) {
    setProblem(CannotOpen, tr("the file does not exist"));
  } else if (fi.isDir()) {
    setProblem(CannotOpen, tr("it is a directory"));
  } else if (!fi.isFile()) {
    // Devices and pipes may never end or block.
    setProblem(CannotOpen, tr("it is not a regular file"));
  } else {
    // Not in text mode: Qt's text mode would drop every CR and glue the
    // values around a lone one; line ends are handled by LineReader.
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly)) {
      const Utf16Device::Encoding encoding = Utf16Device::sniff(file);
      if (encoding != Utf16Device::Utf8) {
        decoded = std::make_unique<Utf16Device>(&file, encoding);
        decoded->open(QIODevice::ReadOnly);
      } else if (looksLikeUnmarkedUtf16(file.peek(4096))) {
        setProblem(UnsupportedEncoding,
                   tr("it looks like UTF-16 text without a byte-order mark; save it as UTF-8, "
                      "or as UTF-16 with a byte-order mark"));
      }
    } else {
      setProblem(CannotOpen, file.errorString());
    }
  }
}

NumberReaderBase::~NumberReaderBase() = default;

void NumberReaderBase::setProblem(Problem p, const QString& text)
{
  problem = p;
  error = text;
}

QIODevice* NumberReaderBase::input()
{
  return decoded ? static_cast<QIODevice*>(decoded.get()) : &file;
}

bool NumberReaderBase::toNumber(const char* begin, const char* end, double& value)
{
  bool finite = false;
  if (plainNumber(begin, end, value, finite))
    return finite;
  if (surelyText(begin, end))
    return false;
  const QString text = QString::fromUtf8(begin, static_cast<int>(end - begin));
  static const QLocale czech(QLocale::Czech);
  static const QLocale posix(QLocale::C);
  bool ok = false;
  value = czech.toDouble(text, &ok);
  if (!ok)
    value = posix.toDouble(text, &ok);
  return ok && std::isfinite(value);
}

void NumberReaderBase::rewind()
{
  if (!input()->seek(0))
    Policy::assertionFailed("input()->seek(0)", __FILE__, __LINE__);
}

int NumberReaderBase::detectColumns(int lineToDetect)
{
  QM_ASSERT(lineToDetect >= 0);
  if (!file.isOpen() || problem == UnsupportedEncoding)
    return -1;
  rewind();
  LineReader lines(input(), maxLineLength);
  const char* b;
  const char* e;
  bool overlong;
  for (int i = 0; i < lineToDetect; ++i) {
    if (!lines.next(b, e, overlong))
      return -1;
  }
  if (!lines.next(b, e, overlong)) {
    if (lines.failed())
      setProblem(ReadFailed, input()->errorString());
    return -1;
  }
  // Every field counts, text too: a date or label column keeps its number.
  int fields = 0;
  if (!overlong)
    FieldSplitter(separator).split(
        b, e, [&](const char*, const char*) { return ++fields <= maxColumns; });
  if (fields > maxColumns) {
    setProblem(TooManyColumns, tr("a line holds more than %1 fields").arg(maxColumns));
    return -1;
  }
  columnCount = fields;
  return columnCount;
}

int NumberReaderBase::read(Columns& columns)
{
  textCols.clear();
  names.clear();
  if (!file.isOpen() || problem == UnsupportedEncoding) {
    columns.clear();
    return 0;
  }
  rewind();
  return readRows(columns);
}

int NumberReaderBase::readRows(Columns& columns)
{
  textCols.clear();
  columns.assign(static_cast<size_t>(std::max(columnCount, 0)), Column());
  LineReader lines(input(), maxLineLength);
  const FieldSplitter splitter(separator);
  const size_t width = columns.size();
  const int64_t maxRows = width ? valueLimit / static_cast<int64_t>(width) : 0;
  const double text = std::numeric_limits<double>::quiet_NaN();
  ColumnKinds kinds{std::vector<char>(width, 0), std::vector<char>(width, 0)};
  std::vector<double> values(width);
  int64_t ignored = 0;
  int64_t rows = 0;
  const char* b;
  const char* e;
  bool overlong;
  while (lines.next(b, e, overlong)) {
    size_t fields = 0;
    size_t numbers = 0;
    if (!overlong && width > 0) {
      splitter.split(b, e, [&](const char* fb, const char* fe) {
        if (fields == width) {
          ++fields; // one too many: the line is ignored
          return false;
        }
        double v;
        if (toNumber(fb, fe, v)) {
          values[fields] = v;
          ++numbers;
        } else {
          values[fields] = text;
        }
        ++fields;
        return true;
      });
    }
    // Lines of another width, and lines without any number (headers).
    if (fields != width || numbers == 0) {
      if (rows == 0 && fields == width && width > 0) {
        names.clear();
        splitter.split(b, e, [this](const char* fb, const char* fe) {
          names << QString::fromUtf8(fb, static_cast<int>(fe - fb));
          return true;
        });
      }
      ++ignored;
      continue;
    }
    if (rows == maxRows) {
      setProblem(TooManyValues, tr("the file holds more than %1 numbers").arg(valueLimit));
      return clampCount(ignored);
    }
    for (size_t j = 0; j < width; ++j) {
      const bool number = !std::isnan(values[j]);
      kinds.number[j] |= number;
      kinds.text[j] |= !number;
      columns[j].push_back(values[j]);
    }
    ++rows;
  }
  if (lines.failed())
    setProblem(ReadFailed, input()->errorString());
  return finishColumns(columns, kinds, false, ignored);
}

int NumberReaderBase::finishColumns(Columns& columns, const ColumnKinds& kinds, bool dropEmpty,
                                    int64_t ignored)
{
  textCols.clear();
  // From the highest index down, so the indices of those still to come hold.
  for (size_t j = columns.size(); j-- > 0;) {
    if (kinds.number[j])
      continue;
    if (dropEmpty && !kinds.text[j])
      columns.erase(columns.begin() + static_cast<ptrdiff_t>(j));
    else
      Column().swap(columns[j]);
  }
  std::vector<size_t> numeric;
  for (size_t j = 0; j < columns.size(); ++j) {
    if (columns[j].empty())
      textCols.push_back(static_cast<int>(j));
    else
      numeric.push_back(j);
  }
  // A row lacking a number in a column that has numbers is skipped.
  const size_t rows = numeric.empty() ? 0 : columns[numeric.front()].size();
  size_t kept = 0;
  for (size_t i = 0; i < rows; ++i) {
    bool complete = true;
    for (size_t j : numeric)
      complete = complete && !std::isnan(columns[j][i]);
    if (!complete) {
      ++ignored;
      continue;
    }
    if (kept != i)
      for (size_t j : numeric)
        columns[j][kept] = columns[j][i];
    ++kept;
  }
  for (size_t j : numeric)
    columns[j].resize(kept);
  if (kept == 0) {
    columns.clear();
    textCols.clear();
  }
  return clampCount(ignored);
}

int NumberReaderBase::clampCount(int64_t count)
{
  return static_cast<int>(std::min<int64_t>(count, std::numeric_limits<int>::max()));
}
