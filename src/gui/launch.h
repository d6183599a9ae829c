#ifndef QUELMORA_LAUNCH_H
#define QUELMORA_LAUNCH_H

#include <QString>
#include <QStringList>

class QMimeData;

// How the program is started on a file and how files reach a running window:
// the command line `quelmora [FILE]` and files dropped on the window. A
// session (.qms) is opened as a session, a .csv or .txt file as data.
class Launch
{
public:
  enum Kind { NoFile, Session, Data };

  struct Request
  {
    // Stop at once with exitCode, after printing out (to standard output)
    // or error (one line for standard error).
    bool exit = false;
    int exitCode = 0;
    QString out;
    QString error;
    QString file; // absolute path; empty without a file
    Kind kind = NoFile;
    // The error is an option the parser does not know (it may be one of Qt's).
    bool unknownOption = false;
  };

  // args as QCoreApplication::arguments() gives them, the program first.
  // Needs an application object (for the help text's program name).
  static Request parseArguments(const QStringList& args);

  // By the suffix, in any letter case; NoFile for any other file.
  static Kind kindOf(const QString& path);
  // The one local session or data file a drag carries, else "".
  static QString droppedFile(const QMimeData* data);
};

#endif
