#ifndef QUELMORA_OUTPUTFILE_H
#define QUELMORA_OUTPUTFILE_H

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

class QIODevice;

// Where every export and the batch tool write. A regular file, or one that
// does not exist yet, is written to a temporary file beside it and renamed
// over it by commit(), so a failed write never damages what was there. Any
// other existing target (a device such as /dev/null, a FIFO, a terminal, or
// /dev/stdout and the other names of the process's own descriptors) is
// written directly: renaming over it would replace the node itself, for
// every program on the machine.
//
//   OutputFile out(path);
//   if (!out.open() || !writeEverything(out.device()) || !out.commit())
//     report(out.errorString());
//
// An uncommitted temporary file is removed when the object goes.
class OutputFile
{
public:
  explicit OutputFile(const QString& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // The rule: true when path is written through a temporary file and a rename.
  static bool replacesByRename(const QString& path);

  // Opening a FIFO waits for a program to read it, as a shell redirection
  // does (the default). A window must not hang: without waiting, a FIFO that
  // nobody reads fails at once.
  void setWaitForReader(bool wait) { waitForReader = wait; }

  // False with errorString() set (the reason only; callers name the file).
  bool open();
  // The device to write into; valid between open() and commit() or cancel().
  QIODevice* device();
  // Completes the write; false with errorString() when the data did not all
  // arrive (the target then keeps its former content, if it was a file).
  bool commit();
  // Gives up: the temporary file is removed, the target left alone.
  void cancel();
  QString errorString() const { return error; }

  // Opens, writes data and commits; false with *error set to the reason.
  static bool write(const QString& path, const QByteArray& data, QString* error,
                    bool waitForReader = true);

private:
  bool openDirect();

  QString path;
  bool waitForReader = true;
  bool direct = false;
  QSaveFile renamed;
  QFile straight;
  QString error;
};

#endif
