#include "midle/numberreader/linereader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr int chunkSize = 1 << 20;
}

LineReader::LineReader(QIODevice* dev, int maxLineLength)
    : device(dev), maxLength(maxLineLength), checkBom(dev->pos() == 0)
{
  buffer.resize(chunkSize);
}

// Moves the unread bytes to the front and appends the next chunk.
// False when nothing more can be read.
bool LineReader::fill()
{
  if (atEnd)
    return false;
  if (start > 0) {
    std::memmove(buffer.data(), buffer.constData() + start, static_cast<size_t>(filled - start));
    filled -= start;
    start = 0;
  }
  if (buffer.size() - filled < chunkSize)
    buffer.resize(filled + chunkSize);
  const qint64 got = device->read(buffer.data() + filled, chunkSize);
  if (got <= 0) {
    atEnd = true;
    readFailed = got < 0;
    return false;
  }
  filled += static_cast<int>(got);
  return true;
}

bool LineReader::next(const char*& begin, const char*& end, bool& overlong)
{
  overlong = false;
  if (checkBom) {
    while (filled - start < 3 && fill()) {
    }
    if (filled - start >= 3 && std::memcmp(buffer.constData() + start, "\xEF\xBB\xBF", 3) == 0)
      start += 3;
    checkBom = false;
  }
  int scanned = 0; // bytes of the current line already searched for a terminator
  for (;;) {
    if (skipLf && start < filled) {
      if (buffer.at(start) == '\n')
        ++start;
      skipLf = false;
    }
    const char* data = buffer.constData();
    const char* from = data + start + scanned;
    const char* stop = data + filled;
    const char* p = from;
    while (p != stop && *p != '\n' && *p != '\r')
      ++p;
    if (p != stop) {
      begin = data + start;
      end = p;
      skipLf = *p == '\r';
      start = static_cast<int>(p - data) + 1;
      return true;
    }
    scanned = filled - start;
    if (scanned > maxLength) {
      // Drop what is buffered; the rest of the line is skipped below.
      overlong = true;
      start = filled;
      scanned = 0;
      for (;;) {
        if (!fill()) {
          begin = end = buffer.constData();
          return true;
        }
        const char* b = buffer.constData() + start;
        const char* e = buffer.constData() + filled;
        const char* q = b;
        while (q != e && *q != '\n' && *q != '\r')
          ++q;
        if (q != e) {
          skipLf = *q == '\r';
          start = static_cast<int>(q - buffer.constData()) + 1;
          begin = end = buffer.constData();
          return true;
        }
        start = filled;
      }
    }
    if (!fill()) {
      if (start >= filled)
        return false;
      // Last line without a terminator.
      begin = buffer.constData() + start;
      end = buffer.constData() + filled;
      start = filled;
      return true;
    }
  }
}
