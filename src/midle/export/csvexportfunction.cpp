#include "midle/export/csvexportfunction.h"

#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/export/replacefile.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using Function = ExportFunctionBase::Function;

std::size_t pointCount(const Function* f)
{
  return f->domain()->size();
}
double pointAt(const Function* f, std::size_t r)
{
  return f->domain()->values()[r];
}
double valueAt(const Function* f, std::size_t r)
{
  return f->valueAtIndex(r);
}

// Formats numbers the way a default C++ stream does ("%g"), never through the
// process locale: a comma locale must not turn 0.5 into 0,5. std::to_chars
// gives the same text as printf in the C locale, several times faster.
class NumberFormatter
{
public:
  explicit NumberFormatter(int significantDigits) : digits(significantDigits) {}
  void append(std::string& out, double value)
  {
    // 0/0 comes out as "-nan" on this hardware; the sign of a NaN means nothing.
    if (std::isnan(value)) {
      out += "nan";
      return;
    }
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits).ptr;
    out.append(text, end);
  }

private:
  int digits;
};

struct ByteArraySink
{
  QByteArray data;
  bool operator()(const std::string& chunk)
  {
    data.append(chunk.data(), static_cast<int>(chunk.size()));
    return true;
  }
};

struct DeviceSink
{
  QIODevice* file;
  bool operator()(const std::string& chunk)
  {
    return file->write(chunk.data(), static_cast<qint64>(chunk.size())) ==
           static_cast<qint64>(chunk.size());
  }
};

constexpr std::size_t flushSize = 1 << 20;

} // namespace

std::string CsvExportFunction::formatNumber(double value, int significantDigits)
{
  std::string out;
  NumberFormatter(significantDigits).append(out, value);
  return out;
}

void CsvExportFunction::setTable(const QStringList& header, const QList<QStringList>& rows)
{
  tableHeader = header;
  tableRows = rows;
}

template <typename Sink>
bool CsvExportFunction::produceTable(Sink& sink) const
{
  const std::string separator = sep.toStdString();
  std::string buf;
  for (const QString& name : tableHeader)
    buf += "\"" + name.toUtf8().toStdString() + "\"" + separator;
  buf += '\n';
  const QString valueSeparator = sep + QLatin1Char(' ');
  for (const QStringList& row : tableRows) {
    // A line break inside a cell (a name) would start a new row.
    QString line = row.join(valueSeparator);
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    buf += line.toUtf8().toStdString();
    buf += '\n';
    if (buf.size() >= flushSize) {
      if (!sink(buf))
        return false;
      buf.clear();
    }
  }
  return sink(buf);
}

template <typename Sink>
bool CsvExportFunction::produce(Sink& sink) const
{
  if (!tableHeader.isEmpty())
    return produceTable(sink);
  std::string buf;
  const std::string separator = sep.toStdString();
  const std::string valueSeparator = separator + " ";

  QStringList titles;
  for (int c = 0; c < columns.size(); ++c)
    titles << (pointColumns[c] ? pointNames : names).value(columns[c]);
  bool anyName = false;
  for (const QString& title : qAsConst(titles))
    anyName = anyName || !title.isEmpty();
  if (anyName) {
    if (withDomain)
      buf += "\"Domain\"" + separator;
    for (const QString& title : qAsConst(titles))
      buf += "\"" + title.toUtf8().toStdString() + "\"" + separator;
  }
  buf += '\n';

  std::vector<std::size_t> sizes;
  std::size_t rows = 0;
  for (const Function* f : columns) {
    sizes.push_back(pointCount(f));
    rows = std::max(rows, sizes.back());
  }

  NumberFormatter number(digits);
  const int last = columns.size() - 1;
  for (std::size_t r = 0; r < rows; ++r) {
    for (int c = 0; c <= last; ++c) {
      const Function* f = columns[c];
      if (r >= sizes[c]) {
        // A column that has run out keeps its place with the bare separator.
        buf += separator;
        continue;
      }
      if (withDomain && c == 0) {
        number.append(buf, pointAt(f, r));
        buf += valueSeparator;
      }
      number.append(buf, pointColumns[c] ? pointAt(f, r) : valueAt(f, r));
      if (c != last)
        buf += valueSeparator;
    }
    buf += '\n';
    if (buf.size() >= flushSize) {
      if (!sink(buf))
        return false;
      buf.clear();
    }
  }
  return sink(buf);
}

QByteArray CsvExportFunction::content() const
{
  ByteArraySink sink;
  produce(sink);
  return sink.data;
}

bool CsvExportFunction::writeTo(QIODevice& device)
{
  error.clear();
  DeviceSink sink{&device};
  if (produce(sink))
    return true;
  error = device.errorString();
  return false;
}

bool CsvExportFunction::write()
{
  error.clear();
  return replaceFile(
      file,
      [this](QIODevice& device, QString&) {
        DeviceSink sink{&device};
        return produce(sink);
      },
      error, waitForReader);
}
