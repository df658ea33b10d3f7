#include "media/AlbumFormat.h"

#include <array>

namespace lumiset {
namespace {

template <typename Enum, size_t N>
std::optional<Enum> findWord(const std::array<const char*, N>& words, const QString& word) {
    for (size_t i = 0; i < N; ++i)
        if (word == QLatin1String(words[i]))
            return Enum(i);
    return std::nullopt;
}

constexpr std::array<const char*, 7> typeWords{"VCD", "SVCD", "DVD", "AVI", "WMV", "MP4", "MOV"};
constexpr std::array<const char*, 2> tvWords{"PAL", "NTSC"};
constexpr std::array<const char*, 3> qualityWords{"biaoqing", "gaoqing", "chaoqing"};

} // namespace

QString AlbumTypeWord(AlbumType type) {
    return QLatin1String(typeWords[size_t(type)]);
}

std::optional<AlbumType> AlbumTypeFromWord(const QString& word) {
    return findWord<AlbumType>(typeWords, word);
}

QString TvSystemWord(TvSystem system) {
    return QLatin1String(tvWords[size_t(system)]);
}

std::optional<TvSystem> TvSystemFromWord(const QString& word) {
    return findWord<TvSystem>(tvWords, word);
}

QString PictureQualityWord(PictureQuality quality) {
    return QLatin1String(qualityWords[size_t(quality)]);
}

std::optional<PictureQuality> PictureQualityFromWord(const QString& word) {
    return findWord<PictureQuality>(qualityWords, word);
}

QList<QSize> OutputSizes(AlbumType type) {
    QList<QSize> sizes{{320, 176},  {464, 256},  {640, 368},   {800, 480},  {1280, 720},
                       {1440, 816}, {1600, 896}, {1920, 1080}, {2048, 1152}};
    if (type == AlbumType::VCD)
        sizes.resize(5);
    if (type == AlbumType::WMV || type == AlbumType::MOV)
        sizes[7] = QSize(1920, 1088);
    return sizes;
}

int LaunchSizeIndex(AlbumType type) {
    return type == AlbumType::MOV ? 7 : 4;
}

QString FileEnding(AlbumType type) {
    switch (type) {
    case AlbumType::VCD:
    case AlbumType::SVCD:
    case AlbumType::DVD:
        return QStringLiteral(".mpg");
    case AlbumType::AVI:
        return QStringLiteral(".avi");
    case AlbumType::WMV:
        return QStringLiteral(".wmv");
    case AlbumType::MP4:
        return QStringLiteral(".mp4");
    case AlbumType::MOV:
        return QStringLiteral(".mov");
    }
    return {};
}

bool IsDiscType(AlbumType type) {
    return type == AlbumType::VCD || type == AlbumType::SVCD || type == AlbumType::DVD;
}

} // namespace lumiset
