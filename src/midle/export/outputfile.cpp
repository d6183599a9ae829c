#include "midle/export/outputfile.h"

#include <QFileInfo>
#include <QObject>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// /dev/stdout, /dev/fd/N and /proc/self/fd/N name descriptors the process
// already holds. Even when one leads to a regular file, that file belongs to
// whoever opened the descriptor (a shell redirection): it is written where
// it stands, not replaced.
bool throughDescriptor(const QString& path)
{
  QString p = QFileInfo(path).absoluteFilePath();
  for (int depth = 0; depth < 40; ++depth) {
    const QFileInfo info(p);
    const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (dir == QLatin1String("/proc") || dir.startsWith(QLatin1String("/proc/")))
      return true;
    if (!info.isSymLink())
      return false;
    p = info.symLinkTarget();
  }
  return false;
}

bool isFifo(const QString& path)
{
  struct stat st;
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

} // namespace

OutputFile::OutputFile(const QString& target) : path(target) {}

OutputFile::~OutputFile() = default;

bool OutputFile::replacesByRename(const QString& path)
{
  const QFileInfo info(path);
  if (info.exists() && !info.isFile())
    return false;
  return !throughDescriptor(path);
}

bool OutputFile::open()
{
  error.clear();
  direct = !replacesByRename(path);
  if (direct)
    return openDirect();
  renamed.setFileName(path);
  if (renamed.open(QIODevice::WriteOnly))
    return true;
  error = renamed.errorString();
  return false;
}

bool OutputFile::openDirect()
{
  int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY;
  if (!waitForReader)
    flags |= O_NONBLOCK;
  // A descriptor's regular file: continue after what its owner wrote.
  if (QFileInfo(path).isFile())
    flags |= O_APPEND;
  const QByteArray name = QFile::encodeName(path);
  int fd;
  do
    fd = ::open(name.constData(), flags);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int code = errno;
    error = code == ENXIO && isFifo(path) ? QObject::tr("no program is reading from it")
                                          : qt_error_string(code);
    return false;
  }
  // Only the open must not wait; writes then wait for the reader as usual.
  if (!waitForReader)
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (straight.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
    return true;
  error = straight.errorString();
  ::close(fd);
  return false;
}

QIODevice* OutputFile::device()
{
  if (direct)
    return &straight;
  return &renamed;
}

bool OutputFile::commit()
{
  if (!direct) {
    if (renamed.commit())
      return true;
    error = renamed.errorString();
    return false;
  }
  const bool ok = straight.isOpen() && straight.flush() && straight.error() == QFileDevice::NoError;
  if (!ok)
    error = straight.errorString();
  straight.close();
  return ok;
}

void OutputFile::cancel()
{
  if (direct) {
    straight.close();
    return;
  }
  if (renamed.isOpen()) {
    renamed.cancelWriting();
    renamed.commit(); // removes the temporary file
  }
}

bool OutputFile::write(const QString& path, const QByteArray& data, QString* error,
                       bool waitForReader)
{
  OutputFile out(path);
  out.setWaitForReader(waitForReader);
  bool ok = out.open();
  if (ok && out.device()->write(data) != data.size()) {
    out.error = out.device()->errorString();
    out.cancel();
    ok = false;
  }
  ok = ok && out.commit();
  if (!ok && error)
    *error = out.errorString();
  return ok;
}
