#include "photos/ExifFacts.h"

#include "photos/Orientation.h"

#include <optional>

namespace lumiset {
namespace {

constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kThumbnailOffsetTag = 0x0201;
constexpr quint16 kThumbnailLengthTag = 0x0202;
constexpr quint16 kShortType = 3;
constexpr quint16 kLongType = 4;
constexpr qint64 kEntrySize = 12;

// Bounds-checked reads in the byte order the block declares.
class TiffReader {
public:
    TiffReader(QByteArrayView data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}

    std::optional<quint32> read(qint64 offset, int bytes) const {
        if (offset < 0 || offset + bytes > data_.size())
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto byte = static_cast<quint8>(data_[offset + (bigEndian_ ? i : bytes - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }
    std::optional<quint32> u16(qint64 offset) const { return read(offset, 2); }
    std::optional<quint32> u32(qint64 offset) const { return read(offset, 4); }

    // The value of a SHORT or LONG entry holding a single number (stored inside the entry itself).
    std::optional<quint32> entryNumber(qint64 entry) const {
        const auto type = u16(entry + 2);
        const auto count = u32(entry + 4);
        if (!type || !count || *count < 1)
            return std::nullopt;
        if (*type == kShortType)
            return u16(entry + 8);
        if (*type == kLongType)
            return u32(entry + 8);
        return std::nullopt;
    }

private:
    QByteArrayView data_;
    bool bigEndian_;
};

struct Directory {
    qint64 firstEntry = 0;
    quint32 count = 0;
    std::optional<quint32> next;
};

std::optional<Directory> readDirectory(const TiffReader& tiff, qint64 offset) {
    const auto count = tiff.u16(offset);
    if (!count)
        return std::nullopt;
    Directory directory{offset + 2, *count, tiff.u32(offset + 2 + *count * kEntrySize)};
    return directory;
}

template <typename Visit> void forEachEntry(const TiffReader& tiff, const Directory& directory, Visit visit) {
    for (quint32 i = 0; i < directory.count; ++i) {
        const qint64 entry = directory.firstEntry + i * kEntrySize;
        const auto tag = tiff.u16(entry);
        if (!tag)
            return; // the directory runs past the end of the block
        visit(static_cast<quint16>(*tag), entry);
    }
}

} // namespace

ExifFacts ParseExif(QByteArrayView data) {
    ExifFacts facts;
    if (data.size() < 8)
        return facts;
    bool bigEndian = false;
    if (data.startsWith("MM"))
        bigEndian = true;
    else if (!data.startsWith("II"))
        return facts;
    const TiffReader tiff(data, bigEndian);
    if (tiff.u16(2) != 42u)
        return facts;

    const auto firstOffset = tiff.u32(4);
    const auto first = firstOffset ? readDirectory(tiff, *firstOffset) : std::nullopt;
    if (!first)
        return facts;
    forEachEntry(tiff, *first, [&](quint16 tag, qint64 entry) {
        if (tag == kOrientationTag)
            facts.orientation = NormalisedOrientation(static_cast<int>(tiff.entryNumber(entry).value_or(1)));
    });

    // The second directory describes the thumbnail.
    if (!first->next || *first->next == 0 || *first->next == *firstOffset)
        return facts;
    const auto second = readDirectory(tiff, *first->next);
    if (!second)
        return facts;
    std::optional<quint32> offset, length;
    forEachEntry(tiff, *second, [&](quint16 tag, qint64 entry) {
        if (tag == kThumbnailOffsetTag)
            offset = tiff.entryNumber(entry);
        else if (tag == kThumbnailLengthTag)
            length = tiff.entryNumber(entry);
    });
    if (offset && length && *length > 0 && qint64(*offset) + qint64(*length) <= data.size()) {
        facts.thumbnailOffset = *offset;
        facts.thumbnailLength = *length;
    }
    return facts;
}

} // namespace lumiset
