#include "core/Package.h"

#include "core/Error.h"

#include <QDir>
#include <QtEndian>
#include <algorithm>
#include <zlib.h>

namespace lumiset {

namespace {

// Deflate cannot expand data by more than about 1032:1; a declared size beyond that is a lie.
constexpr qint64 kMaxDeflateRatio = 1032;

[[noreturn]] void fail(const QString& sourceName, const QString& reason) {
    throw Error(
        QStringLiteral("模板包文件已损坏: %1 (%2)").arg(QDir::toNativeSeparators(sourceName), reason));
}

} // namespace

void DecodeLayer(QByteArray& stream, const QString& sourceName, qint64 maxSize) {
    if (stream.isEmpty())
        return;
    if (stream.size() < 4)
        fail(sourceName, QStringLiteral("数据被截断"));
    const qint32 declared = qFromLittleEndian<qint32>(stream.constData());
    const qint64 compressed = stream.size() - 4;
    if (declared < 0)
        fail(sourceName, QStringLiteral("声明的大小为负数"));
    if (declared > std::min(maxSize, kMaxLayerSize))
        fail(sourceName, QStringLiteral("解压后的大小 %1 字节过大 (上限 %2 字节)")
                             .arg(declared)
                             .arg(std::min(maxSize, kMaxLayerSize)));
    if (declared > compressed * kMaxDeflateRatio + 64)
        fail(sourceName, QStringLiteral("声明的大小与数据不符"));

    QByteArray out(declared, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        fail(sourceName, QStringLiteral("无法初始化解压"));
    z.next_in = reinterpret_cast<Bytef*>(stream.data() + 4);
    z.avail_in = static_cast<uInt>(compressed);
    // One spare byte beyond the declared size shows content that is longer than declared.
    char spare = 0;
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(declared);
    int rc = inflate(&z, Z_FINISH);
    if (rc == Z_BUF_ERROR && z.avail_out == 0) {
        z.next_out = reinterpret_cast<Bytef*>(&spare);
        z.avail_out = 1;
        rc = inflate(&z, Z_FINISH);
    }
    const qint64 produced = static_cast<qint64>(z.total_out);
    inflateEnd(&z);
    if (rc == Z_STREAM_END && produced == declared) {
        stream = std::move(out);
        return;
    }
    if (rc == Z_STREAM_END || produced > declared)
        fail(sourceName, QStringLiteral("解压后的大小与声明的 %1 字节不符").arg(declared));
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT)
        fail(sourceName, QStringLiteral("zlib 数据错误"));
    fail(sourceName, QStringLiteral("zlib 数据流被截断"));
}

QByteArray DecodePackageToMemory(const QString& source, PackageFormat format) {
    // An outer layer holds the compressed inner layers, which deflate keeps within a small margin of
    // the payload's size.
    const qint64 maxWrapped = format.maxPayload + format.maxPayload / 256 + 1024;
    QByteArray content = ReadWholeFile(source, format.layers > 0 ? maxWrapped : format.maxPayload);
    for (int i = 0; i < format.layers; ++i)
        DecodeLayer(content, source, i + 1 == format.layers ? format.maxPayload : maxWrapped);
    return content;
}

QByteArray DecodePackageToMemory(const QString& source, int layers) {
    return DecodePackageToMemory(source, PackageFormat{layers, kMaxLayerSize});
}

void DecodePackage(const QString& source, PackageFormat format, const QString& payloadPath) {
    WriteWholeFile(payloadPath, DecodePackageToMemory(source, format));
}

void DecodePackage(const QString& source, int layers, const QString& payloadPath) {
    WriteWholeFile(payloadPath, DecodePackageToMemory(source, layers));
}

QByteArray EncodePackage(const QByteArray& payload, PackageFormat format) {
    return EncodePackage(payload, format.layers);
}

QByteArray EncodePackage(const QByteArray& payload, int layers) {
    QByteArray content = payload;
    for (int i = 0; i < layers; ++i) {
        uLongf bound = compressBound(static_cast<uLong>(content.size()));
        QByteArray layer(4 + static_cast<qsizetype>(bound), Qt::Uninitialized);
        qToLittleEndian<qint32>(static_cast<qint32>(content.size()), layer.data());
        const int rc = compress2(reinterpret_cast<Bytef*>(layer.data() + 4), &bound,
                                 reinterpret_cast<const Bytef*>(content.constData()),
                                 static_cast<uLong>(content.size()), Z_BEST_COMPRESSION);
        if (rc != Z_OK)
            throw Error(QStringLiteral("无法压缩数据"));
        layer.truncate(4 + static_cast<qsizetype>(bound));
        content = std::move(layer);
    }
    return content;
}

} // namespace lumiset
