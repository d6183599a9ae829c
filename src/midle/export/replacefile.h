#ifndef QUELMORA_REPLACEFILE_H
#define QUELMORA_REPLACEFILE_H

#include <QString>

#include <functional>

class QIODevice;

// The one way a file of the program is (re)written. A regular or a new file
// is written to a temporary file beside it and renamed into place, so a
// failed write leaves the old content. A target that exists but is not a
// regular file (a FIFO, a device) is written into directly: a rename would
// replace it with a plain file.
// fill writes the content; it returns false with reason set (or empty, to
// take the device's error) when it cannot. On failure error holds the
// message "Cannot write "<absolute path>": <reason>".
bool replaceFile(const QString& path, const std::function<bool(QIODevice&, QString&)>& fill,
                 QString& error);

#endif
