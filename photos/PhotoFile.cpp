#include "photos/PhotoFile.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "core/TextHelpers.h"
#include "photos/ExifFacts.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace lumiset {
namespace {

bool isFrameHeader(quint8 marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Baseline, extended, progressive and their arithmetic-coded forms; lossless and hierarchical JPEGs
// cannot be decoded by libjpeg.
bool isDecodableFrame(quint8 marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

bool isStandalone(quint8 marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01; // RSTn and TEM carry no length
}

class HeaderReader {
public:
    explicit HeaderReader(QFile& file) : file_(file) {}

    PhotoInfo read() {
        if (file_.size() == 0)
            throw PhotoError(path(), QStringLiteral("是空文件。"));
        const QByteArray start = file_.read(2);
        if (start != QByteArrayView("\xFF\xD8"))
            throw PhotoError(path(), QStringLiteral("不是 JPEG 图片。"));
        PhotoInfo info;
        for (;;) {
            const quint8 marker = nextMarker();
            if (isStandalone(marker))
                continue;
            if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) // SOI again, EOI or picture data
                throw damaged();
            const int length = u16();
            if (length < 2)
                throw damaged();
            const int payload = length - 2;
            if (isFrameHeader(marker)) {
                readFrameHeader(marker, payload, info);
                return info;
            }
            if (marker == 0xE1 && !exifRead_)
                readApp1(payload, info);
            else
                skip(payload);
        }
    }

private:
    QString path() const { return file_.fileName(); }
    Error damaged() const { return PhotoError(path(), QStringLiteral("的文件头已损坏，读不出图片尺寸。")); }
    Error truncated() const { return PhotoError(path(), QStringLiteral("的文件头不完整，读不出图片尺寸。")); }

    quint8 byte() {
        char c = 0;
        if (!file_.getChar(&c))
            throw truncated();
        return static_cast<quint8>(c);
    }
    int u16() {
        const int high = byte();
        return (high << 8) | byte();
    }
    QByteArray bytes(int count) {
        QByteArray data = file_.read(count);
        if (data.size() != count)
            throw truncated();
        return data;
    }
    void skip(int count) {
        if (file_.skip(count) != count)
            throw truncated();
    }

    quint8 nextMarker() {
        if (byte() != 0xFF)
            throw damaged();
        quint8 marker = 0xFF;
        while (marker == 0xFF) // fill bytes may pad a marker
            marker = byte();
        if (marker == 0x00)
            throw damaged();
        return marker;
    }

    void readFrameHeader(quint8 marker, int payload, PhotoInfo& info) {
        if (payload < 6)
            throw damaged();
        const int precision = byte();
        const int height = u16();
        const int width = u16();
        if (!isDecodableFrame(marker) || precision != 8)
            throw PhotoError(path(), QStringLiteral("使用了不支持的 JPEG 编码方式（无损、分层或 12 位）。"));
        if (width == 0 || height == 0)
            throw PhotoError(path(), QStringLiteral("的图片尺寸为零。"));
        CheckShowableProportions(path(), QSize(width, height));
        info.storedSize = QSize(width, height);
    }

    void readApp1(int payload, PhotoInfo& info) {
        const qint64 segmentStart = file_.pos();
        const QByteArray segment = bytes(payload);
        static constexpr QByteArrayView kExifHeader("Exif\0\0", 6);
        if (!segment.startsWith(kExifHeader))
            return;       // XMP and other APP1 blocks
        exifRead_ = true; // the first EXIF block is the camera's; later ones are not trusted
        const QByteArrayView tiff = QByteArrayView(segment).sliced(kExifHeader.size());
        const ExifFacts facts = ParseExif(tiff);
        info.orientation = facts.orientation;
        if (facts.thumbnailLength > 0) {
            info.exifThumbnailOffset = segmentStart + kExifHeader.size() + facts.thumbnailOffset;
            info.exifThumbnailLength = facts.thumbnailLength;
        }
    }

    QFile& file_;
    bool exifRead_ = false;
};

} // namespace

Error PhotoError(const QString& path, const QString& problem) {
    return Error(QStringLiteral("照片文件“%1”%2").arg(QDir::toNativeSeparators(path), problem));
}

void CheckShowableProportions(const QString& path, QSize size) {
    const qint64 longSide = std::max(size.width(), size.height());
    const qint64 shortSide = std::min(size.width(), size.height());
    if (shortSide <= 0 || longSide > shortSide * kMaxPhotoProportion)
        throw PhotoError(path, QStringLiteral("的长宽比过于悬殊（%1 × %2，最多 %3 : 1），无法显示。")
                                   .arg(size.width())
                                   .arg(size.height())
                                   .arg(kMaxPhotoProportion));
}

void OpenPhotoFile(QFile& file) {
    const QFileInfo about(file.fileName());
    if (!about.exists())
        throw PhotoError(file.fileName(), QStringLiteral("不存在。"));
    if (!about.isFile())
        throw PhotoError(file.fileName(), QStringLiteral("不是普通文件。"));
    if (about.size() > kMaxWholeFileSize)
        throw PhotoError(file.fileName(),
                         QStringLiteral("过大（超过 %1 MB）。").arg(kMaxWholeFileSize >> 20));
    if (!file.open(QIODevice::ReadOnly))
        throw PhotoError(file.fileName(), QStringLiteral("无法打开，请检查文件的读取权限。"));
}

PhotoInfo ReadPhotoInfo(QFile& file) {
    return HeaderReader(file).read();
}

PhotoInfo ReadPhotoInfo(const QString& path) {
    QFile file(path);
    OpenPhotoFile(file);
    return ReadPhotoInfo(file);
}

PhotoRow ReadPhotoRow(const QString& path) {
    const PhotoInfo info = ReadPhotoInfo(path);
    const FileNameParts parts = SplitFileName(path);
    PhotoRow row;
    row.name = parts.name;
    row.extension = parts.extension;
    row.width = info.displayedSize().width();
    row.height = info.displayedSize().height();
    row.path = path;
    return row;
}

} // namespace lumiset
