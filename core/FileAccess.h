// Whole-file reads and writes for every subsystem. Reads open only regular files and never take more
// than a bound, so a pipe, a device or a runaway file cannot hang the program or exhaust its memory.
// Writes replace a file only once every byte of the new content has reached it; a failed write (a full
// disk) reports an Error and leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

namespace lumiset {

// The bound of a whole-file read unless the caller gives a tighter one (no file of ours comes near it).
constexpr qint64 kMaxWholeFileSize = 256 * 1024 * 1024;

// Opens `file` (its name set) for reading when it is a regular file of at most `maxSize` bytes. Opening
// never blocks: a pipe or a device is refused without being opened. Throws Error naming the file.
void OpenRegularFile(QFile& file, qint64 maxSize = kMaxWholeFileSize);

// Reads a whole regular file of at most `maxSize` bytes; throws Error naming the file.
QByteArray ReadWholeFile(const QString& path, qint64 maxSize = kMaxWholeFileSize);

// A picture file read through OpenRegularFile; throws Error naming the file when it cannot be read.
QImage ReadImageFile(const QString& path);
// Only the pixel size from the picture's header; throws Error naming the file.
QSize ReadImageSize(const QString& path);

// Writes a whole file atomically, creating its folder; throws Error naming the file.
void WriteWholeFile(const QString& path, const QByteArray& content);

// Encodes `image` in `format` ("PNG", "JPG") and writes it with WriteWholeFile; `quality` as for
// QImage::save. Throws Error naming the file when the picture cannot be encoded or written.
void SaveImageFile(const QString& path, const QImage& image, const char* format, int quality = -1);

} // namespace lumiset
