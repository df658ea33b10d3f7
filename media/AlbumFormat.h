// The choices that decide what kind of video file an album becomes: its type, the TV system and the
// picture quality, with the words the album state and the windows use for them, and each type's frame
// sizes and file name ending.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <optional>

namespace lumiset {

enum class AlbumType { VCD, SVCD, DVD, AVI, WMV, MP4, MOV };
enum class TvSystem { Pal, Ntsc };
// Shown as 标清, 高清 and 超清.
enum class PictureQuality { Standard, High, Super };

inline constexpr AlbumType kAlbumTypes[] = {AlbumType::VCD, AlbumType::SVCD, AlbumType::DVD, AlbumType::AVI,
                                            AlbumType::WMV, AlbumType::MP4,  AlbumType::MOV};

// "VCD", "SVCD", "DVD", "AVI", "WMV", "MP4", "MOV"; any other word (another case included) is no type.
QString AlbumTypeWord(AlbumType type);
std::optional<AlbumType> AlbumTypeFromWord(const QString& word);

// "PAL", "NTSC".
QString TvSystemWord(TvSystem system);
std::optional<TvSystem> TvSystemFromWord(const QString& word);

// "biaoqing", "gaoqing", "chaoqing".
QString PictureQualityWord(PictureQuality quality);
std::optional<PictureQuality> PictureQualityFromWord(const QString& word);

// The album frame sizes the user picks from, smallest first: five for VCD, nine for the others.
QList<QSize> OutputSizes(AlbumType type);
// The entry of OutputSizes selected when production starts (1280 × 720; 1920 × 1088 for MOV).
int LaunchSizeIndex(AlbumType type);
// ".mpg", ".avi", ".wmv", ".mp4" or ".mov".
QString FileEnding(AlbumType type);
// VCD, SVCD and DVD: a fixed frame size and TV frame rate of their own, whatever the album size.
bool IsDiscType(AlbumType type);

// Everything the encoder needs to know besides the frames and the sound.
struct EncoderSettings {
    AlbumType type = AlbumType::MP4;
    TvSystem tv = TvSystem::Pal;
    PictureQuality quality = PictureQuality::High;
    QSize albumSize; // the size the album frames are rendered at
};

} // namespace lumiset
