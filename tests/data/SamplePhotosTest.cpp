// The sample photos the build paints beside the program: a small set of photo-sized JPEGs, mostly
// landscape with some portrait as shown, one of them stored sideways with an EXIF orientation that
// the program must apply to show it upright.
#include "core/FileAccess.h"
#include "photos/JpegDecoder.h"
#include "photos/Orientation.h"
#include "photos/PhotoFile.h"
#include "tests/data/ShippedData.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

QDir photoFolder() {
    return QDir(ShippedPaths().programDir() + QStringLiteral("/samples/photos"));
}

QStringList photoPaths() {
    QStringList paths;
    const QDir folder = photoFolder();
    for (const QString& name : folder.entryList({QStringLiteral("*")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

// Where the brightest part of a picture lies, as a share of its height (0 top, 1 bottom).
double brightestHeight(const QImage& picture) {
    const QImage small = picture.scaled(picture.width() / 8, picture.height() / 8, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    int best = -1, bestY = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            if (const int v = qGray(small.pixel(x, y)); v > best) {
                best = v;
                bestY = y;
            }
    return double(bestY) / small.height();
}

TEST(SamplePhotos, AreTwelveJpegsEightLandscapeAndFourPortraitAsShown) {
    const QStringList paths = photoPaths();
    ASSERT_EQ(paths.size(), 12) << qPrintable(photoFolder().path());
    int landscape = 0, portrait = 0;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        EXPECT_TRUE(name.endsWith(QStringLiteral(".jpg")));
        for (const QChar c : name)
            EXPECT_LT(c.unicode(), 128) << qPrintable(name) << " is not plain ASCII";
        const QSize shown = ReadPhotoInfo(path).displayedSize();
        if (shown == QSize(2400, 1600))
            ++landscape;
        else if (shown == QSize(1600, 2400))
            ++portrait;
        else
            ADD_FAILURE() << qPrintable(name) << " shows as " << shown.width() << " x " << shown.height();
    }
    EXPECT_EQ(landscape, 8);
    EXPECT_EQ(portrait, 4);
}

TEST(SamplePhotos, StayASmallDownload) {
    qint64 total = 0;
    for (const QString& path : photoPaths())
        total += QFileInfo(path).size();
    EXPECT_GT(total, 0);
    EXPECT_LT(total, 6 * 1000 * 1000);
}

TEST(SamplePhotos, OneIsStoredSidewaysAndShowsUprightWithItsOrientation) {
    QStringList sideways;
    for (const QString& path : photoPaths())
        if (ReadPhotoInfo(path).orientation != kUprightOrientation)
            sideways << path;
    ASSERT_EQ(sideways.size(), 1);
    const PhotoInfo info = ReadPhotoInfo(sideways.front());
    EXPECT_EQ(info.orientation, 6);
    EXPECT_EQ(info.storedSize, QSize(2400, 1600));
    EXPECT_EQ(info.displayedSize(), QSize(1600, 2400));

    // Turned as its tag says, the lighthouse's lit lamp, the brightest thing in it, stands high in
    // the picture; turned the wrong way round it would hang low.
    const QByteArray data = ReadWholeFile(sideways.front());
    const DecodedJpeg decoded = DecodeJpegScaled(data, info.storedSize, sideways.front());
    ASSERT_TRUE(decoded.complete);
    const QImage upright = ApplyOrientation(decoded.image, info.orientation);
    ASSERT_EQ(upright.size(), QSize(1600, 2400));
    EXPECT_LT(brightestHeight(upright), 0.45);
}

} // namespace
