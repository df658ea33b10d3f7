// Checks the shipped effect libraries and the sample song as the build generated them in the program
// folder: what the effect windows, the automatic placement, the player and the production rely on.
#include "core/DataPaths.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "effects/EffectFrames.h"
#include "media/AudioInput.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace lumiset;

namespace {

const QString kSection = QStringLiteral("wj_x_g_c_l_0");
const QSize kStage(800, 450);
const QSize kProduction(1920, 1080);
constexpr int kCategories = 20;

// The program folder this build fills (the test main names it).
DataPaths programPaths() {
    return DataPaths::forRunningProgram();
}

// Effect folders wj_x_g_c_l_1 … counted the way the program does: up to the first missing number.
int countNumbered(const QString& folder) {
    int n = 0;
    while (QDir(folder + QStringLiteral("/wj_x_g_c_l_%1").arg(n + 1)).exists())
        ++n;
    return n;
}

// Every numbered folder must lie inside the counted range, or the program would never list it.
void expectNoStrayNumbers(const QString& folder, int count) {
    const QRegularExpression numbered(QStringLiteral("^wj_x_g_c_l_(\\d+)$"));
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto match = numbered.match(name);
        ASSERT_TRUE(match.hasMatch()) << qPrintable(folder + u'/' + name);
        EXPECT_LE(match.captured(1).toInt(), count)
            << qPrintable(folder + u'/' + name) << " lies after a gap";
    }
}

int requireNumber(const IniFile& ini, const QString& key, const QString& file) {
    bool ok = false;
    const int value = ini.value(kSection, key).toInt(&ok);
    EXPECT_TRUE(ok) << qPrintable(file) << ": " << qPrintable(key) << " is not a number";
    return value;
}

QSize frameSize(const QString& path) {
    return QImageReader(path).size(); // header only
}

// Whether any pixel of `area` shows something.
bool showsAnything(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
        }
    }
    return false;
}

// A production frame lies within the whole frame the production places, and is cropped to what it
// shows: within the one transparent pixel kept around the content, every edge touches it.
void expectCroppedWithin(const QString& path, const QSize& whole) {
    const EffectFrame frame = LoadEffectFrame(path);
    const QRect placed(frame.offset, frame.image.size());
    EXPECT_TRUE(QRect(QPoint(0, 0), whole).contains(placed)) << qPrintable(path);
    const QRect all = frame.image.rect();
    if (all.size() == QSize(1, 1))
        return; // an empty frame
    const int w = all.width(), h = all.height();
    for (const QRect& edge :
         {QRect(0, 0, w, std::min(2, h)), QRect(0, std::max(0, h - 2), w, std::min(2, h)),
          QRect(0, 0, std::min(2, w), h), QRect(std::max(0, w - 2), 0, std::min(2, w), h)})
        EXPECT_TRUE(showsAnything(frame.image, edge)) << qPrintable(path) << " is larger than its content";
}

IniFile loadParameters(const QString& effectFolder) {
    const QString number = effectFolder.section(u'_', -1);
    return IniFile::load(effectFolder + QStringLiteral("/wj_x_g_c_l_%1.ini").arg(number));
}

} // namespace

TEST(PictureEffectLibrary, NumberedWithoutGapsAndHoldsTheCombinationEffects) {
    const QString root = programPaths().pictureEffectLibrary();
    const int count = countNumbered(root);
    // The automatic combinations use effects 1, 2, 3, 5 and 6.
    EXPECT_GE(count, 8) << qPrintable(root);
    expectNoStrayNumbers(root, count);
}

TEST(PictureEffectLibrary, EveryEffectHasItsParametersAndBothFrameSizes) {
    const DataPaths paths = programPaths();
    const int count = countNumbered(paths.pictureEffectLibrary());
    ASSERT_GT(count, 0);
    QSet<QString> names;
    for (int n = 1; n <= count; ++n) {
        const QString folder = paths.pictureEffectFolder(n);
        SCOPED_TRACE(folder.toStdString());
        const IniFile ini = loadParameters(folder);
        const QString name = ini.value(kSection, QStringLiteral("wj_x_g_c_l_0"));
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(names.contains(name)) << "two picture effects named " << qPrintable(name);
        names.insert(name);
        const int frames = requireNumber(ini, QStringLiteral("wj_x_g_c_l_sum"), folder);
        EXPECT_GE(frames, 25);
        EXPECT_LE(frames, 75);
        for (int k = 1; k <= frames; ++k) {
            ASSERT_EQ(frameSize(folder + QStringLiteral("/%1.png").arg(k)), kStage) << "frame " << k;
            expectCroppedWithin(folder + QStringLiteral("/2_%1.png").arg(k), kProduction);
        }
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/%1.png").arg(frames + 1)));
    }
}

TEST(TextEffectLibrary, HasExactlyTheTwentyCategoriesOfTheSelector) {
    const QString root = programPaths().textEffectLibrary();
    EXPECT_EQ(countNumbered(root), kCategories) << qPrintable(root);
    expectNoStrayNumbers(root, kCategories);
}

class TextEffectCategory : public ::testing::TestWithParam<int> {};

TEST_P(TextEffectCategory, EffectsAreCompleteFitTheStageAndCoverEveryMark) {
    const DataPaths paths = programPaths();
    const int category = GetParam();
    const QString categoryFolder = paths.textEffectCategory(category);
    const int count = countNumbered(categoryFolder);
    EXPECT_GE(count, 4) << qPrintable(categoryFolder);
    expectNoStrayNumbers(categoryFolder, count);

    QSet<QChar> marks;
    for (int e = 1; e <= count; ++e) {
        const QString folder = paths.textEffectFolder(category, e);
        SCOPED_TRACE(folder.toStdString());
        const IniFile ini = loadParameters(folder);
        EXPECT_FALSE(ini.value(kSection, QStringLiteral("wj_x_g_c_l_0")).isEmpty());
        const int frames = requireNumber(ini, QStringLiteral("wj_x_g_c_l_sum"), folder);
        const int still = requireNumber(ini, QStringLiteral("wj_x_g_c_l_1"), folder);
        const int x = requireNumber(ini, QStringLiteral("wj_x_g_c_l_wz1"), folder);
        const int y = requireNumber(ini, QStringLiteral("wj_x_g_c_l_wz2"), folder);
        const QString mode = ini.value(kSection, QStringLiteral("wj_x_g_c_l_wz"));
        EXPECT_GE(frames, 25);
        EXPECT_LE(frames, 75);
        EXPECT_GE(still, 1);
        EXPECT_LE(still, frames);
        EXPECT_TRUE(mode == QStringLiteral("n") || mode == QStringLiteral("z")) << qPrintable(mode);

        const QString effectMarks = ini.value(kSection, QStringLiteral("wxcs03"));
        EXPECT_FALSE(effectMarks.isEmpty());
        for (const QChar mark : effectMarks) {
            EXPECT_TRUE(QStringLiteral("ABCD").contains(mark))
                << "unknown mark " << qPrintable(QString(mark));
            marks.insert(mark);
        }

        const QSize size = frameSize(folder + QStringLiteral("/%1.png").arg(still));
        ASSERT_TRUE(size.isValid()) << "no still frame " << still;
        // The caption sits wholly on the stage where the window places it by default.
        const QPoint topLeft = mode == QStringLiteral("z") ? QPoint(kStage.width() / 2 - size.width() / 2,
                                                                    kStage.height() / 2 - size.height() / 2)
                                                           : QPoint(x, y);
        EXPECT_TRUE(QRect(QPoint(0, 0), kStage).contains(QRect(topLeft, size)));
        // Production frames are 2.4 times the stage picture (rounded), cropped within that.
        const QSize production(qRound(size.width() * 2.4), qRound(size.height() * 2.4));
        for (int k = 1; k <= frames; ++k) {
            ASSERT_EQ(frameSize(folder + QStringLiteral("/%1.png").arg(k)), size) << "frame " << k;
            expectCroppedWithin(folder + QStringLiteral("/2_%1.png").arg(k), production);
        }
    }
    // Any template's marks can then be served from any category.
    EXPECT_EQ(marks, (QSet<QChar>{u'A', u'B', u'C', u'D'}));
}

INSTANTIATE_TEST_SUITE_P(All, TextEffectCategory, ::testing::Range(1, kCategories + 1));

namespace {

struct DecodedAudio {
    double seconds = 0;
    int sampleRate = 0;
    int channels = 0;
};

// Decodes every frame: the only exact length of an MP3 stream.
DecodedAudio decodeWholeFile(const QString& path) {
    DecodedAudio result;
    qint64 samples = 0;
    DecodeAudio(OpenAudioInput(path, path), path, [&](const AVFrame* frame) {
        samples += frame->nb_samples;
        result.sampleRate = frame->sample_rate;
        result.channels = frame->ch_layout.nb_channels;
    });
    result.seconds = result.sampleRate > 0 ? double(samples) / result.sampleRate : 0;
    return result;
}

} // namespace

TEST(SampleSong, DecodesToAStereoSongOfSixtyToNinetySeconds) {
    const DecodedAudio audio = decodeWholeFile(programPaths().sampleMusic());
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_GE(audio.seconds, 60);
    EXPECT_LE(audio.seconds, 90);
}

TEST(SampleSong, LyricsAreGbkWithTagsAndRisingTimesWithinTheSong) {
    const DataPaths paths = programPaths();
    const QByteArray bytes = ReadWholeFile(paths.sampleLyrics());
    const QString text = DecodeGbk(bytes);
    // Text that survives the round trip unchanged was valid GBK.
    EXPECT_EQ(EncodeGbk(text), bytes);
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("[ti:甜蜜蜜]")));
    EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^\\[ar:.+\\]$"))).size() == 1);

    const double songSeconds = decodeWholeFile(paths.sampleMusic()).seconds;
    // The lookup of the player needs two-digit minutes and seconds.
    const QRegularExpression timed(QStringLiteral("^\\[(\\d\\d):(\\d\\d)\\.(\\d\\d)\\](.+)$"));
    double previous = -1;
    int sung = 0;
    for (const QString& line : lines) {
        const auto match = timed.match(line);
        if (!match.hasMatch()) {
            EXPECT_TRUE(line.startsWith(u'[') && line.endsWith(u']'))
                << "neither tag nor lyric: " << qPrintable(line);
            continue;
        }
        const double at =
            match.captured(1).toInt() * 60 + match.captured(2).toInt() + match.captured(3).toInt() / 100.0;
        EXPECT_GT(at, previous) << qPrintable(line);
        EXPECT_LT(at, songSeconds) << qPrintable(line);
        EXPECT_FALSE(match.captured(4).trimmed().isEmpty());
        EXPECT_FALSE(line.endsWith(u']')) << "the reader would take it for a tag line: " << qPrintable(line);
        previous = at;
        ++sung;
    }
    EXPECT_GE(sung, 8);
}
