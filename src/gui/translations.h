#ifndef QUELMORA_TRANSLATIONS_H
#define QUELMORA_TRANSLATIONS_H

#include <QString>
#include <QStringList>

class QCoreApplication;

// The window's language: its own translation, built into the program, and
// Qt's (the standard dialogs and buttons), for the first of the user's
// languages the program speaks. Files, sessions and exports never change.
namespace Translations {

// The languages the window speaks, English (the source texts) first.
QStringList available();
// The first of uiLanguages (as QLocale::uiLanguages gives them, "cs-CZ" or
// "cs_CZ") that the program speaks, else "en".
QString languageFor(const QStringList& uiLanguages);
// Installs the translations of language into app; false when the program's
// own is missing. English installs nothing.
bool install(QCoreApplication* app, const QString& language);
// Removes what install put in place.
void uninstall(QCoreApplication* app);

} // namespace Translations

#endif
