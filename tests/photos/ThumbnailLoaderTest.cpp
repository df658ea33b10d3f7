#include "photos/ThumbnailLoader.h"
#include "tests/photos/CaseNames.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace lumiset;
using namespace lumiset::test;

namespace {

const QSize kScene(160, 120);

// JPEG colours drift a little, and edges blur; sample away from edges.
bool looksLike(QRgb pixel, QColor expected) {
    return std::abs(qRed(pixel) - expected.red()) < 60 && std::abs(qGreen(pixel) - expected.green()) < 60 &&
           std::abs(qBlue(pixel) - expected.blue()) < 60;
}

::testing::AssertionResult pixelIs(const QImage& image, int x, int y, QColor expected) {
    const QRgb pixel = image.pixel(x, y);
    if (looksLike(pixel, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << QColor(pixel).name().toStdString() << ", expected "
           << expected.name().toStdString();
}

// The quadrants of the scene shown upright in `area`.
void expectUprightScene(const QImage& panel, const QRect& area) {
    const int qx = area.width() / 4, qy = area.height() / 4;
    EXPECT_TRUE(pixelIs(panel, area.left() + qx, area.top() + qy, Qt::red));
    EXPECT_TRUE(pixelIs(panel, area.left() + 3 * qx, area.top() + qy, Qt::green));
    EXPECT_TRUE(pixelIs(panel, area.left() + qx, area.top() + 3 * qy, Qt::blue));
    EXPECT_TRUE(pixelIs(panel, area.left() + 3 * qx, area.top() + 3 * qy, Qt::yellow));
}

// Renders on a black panel, so that anything drawn outside the area shows.
QImage renderOnBlack(const QString& path, QSize panelSize, const QRect& area,
                     ThumbnailStatus* status = nullptr) {
    QImage panel(panelSize, QImage::Format_RGB32);
    panel.fill(Qt::black);
    QPainter painter(&panel);
    const ThumbnailStatus result = ThumbnailLoader().render(path, painter, area);
    if (status)
        *status = result;
    return panel;
}

void expectUntouchedOutside(const QImage& panel, const QRect& area) {
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x)
            if (!area.contains(x, y) && panel.pixel(x, y) != qRgb(0, 0, 0)) {
                ADD_FAILURE() << "drawn outside the area at (" << x << ", " << y << ")";
                return;
            }
}

QImage solidImage(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray solidJpeg(QSize size, QColor colour) {
    return EncodeJpeg(solidImage(size, colour));
}

} // namespace

// --- every orientation is shown upright, at full and at reduced decoding size

struct UprightCase {
    int orientation;
    QRect area;
};

class UprightThumbnails : public ::testing::TestWithParam<UprightCase> {};

TEST_P(UprightThumbnails, ShowTheSceneUprightInsideTheArea) {
    const auto [orientation, area] = GetParam();
    TempTree tree;
    const QImage stored = StoredForOrientation(QuadrantScene(kScene), orientation);
    const QString path = tree.write("photo.jpg", JpegWithExif(stored, ExifBlock{orientation, false, {}}, 95));

    ThumbnailStatus status;
    const QImage panel = renderOnBlack(path, QSize(300, 200), area, &status);

    EXPECT_TRUE(status.pictureShown);
    EXPECT_TRUE(status.message.isEmpty()) << status.message.toStdString();
    expectUprightScene(panel, area);
    expectUntouchedOutside(panel, area);
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, UprightThumbnails, ::testing::ValuesIn([] {
                             std::vector<UprightCase> cases;
                             for (int o = 1; o <= 8; ++o) {
                                 cases.push_back({o, QRect(40, 30, 160, 120)}); // full size
                                 cases.push_back({o, QRect(7, 9, 40, 30)});     // decoded at 1/4
                             }
                             return cases;
                         }()));

TEST(ThumbnailLoader, FitsAndCentresAPictureOfOtherProportionsOnWhite) {
    TempTree tree;
    const QString path = tree.write("photo.jpg", EncodeJpeg(QuadrantScene(kScene), 95));
    const QRect area(10, 10, 200, 100);

    const QImage panel = renderOnBlack(path, QSize(240, 140), area);

    // 160 x 120 fitted into 200 x 100 is 133 x 100, centred: x from 43 to 175.
    expectUprightScene(panel, QRect(43, 10, 133, 100));
    EXPECT_TRUE(pixelIs(panel, 20, 60, Qt::white));
    EXPECT_TRUE(pixelIs(panel, 200, 60, Qt::white));
    expectUntouchedOutside(panel, area);
}

TEST(ThumbnailLoader, AnAreaReachingBeyondThePanelIsCutByThePanel) {
    TempTree tree;
    const QString path = tree.write("wide.jpg", EncodeJpeg(QuadrantScene(QSize(200, 100)), 95));

    // A 2:1 picture covering a 128 x 72 panel: drawn 144 x 72 at left -8.
    const QImage panel = ThumbnailLoader().renderPanel(path, QSize(128, 72), QRect(-8, 0, 144, 72));

    expectUprightScene(panel, QRect(-8, 0, 144, 72));
    EXPECT_TRUE(pixelIs(panel, 0, 0, Qt::red));
    EXPECT_TRUE(pixelIs(panel, 127, 71, Qt::yellow));
}

// A very tall photo covering a wide panel (or a very wide one a tall panel) is drawn a hundred times
// larger than the panel; only its middle is shown, and only that may be scaled.
class CoveringPictures : public ::testing::TestWithParam<QSize> {};

TEST_P(CoveringPictures, ShowTheirMiddleWithoutScalingTheRest) {
    TempTree tree;
    const QSize picture = GetParam();
    // Lossless, so that the quadrant edges stay sharp at a hundredfold enlargement.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QuadrantScene(picture).save(&buffer, "PNG");
    const QString path = tree.write("long.png", png);
    const QSize panelSize = picture.width() < picture.height() ? QSize(1920, 1080) : QSize(1080, 1920);
    const QSize covering = picture.scaled(panelSize, Qt::KeepAspectRatioByExpanding);
    const QRect area(
        QPoint((panelSize.width() - covering.width()) / 2, (panelSize.height() - covering.height()) / 2),
        covering);

    ThumbnailStatus status;
    const QImage panel = ThumbnailLoader().renderPanel(path, panelSize, area, &status);

    EXPECT_TRUE(status.pictureShown) << status.message.toStdString();
    EXPECT_TRUE(status.message.isEmpty()) << status.message.toStdString();
    expectUprightScene(panel, QRect(QPoint(0, 0), panelSize));
}

INSTANTIATE_TEST_SUITE_P(Shapes, CoveringPictures, ::testing::Values(QSize(20, 2000), QSize(2000, 20)));

TEST(ThumbnailLoader, ShowsAPhotoAtTheLargestProportionAllowed) {
    TempTree tree;
    const QString path = tree.write("panorama.jpg", solidJpeg(QSize(3000, 30), Qt::blue));
    ThumbnailStatus status;
    const QImage panel = renderOnBlack(path, QSize(320, 40), QRect(10, 10, 300, 3), &status);
    EXPECT_TRUE(status.pictureShown) << status.message.toStdString();
    EXPECT_TRUE(pixelIs(panel, 160, 11, Qt::blue));
}

// --- the EXIF thumbnail stands in for the photo only when it can

struct ExifThumbnailCase {
    const char* label;
    QByteArray thumbnail;
    int orientation;
    QSize area;
    QColor expected; // blue: the thumbnail was used; red: the photo itself
};

class ExifThumbnails : public ::testing::TestWithParam<ExifThumbnailCase> {};

TEST_P(ExifThumbnails, AreUsedOnlyWhenBigEnoughAndOfTheSameProportions) {
    const ExifThumbnailCase& c = GetParam();
    TempTree tree;
    const QString path = tree.write("photo.jpg", JpegWithExif(solidImage(QSize(640, 480), Qt::red),
                                                              ExifBlock{c.orientation, false, c.thumbnail}));
    ThumbnailStatus status;
    const QImage panel = ThumbnailLoader().renderPanel(path, c.area, QRect(QPoint(0, 0), c.area), &status);

    EXPECT_TRUE(status.pictureShown);
    EXPECT_TRUE(status.message.isEmpty()) << status.message.toStdString();
    EXPECT_TRUE(pixelIs(panel, c.area.width() / 2, c.area.height() / 2, c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ExifThumbnails,
    ::testing::Values(
        ExifThumbnailCase{"big enough", solidJpeg(QSize(160, 120), Qt::blue), 1, {80, 60}, Qt::blue},
        ExifThumbnailCase{"too small", solidJpeg(QSize(160, 120), Qt::blue), 1, {320, 240}, Qt::red},
        ExifThumbnailCase{"letterboxed", solidJpeg(QSize(160, 160), Qt::blue), 1, {80, 60}, Qt::red},
        ExifThumbnailCase{"broken", QByteArray(2000, '\x5A'), 1, {80, 60}, Qt::red},
        ExifThumbnailCase{
            "turned with the photo", solidJpeg(QSize(160, 120), Qt::blue), 6, {60, 80}, Qt::blue}),
    LabelName());

// --- files that cannot be shown

struct BrokenCase {
    const char* label;
    std::function<QString(const TempTree&)> make;
    const char* problem;
};

class BrokenPhotos : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenPhotos, GetThePlaceholderAndAMessageNamingTheFile) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    const QRect area(20, 10, 120, 90);

    ThumbnailStatus status;
    const QImage panel = renderOnBlack(path, QSize(160, 110), area, &status);

    EXPECT_FALSE(status.pictureShown);
    EXPECT_TRUE(status.message.contains(path)) << status.message.toStdString();
    EXPECT_TRUE(status.message.contains(QString::fromUtf8(GetParam().problem)))
        << status.message.toStdString();
    EXPECT_TRUE(pixelIs(panel, area.left() + 2, area.top() + 2, Qt::white)); // the panel is white
    int iconPixels = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            iconPixels += panel.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(iconPixels, area.width() * area.height() / 10); // a picture icon is drawn
    expectUntouchedOutside(panel, area);
}

namespace {

std::function<QString(const TempTree&)> file(QByteArray content) {
    return [content](const TempTree& tree) { return tree.write("坏照片.jpg", content); };
}

// A valid small JPEG whose header claims 60000 x 60000 pixels.
QByteArray forgedGiant() {
    QByteArray jpeg = solidJpeg(QSize(64, 48), Qt::red);
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    return jpeg.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenPhotos,
    ::testing::Values(
        BrokenCase{"missing", [](const TempTree& tree) { return tree.file("gone.jpg"); }, "不存在"},
        BrokenCase{"empty", file({}), "是空文件"},
        BrokenCase{"garbage", file(QByteArray(5000, '\x17')), "不是能显示的图片"},
        BrokenCase{"header cut short", file(solidJpeg(QSize(64, 48), Qt::red).left(120)), "文件头不完整"},
        BrokenCase{"data destroyed",
                   file(solidJpeg(QSize(64, 48), Qt::red).left(200) + QByteArray(400, '\xFF')),
                   "图片数据已损坏"},
        BrokenCase{"forged giant size", file(forgedGiant()), "太大"},
        BrokenCase{"too tall to show", file(solidJpeg(QSize(2, 16000), Qt::red)), "长宽比过于悬殊"},
        BrokenCase{"too wide to show", file(solidJpeg(QSize(16000, 2), Qt::red)), "长宽比过于悬殊"}),
    LabelName());

TEST(ThumbnailLoader, ShowsWhatCanBeReadOfAFileCutShort) {
    TempTree tree;
    QImage noisy = QuadrantScene(QSize(640, 480));
    for (int y = 0; y < noisy.height(); y += 2) // texture, so that the data is spread over the file
        for (int x = (y / 2) % 2; x < noisy.width(); x += 2)
            noisy.setPixel(x, y, QColor(noisy.pixel(x, y)).darker(110).rgb());
    const QByteArray jpeg = EncodeJpeg(noisy, 95);
    const QString path = tree.write("cut.jpg", jpeg.left(jpeg.size() * 6 / 10));

    ThumbnailStatus status;
    const QImage panel = ThumbnailLoader().renderPanel(path, QSize(320, 240), QRect(0, 0, 320, 240), &status);

    EXPECT_TRUE(status.pictureShown);
    EXPECT_TRUE(status.message.contains(path));
    EXPECT_TRUE(status.message.contains(QStringLiteral("不完整"))) << status.message.toStdString();
    EXPECT_TRUE(pixelIs(panel, 80, 60, Qt::red));
    EXPECT_TRUE(pixelIs(panel, 240, 60, Qt::green));
}

TEST(ThumbnailLoader, ShowsPicturesOfOtherFormats) {
    TempTree tree;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QuadrantScene(kScene).save(&buffer, "PNG");
    const QString path = tree.write("background.jpg", png); // content decides, not the name

    ThumbnailStatus status;
    const QImage panel = renderOnBlack(path, QSize(100, 80), QRect(10, 10, 80, 60), &status);

    EXPECT_TRUE(status.pictureShown);
    expectUprightScene(panel, QRect(10, 10, 80, 60));
}

TEST(ThumbnailLoader, ShowsCmykPhotosInTheirColours) {
    TempTree tree;
    const QString path = tree.write("print.jpg", CmykJpeg(QSize(64, 48), QColor(200, 40, 30)));

    ThumbnailStatus status;
    const QImage panel = ThumbnailLoader().renderPanel(path, QSize(32, 24), QRect(0, 0, 32, 24), &status);

    EXPECT_TRUE(status.pictureShown) << status.message.toStdString();
    EXPECT_TRUE(pixelIs(panel, 16, 12, QColor(200, 40, 30)));
}

TEST(ThumbnailLoader, WorkerThreadsRenderWhatOneThreadRenders) {
    TempTree tree;
    QStringList paths;
    for (int o = 1; o <= 8; ++o) {
        const QImage stored = StoredForOrientation(QuadrantScene(QSize(400, 300)), o);
        paths << tree.write(QStringLiteral("p%1.jpg").arg(o),
                            JpegWithExif(stored, ExifBlock{o, o % 2 == 0, {}}));
    }
    paths << tree.file("missing.jpg");
    const ThumbnailLoader loader;
    const auto renderAll = [&] {
        QList<QImage> pages;
        for (const QString& path : paths)
            pages << loader.renderPanel(path, QSize(200, 150), QRect(0, 0, 200, 150));
        return pages;
    };
    const QList<QImage> expected = renderAll();

    std::vector<QList<QImage>> results(4);
    std::vector<std::thread> workers;
    for (auto& result : results)
        workers.emplace_back([&result, &renderAll] { result = renderAll(); });
    for (auto& worker : workers)
        worker.join();

    for (const auto& result : results)
        EXPECT_TRUE(result == expected);
}
