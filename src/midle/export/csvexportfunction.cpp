#include "midle/export/csvexportfunction.h"

#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/export/outputfile.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <locale>
#include <sstream>

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
// process locale: a comma locale must not turn 0.5 into 0,5.
class NumberFormatter
{
public:
  explicit NumberFormatter(int significantDigits)
  {
    stream.imbue(std::locale::classic());
    stream.precision(significantDigits);
  }
  void append(std::string& out, double value)
  {
    stream.str(std::string());
    stream.clear();
    stream << value;
    out += stream.str();
  }

private:
  std::ostringstream stream;
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

template <typename Sink>
bool CsvExportFunction::produce(Sink& sink) const
{
  std::string buf;
  const std::string separator = sep.toStdString();
  const std::string valueSeparator = separator + " ";

  bool anyName = false;
  for (const Function* f : columns)
    anyName = anyName || !names.value(f).isEmpty();
  if (anyName) {
    if (withDomain)
      buf += "\"Domain\"" + separator;
    for (const Function* f : columns)
      buf += "\"" + names.value(f).toUtf8().toStdString() + "\"" + separator;
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
      number.append(buf, valueAt(f, r));
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
  const QString shown = QFileInfo(file).absoluteFilePath();
  auto fail = [&](const QString& reason) {
    error = QObject::tr("Cannot write \"%1\": %2").arg(shown, reason);
    return false;
  };
  if (file.isEmpty())
    return fail(QObject::tr("no file name given"));
  if (QFileInfo(file).isDir())
    return fail(QObject::tr("it is a directory"));

  OutputFile out(file);
  out.setWaitForReader(waitForReader);
  if (!out.open())
    return fail(out.errorString());
  DeviceSink sink{out.device()};
  if (!produce(sink)) {
    const QString reason = out.device()->errorString();
    out.cancel();
    return fail(reason);
  }
  if (!out.commit())
    return fail(out.errorString());
  return true;
}
