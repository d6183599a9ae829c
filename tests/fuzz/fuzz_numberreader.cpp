// Data files as a user may open them, through the same import as the window
// and the batch tool. The first byte picks the reader (csv or txt), the x
// column (none, 0, 1 or 2) and the value separator: one of those the dialog,
// the tool and old sessions give, or one taken from the input. The rest is
// the file. What a loaded file promises is checked: equal finite columns and
// an ascending domain.
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

const char* const separators[] = {"",  ";", ",", "\t", " ",  "|",  ":",        ".",
                                  "-", "e", "0", ";;", ", ", "\r", "\xc2\xa0", "\xef\xbb\xbf"};

void check(bool promise)
{
  if (!promise)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static QTemporaryDir dir;
  if (size < 1)
    return 0;
  const uint8_t head = data[0];
  ++data;
  --size;
  const bool csv = head & 1;
  const int xColumn = int((head >> 1) & 3) - 1;
  const int choice = head >> 3;
  QString separator;
  if (choice < 16) {
    separator = QString::fromUtf8(separators[choice]);
  } else {
    const size_t length = size > 0 ? std::min<size_t>(data[0] & 15, size - 1) : 0;
    separator = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, int(length));
    data += size > 0 ? length + 1 : 0;
    size -= size > 0 ? length + 1 : 0;
  }

  const QString path = dir.filePath(csv ? "data.csv" : "data.txt");
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
      std::abort();
  }
  DataFileInfo info(QFile::encodeName(path), false, xColumn);
  info.valueSeparator = separator;
  DataImport import;
  if (import.run(info) != DataImport::Loaded)
    return 0;

  std::unique_ptr<Domains::EnumerationBase<double>> domain(import.createDomain());
  const std::vector<double>& xs = domain->values();
  check(xs.size() == size_t(import.count()) + 1);
  check(xs.front() == import.low() && xs.back() == import.high());
  for (size_t i = 1; i < xs.size(); ++i)
    check(xs[i - 1] <= xs[i]);
  for (Fn::MathFn<double, double>* fn : import.createFunctions(domain.get())) {
    std::unique_ptr<Fn::MathFn<double, double>> owned(fn);
    for (size_t i = 0; i < xs.size(); ++i)
      check(std::isfinite(fn->valueAtIndex(i)));
  }
  return 0;
}
