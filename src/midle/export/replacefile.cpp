#include "midle/export/replacefile.h"

#include "midle/export/outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QObject>

bool replaceFile(const QString& path, const std::function<bool(QIODevice&, QString&)>& fill,
                 QString& error, bool waitForReader)
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

  OutputFile out(path);
  out.setWaitForReader(waitForReader);
  if (!out.open())
    return fail(out.errorString());
  QString reason;
  if (!fill(*out.device(), reason)) {
    if (reason.isEmpty())
      reason = out.device()->errorString();
    out.cancel();
    return fail(reason);
  }
  if (!out.commit())
    return fail(out.errorString());
  return true;
}
