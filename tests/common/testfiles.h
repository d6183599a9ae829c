#ifndef QUELMORA_TESTS_TESTFILES_H
#define QUELMORA_TESTS_TESTFILES_H

#include <QFile>

// A whole file written (or the test stops) and returned by name, and read back ("" if unreadable).
inline QString writeFile(const QString& path, const QByteArray& content)
{
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
    qFatal("cannot write %s", qPrintable(path));
  return f.fileName();
}

inline QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

#endif
