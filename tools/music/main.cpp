// Generates the sample song of the program folder: the tune synthesized and encoded as MP3, and its
// LRC lyrics in GBK with each line timed to the first note of its phrase.
//
// Usage: lumiset_music_gen <tune.txt> <lyrics.txt> <program folder>
#include "core/DataPaths.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "tools/music/Mp3Writer.h"
#include "tools/music/Synth.h"
#include "tools/music/Tune.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>
#include <cstdio>

using namespace lumiset;
using namespace lumiset::tools;

namespace {

constexpr int kBitRate = 160000;
constexpr double kTailSeconds = 3.0;
// A line is shown a moment before it is sung, so that the singer can read it in time.
constexpr double kLyricLead = 0.3;

QString lrcTime(double seconds) {
    const int hundredths = static_cast<int>(std::lround(std::max(0.0, seconds) * 100));
    return QStringLiteral("[%1:%2.%3]")
        .arg(hundredths / 6000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// The lyrics file: "key: value" header lines (ti, ar, al, by), a blank line, then one sung line a row.
QString buildLrc(const QString& lyricsText, const Tune& tune, const QString& fileName) {
    QStringList header;
    QStringList lines;
    bool inHeader = true;
    for (const QString& raw : lyricsText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (inHeader && line.isEmpty()) {
            inHeader = false;
            continue;
        }
        if (inHeader) {
            const QString key = line.section(u':', 0, 0).trimmed();
            if (!QStringList{"ti", "ar", "al", "by"}.contains(key))
                throw Error(QStringLiteral("%1：无法识别的标签行 %2").arg(fileName, line));
            header << QStringLiteral("[%1:%2]").arg(key, line.section(u':', 1).trimmed());
        } else if (!line.isEmpty()) {
            lines << line;
        }
    }
    if (lines.size() != tune.phraseStarts.size())
        throw Error(QStringLiteral("%1 有 %2 行歌词，旋律中却标出了 %3 个乐句")
                        .arg(fileName)
                        .arg(lines.size())
                        .arg(tune.phraseStarts.size()));
    QString lrc = header.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    for (int i = 0; i < lines.size(); ++i)
        lrc += lrcTime(tune.phraseStarts[i] * tune.secondsPerBeat() - kLyricLead) + lines[i] +
               QStringLiteral("\r\n");
    return lrc;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: lumiset_music_gen <tune.txt> <lyrics.txt> <program folder>\n");
        return 2;
    }
    try {
        const Tune tune = ParseTune(QString::fromUtf8(ReadWholeFile(args[1])), args[1]);
        const QString lrc = buildLrc(QString::fromUtf8(ReadWholeFile(args[2])), tune, args[2]);
        const StereoSamples samples = RenderTune(tune, kTailSeconds);
        const DataPaths paths(args[3], args[3]);
        WriteWholeFile(paths.sampleMusic(), EncodeMp3(samples, kBitRate));
        WriteWholeFile(paths.sampleLyrics(), EncodeGbk(lrc));
        std::printf("sample song: %.1f s, %lld lyric lines\n", samples.seconds(),
                    static_cast<long long>(tune.phraseStarts.size()));
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
