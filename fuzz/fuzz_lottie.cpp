// The Lottie parser and renderer: a movie loaded from memory and one frame painted small.
#include "core/Error.h"
#include "fuzz/FuzzSupport.h"
#include "player/AnimationPlayer.h"

#include <QDir>
#include <QTemporaryDir>

namespace {
// External pictures are looked up in an empty folder, so that a movie naming one never reaches files
// of the machine through a relative name.
QString& PictureFolder() {
    static QTemporaryDir folder;
    static QString path = QDir(folder.path()).filePath(QStringLiteral("pictures"));
    return path;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lumiset::fuzz::StartQt();
    PictureFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumiset::AnimationPlayer player([] { return qint64(0); });
    try {
        player.setMovieData(lumiset::fuzz::InputBytes(data, size), PictureFolder(),
                            QStringLiteral("fuzz.json"));
    } catch (const lumiset::Error&) {
        return 0;
    }
    // The middle frame: most movies show little at frame 0.
    player.setFrameNum(player.totalFrames() / 2);
    (void)player.grabFrame(QSize(64, 36));
    return 0;
}
