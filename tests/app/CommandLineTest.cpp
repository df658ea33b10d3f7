#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/TextHelpers.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumiset;
using lumiset::test::TempTree;
using ::testing::HasSubstr;

namespace {

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessResult runLumiset(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(LUMISET_EXECUTABLE), args);
    process.waitForFinished(120'000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString writePhoto(const TempTree& tree, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(QRect(QPoint(0, 0), size / 2), Qt::white);
    const QString path = tree.file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "JPG"))
        throw std::runtime_error("cannot write a test photo");
    return path;
}

QString sampleFile(const QString& name) {
    return QString::fromLocal8Bit(qgetenv("LUMISET_PROGRAM_DIR")) + QStringLiteral("/yinyuegeciwenjian/") +
           name;
}

} // namespace

TEST(CatalogueCommand, PrintsTheFiveTablesOfTheShippedData) {
    const ProcessResult run = runLumiset({"catalogue"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList headings;
    for (const QString& line : run.out.split(u'\n'))
        if (line.startsWith(QLatin1String("# ")))
            headings.append(line.mid(2));
    EXPECT_EQ(headings, (QStringList{"ListView_mobancanshu", "ListView_hengzhaopian", "ListView_shuzhaopian",
                                     "ListView_gaojimoban", "ListView_moban"}));
    const QStringList firstRow = run.out.split(u'\n').at(1).split(u'\t');
    EXPECT_EQ(firstRow.size(), CatalogueCol::Count);
}

TEST(CommandLine, FailsWithAOneLineMessage) {
    for (const QStringList& args : {QStringList{"preview-template", "99999", "--out", "/tmp/x"},
                                    QStringList{"album", "--photos"}, QStringList{"no-such-command"}}) {
        const ProcessResult run = runLumiset(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty());
    }
    EXPECT_EQ(runLumiset({"preview-template", "99999", "--out", "/tmp/x"}).err.trimmed().count(u'\n'), 0);
}

// Without arguments the program opens its windows; where there is no display it says so in one line
// instead of letting Qt abort.
TEST(CommandLine, WithoutADisplayTheWindowsSayWhyTheyCannotOpen) {
    struct Case {
        const char* platform; // empty: not set
        const char* missing;
    };
    for (const Case& c : {Case{"", "DISPLAY 与 WAYLAND_DISPLAY 均未设置"}, Case{"xcb", "DISPLAY 未设置"}}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        if (*c.platform)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(c.platform));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LUMISET_EXECUTABLE), {});
        ASSERT_TRUE(process.waitForFinished(30'000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_EQ(err.trimmed().count(u'\n'), 0) << err.toStdString();
        EXPECT_THAT(err.toStdString(), HasSubstr("没有可用的显示器"));
        EXPECT_THAT(err.toStdString(), HasSubstr(c.missing));
        EXPECT_THAT(err.toStdString(), HasSubstr("lumiset produce"));
    }
}

TEST(PreviewTemplateCommand, RendersRequestedFramesWithPhotos) {
    TempTree tree;
    const QString photo = writePhoto(tree, "wide.jpg", {1200, 800}, QColor(200, 30, 30));
    const ProcessResult run = runLumiset({"preview-template", "0", "--photos", photo, "--frame", "0", "100",
                                          "--size", "480x270", "--out", tree.file("out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage frame(tree.file("out/100.png"));
    ASSERT_EQ(frame.size(), QSize(480, 270));
    // The photo's red shows somewhere in the middle of the template.
    int red = 0;
    for (int y = 0; y < frame.height(); y += 3)
        for (int x = 0; x < frame.width(); x += 3) {
            const QColor c = frame.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 200);
    EXPECT_TRUE(QImage(tree.file("out/0.png")).size() == QSize(480, 270));
}

TEST(AlbumCommand, SavesEveryTableOfTheBuiltAlbum) {
    TempTree tree;
    writePhoto(tree, "photos/a.jpg", {1600, 1200}, Qt::blue);
    writePhoto(tree, "photos/b.jpg", {1600, 1200}, Qt::green);
    writePhoto(tree, "photos/c.jpg", {1000, 1000}, Qt::yellow); // square: landscape
    writePhoto(tree, "photos/d.jpg", {900, 1600}, Qt::red);
    tree.write("photos/notes.txt", "not a photo");
    const ProcessResult run =
        runLumiset({"album", "--photos", tree.file("photos"), "--music", sampleFile("甜蜜蜜.mp3"), "--lyrics",
                    sampleFile("甜蜜蜜.lrc"), "--check", "RadioButton_huamiantexiao_tianjia", "--yes",
                    "--save", tree.file("album.lumiset")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_THAT(run.out.toStdString(), HasSubstr("photos: 4"));
    EXPECT_THAT(run.out.toStdString(), HasSubstr("photos left unplaced: 0"));

    const Album album = OpenAlbum(tree.file("album.lumiset"));
    EXPECT_TRUE(AlbumProblems(album).isEmpty());
    ASSERT_EQ(album.photos.rowCount(), 4);
    EXPECT_EQ(album.photos.row(2),
              (QStringList{"3", "c", ".jpg", "1000", "1000", tree.file("photos/c.jpg"), "完成"}));
    EXPECT_EQ(album.landscapePhotos.rowCount(), 3);
    EXPECT_EQ(album.pendingLandscape.rowCount() + album.pendingPortrait.rowCount(), 0);

    ASSERT_GT(album.usedTemplates.rowCount(), 0);
    EXPECT_EQ(album.backgrounds.rowCount(), album.usedTemplates.rowCount());
    for (int r = 0; r < album.usedTemplates.rowCount(); ++r) {
        EXPECT_EQ(album.usedTemplates.cell(r, UsedTemplateCol::Position), QString::number(r + 1));
        EXPECT_EQ(album.usedTemplates.cell(r, UsedTemplateCol::Matching), "已完成");
        EXPECT_FALSE(album.backgrounds.cell(r, BackgroundCol::Path).isEmpty()); // a photo or the default
    }
    QSet<QString> placed;
    for (const QStringList& slot : album.templateSlots.rows()) {
        EXPECT_EQ(slot[SlotCol::MatchState], "yi_pipei");
        EXPECT_EQ(slot[SlotCol::PhotoPath],
                  album.photos.cell(slot[SlotCol::PhotoRow].toInt(), PhotoCol::Path));
        EXPECT_THAT(slot[SlotCol::CropMode].toStdString(),
                    ::testing::AnyOf("quanping_or_jubuquanping", "shizhong"));
        placed.insert(slot[SlotCol::PhotoRow]);
    }
    EXPECT_EQ(placed.size(), 4);

    ASSERT_EQ(album.music.rowCount(), 1);
    EXPECT_TRUE(
        QRegularExpression("^00:0[01]:\\d\\d$").match(album.music.cell(0, MusicCol::Length)).hasMatch());
    ASSERT_EQ(album.lyricSettings.rowCount(), 1);
    EXPECT_EQ(album.lyricSettings.cell(0, LyricSettingsCol::Font), "黑体");
    EXPECT_GT(album.pictureEffects.rowCount(), 0);
    EXPECT_EQ(album.settings.value("RadioButton_huamiantexiao_tianjia"), "true");
}

TEST(AlbumCommand, OpensAnAlbumAndAddsToIt) {
    TempTree tree;
    writePhoto(tree, "one.jpg", {1600, 1200}, Qt::blue);
    writePhoto(tree, "two.jpg", {900, 1600}, Qt::red);
    ASSERT_EQ(
        runLumiset({"album", "--photos", tree.file("one.jpg"), "--save", tree.file("a.lumiset")}).exitCode,
        0);
    const ProcessResult run = runLumiset({"album", "--open", tree.file("a.lumiset"), "--photos",
                                          tree.file("two.jpg"), "--save", tree.file("b.lumiset")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const Album album = OpenAlbum(tree.file("b.lumiset"));
    EXPECT_EQ(album.photos.rowCount(), 2);
    EXPECT_TRUE(AlbumProblems(album).isEmpty());
}

TEST(PreviewEffectsCommand, DrawsBothLibraries) {
    TempTree tree;
    const ProcessResult run = runLumiset({"preview-effects", "--out", tree.file("fx")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage pictures(tree.file("fx/picture-effects.png"));
    const QImage texts(tree.file("fx/text-effects.png"));
    EXPECT_GE(pictures.height(), 8 * 180); // one row per picture effect, at least eight of them
    EXPECT_EQ(texts.height(), 20 * 100);   // one row per text category
}

namespace {

// A request that cannot be carried out whole ends with a message and a non-zero exit, and writes
// nothing: no album, no frame.
struct RefusedRequest {
    const char* name;
    std::function<QStringList(const TempTree&)> args; // written output goes to tree "out"
    const char* message;
};

class RefusedRequests : public ::testing::TestWithParam<RefusedRequest> {};

QString fifo(const TempTree& tree, const QString& name) {
    const QString path = tree.file(name);
    mkfifo(QFile::encodeName(path).constData(), 0600);
    return path;
}

} // namespace

TEST_P(RefusedRequests, FailWithAMessageAndWriteNothing) {
    TempTree tree;
    const QStringList args = GetParam().args(tree);
    const ProcessResult run = runLumiset(args);
    EXPECT_NE(run.exitCode, 0) << run.out.toStdString();
    EXPECT_THAT(run.err.toStdString(), HasSubstr(GetParam().message));
    EXPECT_FALSE(QFileInfo::exists(tree.file("out/album.lumiset")));
    EXPECT_TRUE(QDir(tree.file("out")).isEmpty(QDir::Files | QDir::NoDotAndDotDot));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedRequests,
    ::testing::Values(
        RefusedRequest{"FolderOfUnreadablePhotos",
                       [](const TempTree& tree) {
                           tree.write("photos/broken.jpg", "not a photo");
                           fifo(tree, "photos/pipe.jpg");
                           return QStringList{"album", "--photos", tree.file("photos"), "--save",
                                              tree.file("out/album.lumiset")};
                       },
                       "都不能使用"},
        RefusedRequest{"FolderWithoutPhotos",
                       [](const TempTree& tree) {
                           tree.write("photos/notes.txt", "x");
                           return QStringList{"album", "--photos", tree.file("photos"), "--save",
                                              tree.file("out/album.lumiset")};
                       },
                       "没有 JPEG 照片"},
        RefusedRequest{"OnlyRefusedMusic",
                       [](const TempTree& tree) {
                           writePhoto(tree, "p.jpg", {1600, 1200}, Qt::blue);
                           return QStringList{"album",
                                              "--photos",
                                              tree.file("p.jpg"),
                                              "--music",
                                              tree.write("song.mp3", QByteArray(64, '\0')),
                                              "--save",
                                              tree.file("out/album.lumiset")};
                       },
                       "音乐"},
        RefusedRequest{"AlbumFromAPipe",
                       [](const TempTree& tree) {
                           return QStringList{"album", "--open", fifo(tree, "album.fifo"), "--save",
                                              tree.file("out/album.lumiset")};
                       },
                       "不是普通文件"},
        RefusedRequest{
            "AlbumFromAnEndlessDevice",
            [](const TempTree& tree) {
                return QStringList{"album", "--open", "/dev/zero", "--save", tree.file("out/album.lumiset")};
            },
            "不是普通文件"},
        RefusedRequest{"FramePastTheEnd",
                       [](const TempTree& tree) {
                           return QStringList{"preview-template", "0",      "--frame", "5",
                                              "250000",           "--size", "160x90",  "--out",
                                              tree.file("out")};
                       },
                       "250000"},
        RefusedRequest{"PhotoTooTallToShow",
                       [](const TempTree& tree) {
                           return QStringList{"preview-template",
                                              "0",
                                              "--photos",
                                              writePhoto(tree, "tall.jpg", {2, 16000}, Qt::red),
                                              "--size",
                                              "160x90",
                                              "--out",
                                              tree.file("out")};
                       },
                       "长宽比过于悬殊"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PreviewTemplateCommand, SaysWhenAPhotoShowsOnlyInPart) {
    TempTree tree;
    QImage noisy(1200, 800, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x + y * 11) % 256));
    const QString whole = tree.file("whole.jpg");
    ASSERT_TRUE(noisy.save(whole, "JPG", 95));
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString cut = tree.write("cut.jpg", bytes.left(bytes.size() / 2));

    const ProcessResult run = runLumiset({"preview-template", "0", "--photos", cut, "--frame", "100",
                                          "--size", "160x90", "--out", tree.file("out")});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_THAT(run.err.toStdString(), HasSubstr("cut.jpg"));
    EXPECT_THAT(run.err.toStdString(), HasSubstr("不完整"));
}
