#ifndef QUELMORA_TESTS_FIFODRAIN_H
#define QUELMORA_TESTS_FIFODRAIN_H

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A FIFO at path, read on a thread of its own until its writer closes it. The
// read end is open from the start, so a writer that does not wait finds a reader.
class FifoDrain
{
public:
  explicit FifoDrain(const QString& path)
  {
    const QByteArray name = QFile::encodeName(path);
    if (::mkfifo(name.constData(), 0600) != 0)
      qFatal("cannot make a FIFO");
    fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // Until a writer has come and gone, poll reports no hang-up.
    reader = std::thread([this] {
      pollfd p{fd, POLLIN, 0};
      char buf[65536];
      for (ssize_t n = 1; n != 0 && ::poll(&p, 1, 30000) > 0;)
        if ((n = ::read(fd, buf, sizeof buf)) > 0)
          bytes.append(buf, int(n));
    });
  }
  ~FifoDrain() { data(); }

  // Everything written, once the writer has closed its end.
  QByteArray data()
  {
    if (reader.joinable())
      reader.join();
    if (fd >= 0)
      ::close(fd);
    fd = -1;
    return bytes;
  }

  static bool isFifo(const QString& path)
  {
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
  }

private:
  int fd = -1;
  QByteArray bytes;
  std::thread reader;
};

#endif
