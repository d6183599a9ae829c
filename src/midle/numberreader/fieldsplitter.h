#ifndef QUELMORA_FIELDSPLITTER_H
#define QUELMORA_FIELDSPLITTER_H

#include <QByteArray>
#include <QString>

#include <cstring>

// Splits a raw line into fields at a value separator, skipping empty parts.
// A separator that is empty after trimming means white space (a tab or a
// space). Any other separator is matched literally, byte for byte: a
// separator restored from a session is data, never a pattern.
class FieldSplitter
{
public:
  explicit FieldSplitter(const QString& separator)
      : whiteSpace(separator.trimmed().isEmpty()), literal(separator.toUtf8())
  {
  }

  bool splitsAtWhiteSpace() const { return whiteSpace; }

  // Calls f(begin, end) for every non-empty field in order; stops early and
  // returns false as soon as f returns false.
  template <typename F>
  bool split(const char* begin, const char* end, F&& f) const
  {
    if (whiteSpace) {
      const char* p = begin;
      while (p != end) {
        while (p != end && (*p == ' ' || *p == '\t'))
          ++p;
        if (p == end)
          break;
        const char* q = p;
        while (q != end && *q != ' ' && *q != '\t')
          ++q;
        if (!f(p, q))
          return false;
        p = q;
      }
      return true;
    }
    const char* sep = literal.constData();
    const size_t sepLen = static_cast<size_t>(literal.size());
    const char* p = begin;
    for (;;) {
      const char* q = find(p, end, sep, sepLen);
      if (q != p && !f(p, q))
        return false;
      if (q == end)
        return true;
      p = q + sepLen;
    }
  }

private:
  static const char* find(const char* p, const char* end, const char* sep, size_t sepLen)
  {
    if (sepLen == 1) {
      const void* hit = std::memchr(p, sep[0], static_cast<size_t>(end - p));
      return hit ? static_cast<const char*>(hit) : end;
    }
    for (; static_cast<size_t>(end - p) >= sepLen; ++p) {
      if (std::memcmp(p, sep, sepLen) == 0)
        return p;
    }
    return end;
  }

  bool whiteSpace;
  QByteArray literal;
};

#endif
