#include "gui/usersettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

std::unique_ptr<QSettings> UserSettings::open()
{
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QCoreApplication::organizationName(),
                                     QCoreApplication::applicationName());
}

QString UserSettings::sessionDir()
{
  return open()->value(QStringLiteral("MainWindow/FileDialogDir")).toString();
}

bool UserSettings::rememberSessionDir(const QString& file)
{
  auto s = open();
  s->setValue(QStringLiteral("MainWindow/FileDialogDir"),
              QFileInfo(file).absoluteDir().canonicalPath());
  s->sync();
  return s->status() == QSettings::NoError;
}

QString UserSettings::dataDir()
{
  const QString dir = open()->value(QStringLiteral("MainWindow/DataDialogDir")).toString();
  return dir.isEmpty() ? sessionDir() : dir;
}

void UserSettings::rememberDataDir(const QString& file)
{
  open()->setValue(QStringLiteral("MainWindow/DataDialogDir"),
                   QFileInfo(file).absoluteDir().canonicalPath());
}
