#include "photos/PhotoRows.h"

#include "core/Error.h"

namespace lumiset {

ReadPhotos ReadPhotoFiles(const QStringList& files, const PhotoReader& read, const Job* job,
                          const QString& progressText) {
    ReadPhotos result;
    const int total = int(files.size());
    for (int i = 0; i < total; ++i) {
        if (job && job->stopRequested()) {
            result.stopped = true;
            break;
        }
        try {
            result.rows.append(read(files[i]));
        } catch (const Error& e) {
            result.refused.append(e.message());
        }
        if (job)
            job->report(i + 1, total, progressText);
    }
    return result;
}

QString RefusedFilesMessage(const QStringList& refused) {
    if (refused.isEmpty())
        return {};
    return QStringLiteral("以下 %1 个文件不能作为照片添加，已跳过：\n%2")
        .arg(refused.size())
        .arg(refused.join(u'\n'));
}

int AppendPhotoRow(Album& album, const PhotoRow& photo) {
    return album.photos.appendRow({QString::number(album.photos.rowCount() + 1), photo.name, photo.extension,
                                   QString::number(photo.width), QString::number(photo.height), photo.path,
                                   QString()});
}

} // namespace lumiset
