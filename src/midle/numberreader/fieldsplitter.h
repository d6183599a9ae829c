#ifndef QUELMORA_FIELDSPLITTER_H
#define QUELMORA_FIELDSPLITTER_H

#include <QByteArray>
#include <QString>

#include <cstring>
#include <string>

// Splits a raw line into fields at a value separator, skipping empty parts.
// A separator that is empty after trimming means white space (a tab or a
// space). Any other separator is matched literally, byte for byte: a
// separator restored from a session is data, never a pattern.
//
// splitCsv() reads CSV records (RFC 4180) instead: a field whose first
// non-blank character is a double quote runs to its closing quote and may
// hold the separator, line breaks and doubled quotes (one quote each); empty
// fields between literal separators count. A quote anywhere else is data.
class FieldSplitter
{
public:
  enum Record { Complete, OpenQuote };

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

  // Calls f(begin, end) for every field of a CSV record with the quotes
  // removed; a field that held doubled quotes is handed over from scratch.
  // Returns OpenQuote, after the fields before it, when the text ends inside
  // a quoted field (its record goes on in the next line); f returning false
  // stops the split early (Complete).
  template <typename F>
  Record splitCsv(const char* begin, const char* end, std::string& scratch, F&& f) const
  {
    const char* sep = literal.constData();
    const size_t sepLen = static_cast<size_t>(literal.size());
    const char* p = begin;
    for (;;) {
      if (whiteSpace) {
        while (p != end && isBlank(*p))
          ++p;
        if (p == end)
          return Complete;
      }
      const char* q = p;
      while (q != end && isBlank(*q))
        ++q;
      const char* fieldBegin = p;
      const char* fieldEnd;
      if (q != end && *q == '"') {
        // Quoted: up to the quote that is not doubled.
        const char* content = ++q;
        bool copied = false;
        for (;;) {
          const void* hit = std::memchr(q, '"', static_cast<size_t>(end - q));
          if (!hit)
            return OpenQuote;
          const char* quote = static_cast<const char*>(hit);
          if (quote + 1 != end && quote[1] == '"') {
            if (!copied)
              scratch.assign(content, quote + 1);
            else
              scratch.append(q, quote + 1);
            copied = true;
            q = quote + 2;
            continue;
          }
          if (copied)
            scratch.append(q, quote);
          q = quote + 1;
          fieldBegin = copied ? nullptr : content;
          fieldEnd = quote;
          break;
        }
        // Anything between the closing quote and the separator is kept.
        const char* next = whiteSpace ? findBlank(q, end) : find(q, end, sep, sepLen);
        if (next != q) {
          if (!copied)
            scratch.assign(content, fieldEnd);
          scratch.append(q, next);
          copied = true;
        }
        const bool go =
            copied ? f(scratch.data(), scratch.data() + scratch.size()) : f(fieldBegin, fieldEnd);
        if (!go || next == end)
          return Complete;
        p = whiteSpace ? next : next + sepLen;
        continue;
      }
      fieldEnd = whiteSpace ? findBlank(p, end) : find(p, end, sep, sepLen);
      if (!f(fieldBegin, fieldEnd) || fieldEnd == end)
        return Complete;
      p = whiteSpace ? fieldEnd : fieldEnd + sepLen;
    }
  }

private:
  static bool isBlank(char c) { return c == ' ' || c == '\t'; }
  static const char* findBlank(const char* p, const char* end)
  {
    while (p != end && !isBlank(*p))
      ++p;
    return p;
  }
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
