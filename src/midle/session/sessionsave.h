#ifndef QUELMORA_SESSIONSAVE_H
#define QUELMORA_SESSIONSAVE_H

#include "midle/session/sessionvalidator.h"

#include <QString>

#include <functional>

// Saving over a session file without ever losing the last good one.
namespace SessionSave {

enum class Result {
  Saved,
  Unwritable, // the target or its folder cannot be written
  Refused,    // what was written would not open again; why is set
};

// A device or a FIFO is no session: the settings object would read it first
// (a FIFO blocks) and then rename a file over it.
bool specialFile(const QString& path);

// Writes the session beside target through write(temporary path), judges it
// as opening would, and only then renames it over target (a link is followed,
// so that the file and not the link is replaced; its permissions are kept).
Result replaceChecked(const QString& target, const std::function<bool(const QString&)>& write,
                      const SessionValidator::Fallback& fallback, QString* why);

} // namespace SessionSave

#endif
