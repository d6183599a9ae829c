#ifndef QUELMORA_TESTS_FIFODRAIN_H
#define QUELMORA_TESTS_FIFODRAIN_H

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A FIFO at path and a thread reading it until its writer closes it, so a
// test can write into it without blocking. The read end is open from the
// start: a writer that will not wait for a reader finds one.
class FifoDrain
{
public:
  explicit FifoDrain(const QString& path)
  {
    const QByteArray name = QFile::encodeName(path);
    if (::mkfifo(name.constData(), 0600) != 0)
      qFatal("cannot make a FIFO");
    fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    reader = std::thread([this] { run(); });
  }
  ~FifoDrain() { data(); }
  FifoDrain(const FifoDrain&) = delete;
  FifoDrain& operator=(const FifoDrain&) = delete;

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
  void run()
  {
    // Until a writer has opened and closed the FIFO, poll reports no hang-up.
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 30000) > 0) {
      char buf[65536];
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n > 0)
        bytes.append(buf, int(n));
      else if (n == 0 || (errno != EAGAIN && errno != EINTR))
        return;
    }
  }

  int fd = -1;
  QByteArray bytes;
  std::thread reader;
};

#endif
