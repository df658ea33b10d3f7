// Rendering speed of the animation player on a template-like movie: a full-frame background
// picture (the "num_stop" layer), two moving photos (zoom, slide, turn) and vector decorations
// (rotating stars, a gradient ribbon, rounded frames with strokes). The goal is under 15 ms for one
// 1920 × 1080 frame on one core.
#include "player/AnimationPlayer.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

constexpr int kFrames = 125;

// A photo-like picture: soft gradients, shapes and grain, so JPEG decoding and sampling do real work.
void WritePicture(const QString& path, QSize size, QColor tint, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, tint.lighter(160));
    sky.setColorAt(1, tint.darker(180));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(seed);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(
            QColor::fromHsv(random.bounded(360), 120 + random.bounded(100), 120 + random.bounded(120), 160));
        painter.setPen(Qt::NoPen);
        const int r = 10 + random.bounded(size.width() / 6);
        painter.drawEllipse(QPoint(random.bounded(size.width()), random.bounded(size.height())), r, r);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(17)) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                           std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    image.save(path, "JPG", 90);
}

QJsonObject Value(const QJsonValue& v) {
    return {{"a", 0}, {"k", v}};
}

QJsonObject Keys(const QJsonArray& from, const QJsonArray& to, int end = kFrames - 1) {
    const QJsonObject ease{{"x", QJsonArray{0.4}}, {"y", QJsonArray{0}}};
    const QJsonObject easeIn{{"x", QJsonArray{0.6}}, {"y", QJsonArray{1}}};
    return {{"a", 1},
            {"k", QJsonArray{QJsonObject{{"t", 0}, {"s", from}, {"o", ease}, {"i", easeIn}},
                             QJsonObject{{"t", end}, {"s", to}}}}};
}

QJsonObject Transform(const QJsonObject& p, const QJsonObject& s, const QJsonObject& r,
                      const QJsonArray& anchor) {
    return {{"a", Value(anchor)}, {"p", p}, {"s", s}, {"r", r}, {"o", Value(100)}};
}

QJsonObject Layer(int ind, int type, const QString& name, const QJsonObject& ks) {
    return {{"ind", ind}, {"ty", type},    {"nm", name}, {"ks", ks},
            {"ip", 0},    {"op", kFrames}, {"st", 0},    {"sr", 1}};
}

QJsonObject ImageLayer(int ind, const QString& name, const QString& ref, const QJsonObject& ks) {
    QJsonObject layer = Layer(ind, 2, name, ks);
    layer.insert("refId", ref);
    return layer;
}

QJsonObject Group(const QJsonArray& items, const QJsonObject& transform) {
    QJsonArray all = items;
    QJsonObject tr = transform;
    tr.insert("ty", "tr");
    all.append(tr);
    return {{"ty", "gr"}, {"it", all}};
}

QJsonArray Color(double r, double g, double b) {
    return {r, g, b, 1};
}

QJsonObject Decorations() {
    QJsonArray shapes;
    // Eight rotating stars scattered over the frame.
    for (int i = 0; i < 8; ++i) {
        const QJsonObject star{{"ty", "sr"},     {"sy", 1},         {"p", Value(QJsonArray{0, 0})},
                               {"pt", Value(5)}, {"r", Value(0)},   {"or", Value(40)},
                               {"os", Value(0)}, {"ir", Value(18)}, {"is", Value(0)}};
        shapes.append(
            Group({star, QJsonObject{{"ty", "fl"}, {"c", Value(Color(1, 0.85, 0.3))}, {"o", Value(85)}}},
                  Transform(Value(QJsonArray{120 + i * 230, 90 + (i % 2) * 880}), Value(QJsonArray{100, 100}),
                            Keys({0}, {360}), {0, 0})));
    }
    // Two rounded frames with strokes around the photo places.
    for (const auto& [x, y] : {std::pair{560, 540}, std::pair{1400, 520}}) {
        const QJsonObject frame{{"ty", "rc"},
                                {"p", Value(QJsonArray{0, 0})},
                                {"s", Value(QJsonArray{840, 640})},
                                {"r", Value(24)}};
        shapes.append(
            Group({frame, QJsonObject{{"ty", "st"},
                                      {"c", Value(Color(1, 1, 1))},
                                      {"o", Value(90)},
                                      {"w", Value(10)},
                                      {"lc", 2},
                                      {"lj", 2}}},
                  Transform(Value(QJsonArray{x, y}), Value(QJsonArray{100, 100}), Value(0), {0, 0})));
    }
    // A gradient ribbon along the bottom.
    const QJsonObject ribbon{{"ty", "rc"},
                             {"p", Value(QJsonArray{960, 1010})},
                             {"s", Value(QJsonArray{1920, 90})},
                             {"r", Value(0)}};
    const QJsonObject gradient{
        {"ty", "gf"},
        {"t", 1},
        {"o", Value(70)},
        {"s", Value(QJsonArray{0, 0})},
        {"e", Value(QJsonArray{1920, 0})},
        {"g", QJsonObject{{"p", 2}, {"k", Value(QJsonArray{0, 0.9, 0.3, 0.5, 1, 0.3, 0.4, 0.9})}}}};
    shapes.append(Group({ribbon, gradient},
                        Transform(Value(QJsonArray{0, 0}), Value(QJsonArray{100, 100}), Value(0), {0, 0})));
    QJsonObject layer =
        Layer(1, 4, "decorations",
              Transform(Value(QJsonArray{0, 0}), Value(QJsonArray{100, 100}), Value(0), {0, 0}));
    layer.insert("shapes", shapes);
    return layer;
}

// Writes the movie and its pictures into `folder` and returns the movie's path.
QString WriteTemplate(const QString& folder) {
    WritePicture(folder + "/wj_y_l_b_j.jpg", {1920, 1080}, QColor(70, 110, 160), 1);
    WritePicture(folder + "/zp_1.jpg", {800, 600}, QColor(160, 120, 80), 2);
    WritePicture(folder + "/zp_2.jpg", {800, 600}, QColor(90, 150, 90), 3);
    const QJsonArray assets{
        QJsonObject{{"id", "bg"}, {"w", 1920}, {"h", 1080}, {"u", ""}, {"p", "wj_y_l_b_j.jpg"}, {"e", 0}},
        QJsonObject{{"id", "zp_1"}, {"w", 800}, {"h", 600}, {"u", ""}, {"p", "zp_1.jpg"}, {"e", 0}},
        QJsonObject{{"id", "zp_2"}, {"w", 800}, {"h", 600}, {"u", ""}, {"p", "zp_2.jpg"}, {"e", 0}},
    };
    const QJsonArray layers{
        Decorations(),
        // Slides in from the right while turning slightly.
        ImageLayer(2, "zp_2", "zp_2",
                   Transform(Keys({2300, 520}, {1400, 520}), Value(QJsonArray{100, 100}), Keys({12}, {-3}),
                             {400, 300})),
        // Ken Burns: a slow zoom and pan.
        ImageLayer(
            3, "zp_1", "zp_1",
            Transform(Keys({540, 560}, {580, 530}), Keys({100, 100}, {112, 112}), Value(0), {400, 300})),
        ImageLayer(4, "num_stop", "bg",
                   Transform(Value(QJsonArray{0, 0}), Value(QJsonArray{100, 100}), Value(0), {0, 0})),
    };
    const QJsonObject movie{
        {"v", "5.7.4"},
        {"fr", 25},
        {"ip", 0},
        {"op", kFrames},
        {"w", 1920},
        {"h", 1080},
        {"assets", assets},
        {"layers", layers},
        {"markers", QJsonArray{QJsonObject{{"cm", "k_r_v_t_s_y_l_x"}, {"tm", 0}, {"dr", 0}}}}};
    const QString path = folder + "/wj_y_l_1.rar";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(movie).toJson(QJsonDocument::Compact));
    return path;
}

const QString& TemplatePath() {
    static QTemporaryDir folder;
    static const QString path = WriteTemplate(folder.path());
    return path;
}

void RenderTemplateFrame(benchmark::State& state) {
    AnimationPlayer player;
    player.setMovie(TemplatePath());
    player.setVariable(kNumStopVariable, "20");
    QImage surface(int(state.range(0)), int(state.range(1)), QImage::Format_ARGB32_Premultiplied);
    int frame = 0;
    for (auto _ : state) {
        player.setFrameNum(frame);
        player.paint(surface);
        benchmark::DoNotOptimize(surface.constBits());
        frame = (frame + 1) % kFrames;
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RenderTemplateFrame)
    ->Args({1920, 1080})
    ->Args({1280, 720})
    ->Args({800, 450})
    ->MeasureProcessCPUTime() // Qt may spread large fills over its thread pool
    ->Unit(benchmark::kMillisecond);

void LoadTemplate(benchmark::State& state) {
    AnimationPlayer player;
    for (auto _ : state)
        player.setMovie(TemplatePath());
}
BENCHMARK(LoadTemplate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
