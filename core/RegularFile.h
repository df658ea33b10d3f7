// Reading files named by data we do not control (movies, their pictures): only regular files are
// opened, and only up to a size, because a FIFO or a device would block or never end.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumiset {

// Why `path` cannot be read as a file of at most `maxBytes` bytes (a message naming it), or an empty
// string when it can.
QString RegularFileProblem(const QString& path, qint64 maxBytes);

// The whole content of the regular file `path`. Throws Error naming the file when it is missing, not a
// regular file, larger than `maxBytes` or unreadable.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes);

} // namespace lumiset
