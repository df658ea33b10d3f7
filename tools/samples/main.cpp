// Generates the sample photos of the program folder: painted scenes as JPEG files.
//
// Usage: lumiset_photo_gen <output folder> [name...]
// With names, only those photos are written (the build names them all; one name is handy while
// changing a scene). Other JPEG files in the folder, left by scenes since renamed, are removed.
#include "core/Error.h"
#include "core/FileAccess.h"
#include "tools/samples/SamplePhotos.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

using namespace lumiset;
using namespace lumiset::tools;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: lumiset_photo_gen <output folder> [name...]\n");
        return 2;
    }
    const QStringList only = args.mid(2);
    try {
        QStringList known;
        for (const SamplePhoto& photo : SamplePhotos())
            known << photo.name;
        for (const QString& name : only)
            if (!known.contains(name))
                throw Error(QStringLiteral("没有名为“%1”的示例照片").arg(name));
        QDir folder(args[1]);
        for (const QString& stale : folder.entryList({QStringLiteral("*.jpg")}, QDir::Files))
            if (!known.contains(stale.chopped(4)) && !folder.remove(stale))
                throw Error(QStringLiteral("无法删除旧的示例照片“%1”").arg(folder.filePath(stale)));
        QElapsedTimer timer;
        timer.start();
        qint64 total = 0;
        std::uint32_t seed = 0;
        for (const SamplePhoto& photo : SamplePhotos()) {
            ++seed; // each photo its own grain, whichever are asked for
            if (!only.isEmpty() && !only.contains(photo.name))
                continue;
            const QByteArray jpeg = EncodeSamplePhoto(photo, seed);
            WriteWholeFile(folder.filePath(photo.name + QStringLiteral(".jpg")), jpeg);
            total += jpeg.size();
        }
        std::printf("sample photos: %.1f MB in %.1f s\n", double(total) / 1e6, double(timer.elapsed()) / 1e3);
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
