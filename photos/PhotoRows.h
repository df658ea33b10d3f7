// Photo-table rows from photo files: reading the chosen files (a file that is not a readable JPEG is left
// out with a message naming it, the others go on) and appending their rows.
#pragma once

#include "core/Album.h"
#include "core/Job.h"
#include "photos/PhotoFile.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace lumiset {

// Reads what a photo row needs from a file (the displayed size: EXIF orientation applied). Throws Error
// naming the file when it cannot. ReadPhotoRow in production; tests may pass their own.
using PhotoReader = std::function<PhotoRow(const QString& path)>;

struct ReadPhotos {
    QList<PhotoRow> rows; // in the order of the files
    QStringList refused;  // one message per file left out, naming it
    bool stopped = false; // the job was asked to stop; `rows` holds what was read until then
};

// Reads `files` in order, reporting progress to `job` (when given) after each file.
ReadPhotos ReadPhotoFiles(const QStringList& files, const PhotoReader& read, const Job* job = nullptr,
                          const QString& progressText = {});

// One message for the files left out, or empty text when there are none.
QString RefusedFilesMessage(const QStringList& refused);

// Appends the photo-table row of `photo`: its 1-based number, name, extension, size, path and an empty
// placement state. Returns the new row.
int AppendPhotoRow(Album& album, const PhotoRow& photo);

} // namespace lumiset
