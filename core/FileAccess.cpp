#include "core/FileAccess.h"

#include "core/Error.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumiset {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void refuse(const QString& text, const QString& path) {
    throw Error(text.arg(native(path)));
}

void checkSize(qint64 size, qint64 maxSize, const QString& path) {
    if (size > maxSize)
        throw Error(
            QStringLiteral("文件过大: %1 (%2 字节, 最多 %3 字节)").arg(native(path)).arg(size).arg(maxSize));
}

} // namespace

void OpenRegularFile(QFile& file, qint64 maxSize) {
    const QString path = file.fileName();
#ifdef Q_OS_UNIX
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait for one for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const QFileInfo info(path);
        if (!info.exists())
            refuse(QStringLiteral("文件不存在: %1"), path);
        throw Error(QStringLiteral("无法打开文件: %1 (%2)").arg(native(path), qt_error_string(errno)));
    }
    struct stat facts {};
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(fd);
        refuse(QStringLiteral("不是普通文件: %1"), path);
    }
    if (facts.st_size > maxSize) {
        ::close(fd);
        checkSize(facts.st_size, maxSize, path);
    }
    // Reads block again, as they do on a regular file anyway.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Error(QStringLiteral("无法打开文件: %1 (%2)").arg(native(path), file.errorString()));
    }
#else
    const QFileInfo info(path);
    if (!info.exists())
        refuse(QStringLiteral("文件不存在: %1"), path);
    if (!info.isFile())
        refuse(QStringLiteral("不是普通文件: %1"), path);
    checkSize(info.size(), maxSize, path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开文件: %1 (%2)").arg(native(path), file.errorString()));
#endif
}

QByteArray ReadWholeFile(const QString& path, qint64 maxSize) {
    QFile file(path);
    OpenRegularFile(file, maxSize);
    // Read straight into one buffer of the size the file has, one byte more to see a file that grew
    // after it was opened: reads that return arrays of their own cost a fresh allocation (and its pages)
    // each, and effect frames are read a thousand times a production.
    QByteArray content(std::min(file.size(), maxSize) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    while (file.error() == QFileDevice::NoError) {
        if (filled == content.size()) {
            if (filled > maxSize)
                break;
            content.resize(std::min<qint64>(filled + (1 << 20), maxSize + 1));
        }
        const qint64 got = file.read(content.data() + filled, content.size() - filled);
        if (got <= 0)
            break;
        filled += got;
    }
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("无法读取文件: %1 (%2)").arg(native(path), file.errorString()));
    checkSize(filled, maxSize, path);
    content.truncate(filled);
    return content;
}

namespace {

bool isUsable(const QImage& image) {
    return !image.isNull();
}
bool isUsable(QSize size) {
    return size.isValid();
}

// What `read` takes from a picture file's reader; an unusable result is an Error naming the file.
template <typename Read> auto readPicture(const QString& path, Read read) {
    QFile file(path);
    OpenRegularFile(file);
    QImageReader reader(&file);
    const auto result = read(reader);
    if (!isUsable(result))
        throw Error(QStringLiteral("无法读取图片: %1 (%2)").arg(native(path), reader.errorString()));
    return result;
}

} // namespace

QImage ReadImageFile(const QString& path) {
    return readPicture(path, [](QImageReader& reader) { return reader.read(); });
}

QSize ReadImageSize(const QString& path) {
    return readPicture(path, [](QImageReader& reader) { return reader.size(); });
}

void WriteWholeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const auto fail = [&] {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(QStringLiteral("无法写入文件: %1 (%2)").arg(native(path), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    // QSaveFile buffers small writes; a write error found only when the buffer is flushed inside
    // commit() would still let the incomplete file replace the old one. Flushing first shows it.
    if (file.write(content) != content.size() || !file.flush() || file.error() != QFileDevice::NoError)
        fail();
    if (!file.commit())
        throw Error(QStringLiteral("无法写入文件: %1 (%2)").arg(native(path), file.errorString()));
}

void SaveImageFile(const QString& path, const QImage& image, const char* format, int quality) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (image.isNull() || !writer.write(image))
        throw Error(QStringLiteral("无法生成图片: %1 (%2)").arg(native(path), writer.errorString()));
    WriteWholeFile(path, encoded);
}

} // namespace lumiset
