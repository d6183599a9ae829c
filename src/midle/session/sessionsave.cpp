#include "midle/session/sessionsave.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

bool SessionSave::specialFile(const QString& path)
{
  const QFileInfo info(path);
  return info.exists() && !info.isFile();
}

bool SessionSave::targetWritable(const QString& name)
{
  const QFileInfo info(name);
  if (info.exists() && (!info.isFile() || !info.isWritable()))
    return false;
  QString path = info.absolutePath();
  while (!QFileInfo::exists(path)) {
    const QString up = QFileInfo(path).absolutePath();
    if (up == path)
      return false;
    path = up;
  }
  const QFileInfo dir(path);
  return dir.isDir() && dir.isWritable();
}

SessionSave::Result SessionSave::replaceChecked(const QString& target,
                                                const std::function<bool(const QString&)>& write,
                                                const SessionValidator::Fallback& fallback,
                                                QString* why)
{
  if (specialFile(target))
    return Result::Unwritable;
  const QFileInfo info(target);
  const QString real = info.isSymLink() && info.exists() ? info.canonicalFilePath() : target;
  QString temp;
  {
    QTemporaryFile reserve(QFileInfo(real).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!reserve.open())
      return Result::Unwritable;
    temp = reserve.fileName();
    // Removed again: the settings object creates it with the usual permissions.
  }
  if (!write(temp)) {
    QFile::remove(temp);
    return Result::Unwritable;
  }
  {
    // Its settings object is gone before the file is renamed.
    SessionValidator check(temp, fallback);
    if (!check.validate()) {
      if (why)
        *why = check.refusal();
      QFile::remove(temp);
      return Result::Refused;
    }
  }
  if (QFileInfo::exists(real))
    QFile::setPermissions(temp, QFile::permissions(real));
  if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(real).constData()) != 0) {
    QFile::remove(temp);
    return Result::Unwritable;
  }
  return Result::Saved;
}
