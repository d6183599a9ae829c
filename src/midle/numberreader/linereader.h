#ifndef QUELMORA_LINEREADER_H
#define QUELMORA_LINEREADER_H

#include <QByteArray>

class QIODevice;

// Reads raw lines from a device through a large buffer. A line ends at LF,
// CRLF or a lone CR (old Mac files), so a CR never joins two values. A UTF-8
// byte-order mark at the start of the device is skipped. A line longer than
// the limit is not kept: it is reported as overlong and its bytes dropped, so
// a file without line ends cannot exhaust memory.
class LineReader
{
public:
  LineReader(QIODevice* device, int maxLineLength);

  // The next line without its terminator, valid until the next call.
  // False at the end of the data or on a read error (see failed()).
  bool next(const char*& begin, const char*& end, bool& overlong);

  bool failed() const { return readFailed; }

private:
  bool fill();

  QIODevice* device;
  int maxLength;
  QByteArray buffer;
  int start = 0;  // first unread byte in buffer
  int filled = 0; // bytes of buffer holding data
  bool atEnd = false;
  bool readFailed = false;
  bool skipLf = false; // the last line ended with CR: an LF right after belongs to it
  bool checkBom;
};

#endif
