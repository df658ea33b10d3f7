#include "photos/PhotoFile.h"
#include "photos/ExifFacts.h"
#include "tests/photos/CaseNames.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

QImage plain(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

} // namespace

// --- orientation: every EXIF value in both byte orders

struct OrientationCase {
    int orientation;
    bool bigEndian;
};

class OrientationTable : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(OrientationTable, QuarterTurnsSwapTheDisplayedSides) {
    const OrientationCase c = GetParam();
    TempTree tree;
    const QString path = tree.write(
        "photo.jpg", JpegWithExif(plain(QSize(40, 30)), ExifBlock{c.orientation, c.bigEndian, {}}));

    const PhotoInfo info = ReadPhotoInfo(path);

    EXPECT_EQ(info.storedSize, QSize(40, 30));
    EXPECT_EQ(info.orientation, c.orientation);
    EXPECT_EQ(info.displayedSize(), c.orientation >= 5 ? QSize(30, 40) : QSize(40, 30));
}

INSTANTIATE_TEST_SUITE_P(AllValues, OrientationTable, ::testing::ValuesIn([] {
                             std::vector<OrientationCase> cases;
                             for (int o = 1; o <= 8; ++o)
                                 for (bool bigEndian : {false, true})
                                     cases.push_back({o, bigEndian});
                             return cases;
                         }()));

// --- photo rows

struct RowCase {
    const char* fileName;
    QSize stored;
    int orientation; // 0: no EXIF block at all
    const char* name;
    const char* extension;
    QSize recorded;
};

class PhotoRowTable : public ::testing::TestWithParam<RowCase> {};

TEST_P(PhotoRowTable, RecordsTheDisplayedSizeAndTheNameParts) {
    const RowCase c = GetParam();
    TempTree tree;
    const QByteArray jpeg = c.orientation == 0
                                ? EncodeJpeg(plain(c.stored))
                                : JpegWithExif(plain(c.stored), ExifBlock{c.orientation, false, {}});
    const QString path = tree.write(QString::fromUtf8(c.fileName), jpeg);

    const PhotoRow row = ReadPhotoRow(path);

    EXPECT_EQ(row.name, QString::fromUtf8(c.name));
    EXPECT_EQ(row.extension, QString::fromUtf8(c.extension));
    EXPECT_EQ(QSize(row.width, row.height), c.recorded);
    EXPECT_EQ(row.path, path);
}

INSTANTIATE_TEST_SUITE_P(
    Photos, PhotoRowTable,
    ::testing::Values(RowCase{"IMG_1.jpg", {4000, 3000}, 6, "IMG_1", ".jpg", {3000, 4000}},
                      RowCase{"IMG_2.jpg", {4000, 3000}, 0, "IMG_2", ".jpg", {4000, 3000}},
                      RowCase{"IMG_3.JPG", {4000, 3000}, 3, "IMG_3", ".JPG", {4000, 3000}},
                      RowCase{"square.jpeg", {1000, 1000}, 8, "square", ".jpeg", {1000, 1000}},
                      RowCase{"竖拍.jpg", {300, 400}, 1, "竖拍", ".jpg", {300, 400}},
                      RowCase{"trip.2024.jpg", {64, 48}, 5, "trip.2024", ".jpg", {48, 64}},
                      RowCase{"no_extension", {64, 48}, 0, "no_extension", "", {64, 48}},
                      RowCase{".jpg", {64, 48}, 0, "", ".jpg", {64, 48}}));

TEST(PhotoFile, FindsTheExifBlockBehindOtherSegmentsAndFillBytes) {
    TempTree tree;
    const QByteArray xmp = QByteArray("\xFF\xE1\x00\x10http://ns.a\0", 18);
    QByteArray jpeg = InsertSegment(EncodeJpeg(plain(QSize(40, 30))), ExifSegment(ExifBlock{6, true, {}}));
    jpeg = InsertSegment(jpeg, xmp);
    jpeg.insert(2 + xmp.size(), "\xFF\xFF\xFF"); // fill bytes before the next marker

    const PhotoInfo info = ReadPhotoInfo(tree.write("camera.jpg", jpeg));

    EXPECT_EQ(info.orientation, 6);
    EXPECT_EQ(info.displayedSize(), QSize(30, 40));
}

// --- files that are refused

struct RefusedCase {
    const char* label;
    std::function<QString(const TempTree&)> make; // returns the path to read
    const char* problem;                          // part of the message that names the cause
};

class RefusedPhotos : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPhotos, AreRefusedWithAMessageNamingTheFile) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    try {
        ReadPhotoRow(path);
        FAIL() << "accepted " << GetParam().label;
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(path)) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QString::fromUtf8(GetParam().problem)))
            << error.message().toStdString();
    }
}

namespace {

QByteArray sampleJpeg() {
    return EncodeJpeg(plain(QSize(64, 48)));
}

// A valid JPEG whose frame header marker is replaced by `marker`.
QByteArray withFrameMarker(char marker) {
    QByteArray jpeg = sampleJpeg();
    jpeg[jpeg.indexOf("\xFF\xC0") + 1] = marker;
    return jpeg;
}

QByteArray pngBytes() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plain(QSize(8, 8)).save(&buffer, "PNG");
    return bytes;
}

std::function<QString(const TempTree&)> file(QByteArray content) {
    return [content](const TempTree& tree) { return tree.write("照片 1.jpg", content); };
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedPhotos,
    ::testing::Values(
        RefusedCase{"missing", [](const TempTree& tree) { return tree.file("gone.jpg"); }, "不存在"},
        RefusedCase{"folder", [](const TempTree& tree) { return tree.path(); }, "不是普通文件"},
        RefusedCase{"empty", file({}), "是空文件"}, RefusedCase{"one byte", file("\xFF"), "不是 JPEG 图片"},
        RefusedCase{"png renamed", file(pngBytes()), "不是 JPEG 图片"},
        RefusedCase{"text", file("just some text, not a picture\n"), "不是 JPEG 图片"},
        RefusedCase{"header cut short", file(sampleJpeg().left(100)), "文件头不完整"},
        RefusedCase{"cut inside the EXIF block",
                    file(JpegWithExif(plain(QSize(64, 48)), ExifBlock{6, false, sampleJpeg()}).left(300)),
                    "文件头不完整"},
        RefusedCase{"start and end only", file(QByteArray("\xFF\xD8\xFF\xD9", 4)), "文件头已损坏"},
        RefusedCase{"garbage after start", file(QByteArray("\xFF\xD8garbage-garbage")), "文件头已损坏"},
        RefusedCase{"picture data before size", file(QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6)),
                    "文件头已损坏"},
        RefusedCase{"lossless coding", file(withFrameMarker('\xC3')), "不支持的 JPEG 编码方式"},
        RefusedCase{"hierarchical coding", file(withFrameMarker('\xC5')), "不支持的 JPEG 编码方式"},
        RefusedCase{"zero width",
                    file(QByteArray("\xFF\xD8\xFF\xC0\x00\x0B\x08\x00\x10\x00\x00\x01\x01\x11\x00", 15)),
                    "尺寸为零"},
        // Only the header is read, so the import refuses what no view could show.
        RefusedCase{"too tall", file(EncodeJpeg(plain(QSize(2, 16000)))), "长宽比过于悬殊"},
        RefusedCase{"too wide", file(EncodeJpeg(plain(QSize(16000, 2)))), "长宽比过于悬殊"},
        RefusedCase{
            "pipe",
            [](const TempTree& tree) {
                const QString path = tree.file("pipe.jpg");
                mkfifo(QFile::encodeName(path).constData(), 0600);
                return path;
            },
            "不是普通文件"}),
    LabelName());

// --- EXIF blocks as cameras and editors write them, broken ones included

struct ExifCase {
    const char* label;
    QByteArray tiff;
    int orientation;
    qint64 thumbnailLength;
};

class ExifBlocks : public ::testing::TestWithParam<ExifCase> {};

TEST_P(ExifBlocks, YieldWhatCanBeReadAndNothingElse) {
    const ExifFacts facts = ParseExif(GetParam().tiff);
    EXPECT_EQ(facts.orientation, GetParam().orientation);
    EXPECT_EQ(facts.thumbnailLength, GetParam().thumbnailLength);
}

namespace {

QByteArray tiffOf(const ExifBlock& exif) {
    return ExifSegment(exif).mid(4 + 6); // without marker, length and "Exif\0\0"
}

QByteArray patched(QByteArray bytes, int at, QByteArray with) {
    return bytes.replace(at, with.size(), with);
}

const QByteArray kThumbnail = QByteArray(300, 'x');

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Blocks, ExifBlocks,
    ::testing::Values(
        ExifCase{"intel", tiffOf({7, false, kThumbnail}), 7, 300},
        ExifCase{"motorola", tiffOf({3, true, kThumbnail}), 3, 300}, ExifCase{"empty", {}, 1, 0},
        ExifCase{"bad byte order", patched(tiffOf({6, false, {}}), 0, "XX"), 1, 0},
        ExifCase{"bad magic", patched(tiffOf({6, false, {}}), 2, QByteArray("\x2B\x00", 2)), 1, 0},
        ExifCase{"directory past the end",
                 patched(tiffOf({6, false, {}}), 4, QByteArray("\xFF\xFF\x00\x00", 4)), 1, 0},
        // the entries that are there still count
        ExifCase{"entry count past the end", patched(tiffOf({6, false, {}}), 8, QByteArray("\xFF\xFF", 2)), 6,
                 0},
        ExifCase{"orientation out of range", tiffOf({9, false, {}}), 1, 0},
        ExifCase{"orientation as text", patched(tiffOf({6, false, {}}), 12, QByteArray("\x02\x00", 2)), 1, 0},
        ExifCase{"thumbnail past the end", tiffOf({6, false, kThumbnail}).left(200), 6, 0},
        ExifCase{"thumbnail directory loops to the first",
                 patched(tiffOf({6, false, {}}), 22, QByteArray("\x08", 1)), 6, 0}),
    LabelName());
