// The photo header reader: JPEG markers up to the frame header, and the EXIF orientation and thumbnail.
#include "core/Error.h"
#include "fuzz/FuzzSupport.h"
#include "photos/ExifFacts.h"
#include "photos/PhotoFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QString PhotoPath() {
    static QTemporaryDir folder;
    return QDir(folder.path()).filePath(QStringLiteral("photo.jpg"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader takes an open file, as the import gives it; the input goes through one.
    static const QString path = PhotoPath();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    try {
        const lumiset::PhotoInfo info = lumiset::ReadPhotoInfo(path);
        if (info.storedSize.isEmpty() || info.orientation < 1 || info.orientation > 8)
            std::abort(); // accepted photos have a size and a valid orientation
        if (info.exifThumbnailLength < 0 || info.exifThumbnailOffset < 0 ||
            info.exifThumbnailOffset + info.exifThumbnailLength > qint64(size))
            std::abort(); // the thumbnail lies inside the file
    } catch (const lumiset::Error&) {
    }
    // The EXIF parser directly, on the input as a TIFF block.
    const lumiset::ExifFacts facts = lumiset::ParseExif(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (facts.orientation < 1 || facts.orientation > 8 || facts.thumbnailLength < 0 ||
        facts.thumbnailOffset < 0 || facts.thumbnailOffset + facts.thumbnailLength > qint64(size))
        std::abort();
    return 0;
}
