#include "midle/numberreader/utf16device.h"

#include <QTextCodec>

#include <cstring>

namespace {
constexpr int chunkSize = 1 << 20;
}

Utf16Device::Encoding Utf16Device::sniff(QIODevice& device)
{
  const QByteArray head = device.peek(2);
  if (head == QByteArray("\xFF\xFE", 2))
    return Utf16LittleEndian;
  if (head == QByteArray("\xFE\xFF", 2))
    return Utf16BigEndian;
  return Utf8;
}

Utf16Device::Utf16Device(QIODevice* dev, Encoding enc) : source(dev), encoding(enc) {}

Utf16Device::~Utf16Device() = default;

bool Utf16Device::open(OpenMode mode)
{
  if ((mode & WriteOnly) || !source || !source->isReadable())
    return false;
  // Unbuffered: seek(0) then needs to reset nothing but the decoder.
  if (!QIODevice::open(mode | Unbuffered))
    return false;
  restart();
  return true;
}

void Utf16Device::restart()
{
  source->seek(0);
  // The codec's decoder drops the byte-order mark at the start of the data.
  QTextCodec* codec =
      QTextCodec::codecForName(encoding == Utf16BigEndian ? "UTF-16BE" : "UTF-16LE");
  decoder.reset(codec->makeDecoder());
  decoded.clear();
  taken = 0;
}

bool Utf16Device::seek(qint64 pos)
{
  if (pos != 0 || !isOpen())
    return false;
  restart();
  return QIODevice::seek(0);
}

qint64 Utf16Device::readData(char* data, qint64 maxSize)
{
  while (taken == decoded.size()) {
    raw.resize(chunkSize);
    const qint64 got = source->read(raw.data(), chunkSize);
    if (got < 0)
      return -1;
    if (got == 0)
      return 0;
    decoded = decoder->toUnicode(raw.constData(), int(got)).toUtf8();
    taken = 0;
  }
  const qint64 n = std::min<qint64>(maxSize, decoded.size() - taken);
  std::memcpy(data, decoded.constData() + taken, size_t(n));
  taken += int(n);
  return n;
}

qint64 Utf16Device::writeData(const char*, qint64)
{
  return -1;
}
