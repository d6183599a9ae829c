#ifndef QUELMORA_UTF16DEVICE_H
#define QUELMORA_UTF16DEVICE_H

#include <QByteArray>
#include <QIODevice>

#include <memory>

class QTextDecoder;

// Reads a UTF-16 file as UTF-8, so that the readers' byte scanners see one
// encoding whatever the file holds. The source is decoded a chunk at a time:
// memory stays at a few chunks whatever the file size. Its byte-order mark is
// dropped, characters that are not valid UTF-16 (a lone surrogate) become
// U+FFFD and an odd last byte is dropped. Only seek(0) is supported: the
// readers rewind, they never jump.
class Utf16Device : public QIODevice
{
public:
  enum Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian };

  // The encoding a byte-order mark at the device's current position names;
  // Utf8 without a UTF-16 mark. The position is not changed.
  static Encoding sniff(QIODevice& device);

  // source must be open for reading and outlive this device.
  Utf16Device(QIODevice* source, Encoding encoding);
  ~Utf16Device() override;

  bool open(OpenMode mode) override;
  bool seek(qint64 pos) override;

protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 maxSize) override;

private:
  void restart();

  QIODevice* source;
  Encoding encoding;
  std::unique_ptr<QTextDecoder> decoder;
  QByteArray raw;
  QByteArray decoded; // UTF-8 not yet handed out
  int taken = 0;
};

#endif
