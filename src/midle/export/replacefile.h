#ifndef QUELMORA_REPLACEFILE_H
#define QUELMORA_REPLACEFILE_H

#include <QString>

#include <functional>

class QIODevice;

// Writes a file through OutputFile (a regular or a new file by a temporary
// file and a rename; a device, FIFO or descriptor directly). fill writes the
// content; it returns false with reason set (or empty, to take the device's
// error) when it cannot. On failure error holds the message
// "Cannot write "<absolute path>": <reason>". A window passes
// waitForReader = false so a FIFO nobody reads fails instead of hanging.
bool replaceFile(const QString& path, const std::function<bool(QIODevice&, QString&)>& fill,
                 QString& error, bool waitForReader = true);

#endif
