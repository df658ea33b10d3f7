#include "core/RegularFile.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace lumiset {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString tooLarge(const QString& path, qint64 maxBytes) {
    return QStringLiteral("文件过大（超过 %1 MB）: %2").arg(maxBytes / (1024 * 1024)).arg(native(path));
}

} // namespace

QString RegularFileProblem(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path); // follows symbolic links: a link to a regular file is fine
    if (!info.exists())
        return QStringLiteral("文件不存在: %1").arg(native(path));
    if (!info.isFile())
        return QStringLiteral("不是普通文件: %1").arg(native(path));
    if (info.size() > maxBytes)
        return tooLarge(path, maxBytes);
    return {};
}

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (const QString problem = RegularFileProblem(path, maxBytes); !problem.isEmpty())
        throw Error(problem);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开文件: %1 (%2)").arg(native(path), file.errorString()));
    // The file may have been replaced or may grow after the check: read no more than the limit allows.
    if (file.isSequential())
        throw Error(QStringLiteral("不是普通文件: %1").arg(native(path)));
    QByteArray content;
    content.reserve(std::min(file.size(), maxBytes));
    constexpr qint64 kChunk = 1 << 20;
    for (;;) {
        const QByteArray chunk = file.read(kChunk);
        if (file.error() != QFileDevice::NoError)
            throw Error(QStringLiteral("无法读取文件: %1 (%2)").arg(native(path), file.errorString()));
        if (chunk.isEmpty())
            return content;
        content.append(chunk);
        if (content.size() > maxBytes)
            throw Error(tooLarge(path, maxBytes));
    }
}

} // namespace lumiset
