// A program built against the core and the player alone, in a configuration without Qt Widgets: it
// proves that neither library needs a widget. It changes an album through the document and paints a
// movie frame from memory.
#include "core/AlbumDocument.h"
#include "player/AnimationPlayer.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    lumiset::AlbumDocument document;
    document.modify(QStringLiteral("add"), [](lumiset::Album& album) {
        album.photos.appendRow({"1", "IMG_1", ".jpg", "4000", "3000", "/photos/IMG_1.jpg", ""});
    });
    document.undo();
    document.redo();

    // A red 1920 x 1080 solid for one frame.
    const QByteArray movie = R"({"v":"5.7.0","fr":25,"ip":0,"op":1,"w":1920,"h":1080,"assets":[],
        "layers":[{"ty":1,"ind":1,"ip":0,"op":1,"st":0,"sw":1920,"sh":1080,"sc":"#ff0000",
                   "ks":{"o":{"a":0,"k":100},"p":{"a":0,"k":[960,540]},"a":{"a":0,"k":[960,540]},
                         "s":{"a":0,"k":[100,100]},"r":{"a":0,"k":0}}}]})";
    lumiset::AnimationPlayer player;
    player.setMovieData(movie, QString(), QStringLiteral("solid"));
    const QImage frame = player.grabFrame(QSize(64, 36));
    const bool ok = document.album().pendingLandscape.rowCount() == 1 && frame.pixelColor(32, 18) == Qt::red;
    std::puts(ok ? "core and player without widgets: ok" : "core and player without widgets: WRONG");
    return ok ? 0 : 1;
}
