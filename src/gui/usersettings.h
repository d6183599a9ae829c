#ifndef QUELMORA_USERSETTINGS_H
#define QUELMORA_USERSETTINGS_H

#include <QString>

#include <memory>

class QSettings;

// The user settings file (the one the global widget persistence uses) and
// the folders the window's file dialogs start in: the last session's
// ("MainWindow/FileDialogDir") and the last data file's, which falls back to
// the session's.
namespace UserSettings {

std::unique_ptr<QSettings> open();

QString sessionDir();
// Remembers the folder of file; false when the settings could not be written.
bool rememberSessionDir(const QString& file);
QString dataDir();
void rememberDataDir(const QString& file);

} // namespace UserSettings

#endif
