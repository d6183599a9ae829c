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

// Whether a settings file at path can be written: it is replaced by renaming
// a temporary beside it, so its directory must be writable too; missing
// directories are created on saving, so for those the nearest existing one counts.
bool targetWritable(const QString& path);

// Writes the session beside target through write(temporary path), judges it
// as opening would, and only then renames it over target (a link is followed,
// so that the file and not the link is replaced; its permissions are kept).
Result replaceChecked(const QString& target, const std::function<bool(const QString&)>& write,
                      const SessionValidator::Fallback& fallback, QString* why);

} // namespace SessionSave

#endif
