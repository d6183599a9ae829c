#include "midle/export/replacefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>

bool replaceFile(const QString& path, const std::function<bool(QIODevice&, QString&)>& fill,
                 QString& error)
{
  const QFileInfo info(path);
  auto fail = [&](const QString& reason) {
    error = QObject::tr("Cannot write \"%1\": %2")
                .arg(QDir::toNativeSeparators(info.absoluteFilePath()), reason);
    return false;
  };
  if (path.isEmpty())
    return fail(QObject::tr("no file name given"));
  if (info.isDir())
    return fail(QObject::tr("it is a directory"));

  QString reason;
  if (info.exists() && !info.isFile()) {
    QFile direct(path);
    if (!direct.open(QIODevice::WriteOnly))
      return fail(direct.errorString());
    if (!fill(direct, reason))
      return fail(reason.isEmpty() ? direct.errorString() : reason);
    if (!direct.flush())
      return fail(direct.errorString());
    return true;
  }

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return fail(file.errorString());
  if (!fill(file, reason)) {
    if (reason.isEmpty())
      reason = file.errorString();
    file.cancelWriting();
    return fail(reason);
  }
  if (!file.commit())
    return fail(file.errorString());
  return true;
}
