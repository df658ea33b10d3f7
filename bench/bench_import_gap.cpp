// How long the interface goes unanswered while the photo window imports: 1000 small photos and four
// 12-megapixel ones, chosen in the photo window and imported through its progress window, under an
// offscreen QApplication with the program's theme. A 1 ms timer on the interface thread records the
// longest interval between two of its turns (the goal: under 100 ms throughout, including the table
// refresh when the job ends); the total time from the click to the last message is printed too.
// Usage: bench_import_gap [runs]   (the first run imports into an empty album, each further one adds the
// same photos again, so the table grows by a thousand rows a run)
#include "core/SystemSettings.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TemplateFixture.h"
#include "ui/Theme.h"
#include "ui/Workspace.h"
#include "ui/windows/PhotoWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

using namespace lumiset;

namespace {

constexpr int kSmallPhotos = 1000;
constexpr int kLargePhotos = 4;

DataPaths writeTemplates(const test::TempTree& tree) {
    const struct {
        const char* name;
        const char* orientations;
        const char* pictures;
    } templates[] = {{"单张", "|heng|", "|zp_1|"},
                     {"竖照", "|shu|", "|zp_1|"},
                     {"双横", "|heng|heng|", "|zp_1|zp_2|"},
                     {"三张", "|heng|heng|shu|", "|zp_1|zp_2|zp_3|"}};
    int stem = 0;
    for (const auto& t : templates) {
        test::TemplateSpec design;
        design.name = QString::fromUtf8(t.name);
        design.orientations = QLatin1String(t.orientations);
        design.pictures = QLatin1String(t.pictures);
        design.widths = design.heights = QStringLiteral("|0|0|0|").left(design.pictures.count(u'|') * 2 - 1);
        test::WriteTemplate(tree, QStringLiteral("t%1").arg(++stem), design);
    }
    return DataPaths(tree.path(), tree.path());
}

QStringList writePhotos(const test::TempTree& tree) {
    QStringList files;
    const QByteArray landscape = test::EncodeJpeg(test::QuadrantScene({320, 240}));
    const QByteArray portrait = test::EncodeJpeg(test::QuadrantScene({240, 320}));
    for (int i = 0; i < kSmallPhotos; ++i)
        files << tree.write(QStringLiteral("photos/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')),
                            i % 3 == 2 ? portrait : landscape);
    const QByteArray camera = test::EncodeJpeg(test::CameraLikePicture(7), 92);
    for (int i = 0; i < kLargePhotos; ++i)
        files.insert(i * kSmallPhotos / kLargePhotos,
                     tree.write(QStringLiteral("photos/DSC_%1.jpg").arg(i), camera));
    return files;
}

// Closes every message box the import shows, as a user reading them would.
void answerMessages() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == QStringLiteral("TForm14"))
        modal->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
}

struct Run {
    qint64 totalMs = 0;
    qint64 longestGapMs = 0;
    int gapsOver50 = 0;
    int rows = 0;
};

Run importOnce(ui::Workspace& workspace, const QStringList& files) {
    ui::PhotoWindow window(workspace);
    window.setFileChooser([files](QWidget*) { return files; });
    window.show();
    QApplication::processEvents();

    Run run;
    QElapsedTimer sinceTurn;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 gap = sinceTurn.restart();
        run.longestGapMs = std::max(run.longestGapMs, gap);
        run.gapsOver50 += gap > 50 ? 1 : 0;
        answerMessages();
    });
    QElapsedTimer total;
    total.start();
    sinceTurn.start();
    beat.start(1);
    window.addPhotos();
    run.totalMs = total.elapsed();
    beat.stop();
    run.longestGapMs = std::max(run.longestGapMs, sinceTurn.elapsed());
    run.rows = window.findChild<QTableView*>(QStringLiteral("ListView_daoru_zhaopian"))->model()->rowCount();
    return run;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::Theme::apply(app);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    test::TempTree tree;
    const DataPaths paths = writeTemplates(tree);
    const QStringList files = writePhotos(tree);
    ui::Workspace workspace(paths, TemplateCatalogue::build(paths));
    QTextStream out(stdout);
    out << "photos: " << files.size() << " (" << kLargePhotos
        << " of 12 megapixels), templates: " << workspace.catalogue.catalogue().rowCount() << Qt::endl;

    // No effect library in this data folder: the text effects would only add a message.
    workspace.document.modify(QStringLiteral("设置"), [](Album& album) {
        SystemSettings(album.settings).check(SettingControl::NoTextEffects);
    });
    for (int i = 0; i < runs; ++i) {
        const Run run = importOnce(workspace, files);
        out << "run " << i + 1 << ": rows " << run.rows << ", total " << run.totalMs << " ms, longest gap "
            << run.longestGapMs << " ms, gaps over 50 ms " << run.gapsOver50 << Qt::endl;
    }
    return 0;
}
