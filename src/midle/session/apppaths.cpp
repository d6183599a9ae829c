#include "midle/session/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

bool AppPaths::isDirectoryWritable(const QString& dir)
{
  // QFileInfo::isWritable is not enough on some file systems: try it.
  QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".quelmora-write-probe-XXXXXX")));
  return QFileInfo(dir).isDir() && probe.open();
}

QString AppPaths::writableAppDirectory()
{
  const QString appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath();
  // An installed program (in a bin directory, /usr/bin from the package) never
  // writes there, not even when run by root, who could.
  if (QFileInfo(appDir).fileName() != QLatin1String("bin") && isDirectoryWritable(appDir))
    return appDir;
  const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dataDir);
  return QDir(dataDir).absolutePath();
}

QString AppPaths::formulasFile(const QString& directory)
{
  const QString dir = directory.isEmpty() ? writableAppDirectory() : directory;
  return QDir::cleanPath(dir + QStringLiteral("/FormulaBuilder.ini"));
}

QString AppPaths::configuredFormulasDirectory()
{
  // Where the global widget persistence keeps the preferences' path edit.
  const QSettings user(QSettings::IniFormat, QSettings::UserScope,
                       QCoreApplication::organizationName(), QCoreApplication::applicationName());
  return user.value(QStringLiteral("Preferences/formulasPathEdt_text")).toString();
}
