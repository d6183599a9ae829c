// Session files as a user may open them: old, hand-edited or damaged INI
// text. The validator reads a path, so each input is written to a file of
// its own (QSettings keeps parsed files by name and time stamp). What a
// valid session promises the window is checked.
#include "midle/session/sessionvalidator.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool promise)
{
  if (!promise)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static QTemporaryDir dir;
  static quint64 serial = 0;
  const QString path = dir.filePath(QStringLiteral("s%1.qms").arg(++serial));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
      std::abort();
  }
  SessionValidator validator(path, SessionValidator::Fallback());
  const bool valid = validator.validate();
  QFile::remove(path);
  if (!valid) {
    check(!validator.reason().isEmpty());
    return 0;
  }
  const SessionContents& c = validator.contents();
  check(c.selectorCount >= 1 && c.selectorCount <= SessionValidator::maxSelectors);
  check(std::isfinite(c.zoom) && c.zoom <= SessionValidator::maxZoom);
  check(c.nodes.empty() ||
        (c.nodes.size() >= 2 && int(c.nodes.size()) <= SessionValidator::maxNodes));
  for (double node : c.nodes)
    check(std::isfinite(node));
  check(!c.hasFixedPoint || std::isfinite(c.fixedPoint));
  check(c.valueSeparator.size() <= SessionValidator::maxSeparatorLength);
  return 0;
}
