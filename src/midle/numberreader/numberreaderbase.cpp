#include "midle/numberreader/numberreaderbase.h"

#include "math/policy/assertion.h"
#include "midle/numberreader/fieldsplitter.h"
#include "midle/numberreader/linereader.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
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

QString tr(const char* text)
{
  return QCoreApplication::translate("NumberReaderBase", text);
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
    if (file.open(QIODevice::ReadOnly))
      stream.setDevice(&file);
    else
      setProblem(CannotOpen, file.errorString());
  }
  savedLocale = QLocale();
  QLocale::setDefault(QLocale(QLocale::Czech));
}

NumberReaderBase::~NumberReaderBase()
{
  QLocale::setDefault(savedLocale);
}

void NumberReaderBase::setProblem(Problem p, const QString& text)
{
  problem = p;
  error = text;
}

bool NumberReaderBase::toNumber(const char* begin, const char* end, double& value)
{
  bool finite = false;
  if (plainNumber(begin, end, value, finite))
    return finite;
  const QString text = QString::fromUtf8(begin, static_cast<int>(end - begin));
  static const QLocale czech(QLocale::Czech);
  static const QLocale posix(QLocale::C);
  bool ok = false;
  value = czech.toDouble(text, &ok);
  if (!ok)
    value = posix.toDouble(text, &ok);
  return ok && std::isfinite(value);
}

bool NumberReaderBase::lineNumbers(const FieldSplitter& splitter, const char* begin,
                                   const char* end, std::vector<double>& values, size_t limit) const
{
  values.clear();
  return splitter.split(begin, end, [&](const char* b, const char* e) {
    double v;
    if (!toNumber(b, e, v))
      return false;
    values.push_back(v);
    return values.size() <= limit;
  });
}

void NumberReaderBase::rewind(QTextStream& textStream)
{
  if (!textStream.seek(0))
    Policy::assertionFailed("stream.seek(0)", __FILE__, __LINE__);
}

void NumberReaderBase::skipHeader(QTextStream&) {}

int NumberReaderBase::detectColumns(int lineToDetect)
{
  QM_ASSERT(lineToDetect >= 0);
  if (!file.isOpen())
    return -1;
  rewind(stream);
  file.seek(0);
  LineReader lines(&file, maxLineLength);
  const char* b;
  const char* e;
  bool overlong;
  for (int i = 0; i < lineToDetect; ++i) {
    if (!lines.next(b, e, overlong))
      return -1;
  }
  if (!lines.next(b, e, overlong)) {
    if (lines.failed())
      setProblem(ReadFailed, file.errorString());
    return -1;
  }
  const FieldSplitter splitter(separator);
  std::vector<double> values;
  if (!overlong)
    lineNumbers(splitter, b, e, values, maxColumns);
  if (values.size() > static_cast<size_t>(maxColumns)) {
    setProblem(TooManyColumns, tr("a line holds more than %1 numbers").arg(maxColumns));
    return -1;
  }
  columnCount = static_cast<int32_t>(values.size());
  return columnCount;
}

int NumberReaderBase::read(Columns& columns)
{
  if (!file.isOpen()) {
    columns.clear();
    return 0;
  }
  rewind(stream);
  skipHeader(stream);
  return readData(stream, columns);
}

int NumberReaderBase::readData(QTextStream& textStream, Columns& columns)
{
  columns.assign(static_cast<size_t>(std::max(columnCount, 0)), Column());
  QIODevice* device = textStream.device();
  if (!device)
    return 0;
  // The text stream may have buffered ahead of what a header step consumed.
  device->seek(textStream.pos());
  LineReader lines(device, maxLineLength);
  const FieldSplitter splitter(separator);
  const size_t width = columns.size();
  const int64_t maxRows = width ? valueLimit / static_cast<int64_t>(width) : 0;
  std::vector<double> values;
  values.reserve(width + 1);
  int64_t ignored = 0;
  int64_t rows = 0;
  const char* b;
  const char* e;
  bool overlong;
  while (lines.next(b, e, overlong)) {
    if (overlong || width == 0 || !lineNumbers(splitter, b, e, values, width) ||
        values.size() != width) {
      ++ignored;
      continue;
    }
    if (rows == maxRows) {
      setProblem(TooManyValues, tr("the file holds more than %1 numbers").arg(valueLimit));
      return clampCount(ignored);
    }
    for (size_t j = 0; j < width; ++j)
      columns[j].push_back(values[j]);
    ++rows;
  }
  if (lines.failed())
    setProblem(ReadFailed, device->errorString());
  return clampCount(ignored);
}

int NumberReaderBase::clampCount(int64_t count)
{
  return static_cast<int>(std::min<int64_t>(count, std::numeric_limits<int>::max()));
}
