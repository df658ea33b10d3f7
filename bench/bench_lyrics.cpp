// Lyric costs on the production path: reading a lyric file, converting a line's script, and drawing the
// line on every frame (1280 × 720 to 2048 × 1152); a frame itself costs some milliseconds.
#include "audio/LrcReader.h"
#include "audio/LyricStyle.h"
#include "audio/MusicRows.h"
#include "audio/ScriptConversion.h"
#include "core/IniFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

const QString kLine = QStringLiteral("牵着你的手 走过四季芬芳");

QStringList settingsRow() {
    return QStringList{"1", "甜蜜蜜", ".lrc", "甜蜜蜜.lrc"} + DefaultLyricSettings();
}

// A four-minute song: one tagged line every few seconds, some lines with two tags.
QByteArray lyricFile() {
    QString text = "[ti:甜蜜蜜]\r\n[ar:Lumiset]\r\n";
    for (int second = 5; second < 240; second += 5)
        text += QStringLiteral("[%1:%2.50]%3\r\n")
                    .arg(second / 60, 2, 10, QChar('0'))
                    .arg(second % 60, 2, 10, QChar('0'))
                    .arg(kLine);
    return EncodeGbk(text);
}

void ParseLyricFile(benchmark::State& state) {
    const QByteArray file = lyricFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseLyrics(file));
}
BENCHMARK(ParseLyricFile)->Unit(benchmark::kMicrosecond);

void ConvertLine(benchmark::State& state) {
    const QString word = state.range(0) ? "fanti" : "jianti";
    ConvertToScript(kLine, word); // loads the converter
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertToScript(kLine, word));
}
BENCHMARK(ConvertLine)->ArgName("traditional")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void DrawLine(benchmark::State& state) {
    const QSize picture(int(state.range(0)), int(state.range(1)));
    const LyricStyle style = LyricStyleFromRow(settingsRow());
    QImage frame(picture, QImage::Format_RGB32);
    frame.fill(Qt::black);
    for (auto _ : state) {
        QPainter painter(&frame);
        DrawLyricLine(painter, picture, style, kLine);
    }
}
BENCHMARK(DrawLine)
    ->ArgNames({"w", "h"})
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Args({2048, 1152})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
