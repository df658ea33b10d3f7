// lumiset preview-template N: frames of one template rendered by the album's player, with placeholder
// pictures or the given photos, as PNG files (or a contact sheet).
#include "app/CommandOptions.h"
#include "app/Commands.h"
#include "app/TextOutput.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/FileAccess.h"
#include "core/TemplateCatalogue.h"
#include "photos/TemplatePreview.h"
#include "player/AnimationPlayer.h"

#include <QDir>
#include <QPainter>

namespace lumiset::app {

namespace {

constexpr int kSheetColumns = 4;
constexpr int kSheetFrames = 8;

void savePng(const QImage& image, const QString& path) {
    SaveImageFile(path, image, "PNG");
    printLine(path);
}

QImage contactSheet(AnimationPlayer& player, QSize cell, const QString& title) {
    const int total = player.totalFrames();
    const int rows = (kSheetFrames + kSheetColumns - 1) / kSheetColumns;
    const int caption = 28;
    QImage sheet(cell.width() * kSheetColumns, caption + cell.height() * rows, QImage::Format_RGB32);
    sheet.fill(QColor(32, 32, 32));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, sheet.width() - 16, caption), Qt::AlignVCenter | Qt::AlignLeft, title);
    for (int i = 0; i < kSheetFrames; ++i) {
        const int frame = (total - 1) * i / (kSheetFrames - 1);
        player.setFrameNum(frame);
        const QPoint at((i % kSheetColumns) * cell.width(), caption + (i / kSheetColumns) * cell.height());
        painter.drawImage(at, player.grabFrame(cell));
        painter.drawText(QRect(at + QPoint(6, 4), QSize(120, 20)), Qt::AlignLeft, QString::number(frame));
    }
    return sheet;
}

} // namespace

int runPreviewTemplateCommand(const QStringList& args) {
    const CommandOptions options(args, {"photos", "frame", "size", "out"});
    if (options.positional().size() != 1)
        throw Error(QStringLiteral("preview-template needs one template number"));
    bool ok = false;
    const int number = options.positional().first().toInt(&ok);
    const QString out = options.required("out");
    const QSize size = options.size("size", QSize(800, 450));
    const QList<int> frames = options.integers("frame");

    const DataPaths paths = DataPaths::forRunningProgram();
    const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
    const std::optional<int> row = ok ? catalogue.rowOfTemplate(number) : std::nullopt;
    if (!row)
        throw Error(QStringLiteral("no template number %1 (the catalogue has %2 templates)")
                        .arg(options.positional().first())
                        .arg(catalogue.catalogue().rowCount()));

    // A photo that cannot be shown ends the command here, before anything is written.
    const TemplatePreview preview =
        TemplatePreview::prepare(paths, catalogue, *row, options.values("photos"), size);
    for (const QString& warning : preview.warnings)
        printError(warning);
    AnimationPlayer player;
    preview.loadInto(player);
    player.setVariable(kNumStopVariable, QStringLiteral("0"));
    for (const QString& missing : player.missingPictures())
        printError(QStringLiteral("warning: missing picture %1").arg(QDir::toNativeSeparators(missing)));
    if (!QDir().mkpath(out))
        throw Error(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(out)));

    if (frames.isEmpty()) {
        const QString title = QStringLiteral("%1  %2  (%3)")
                                  .arg(number)
                                  .arg(catalogue.catalogue().cell(*row, CatalogueCol::Name),
                                       catalogue.catalogue().cell(*row, CatalogueCol::Orientations));
        savePng(contactSheet(player, size, title), out + QStringLiteral("/sheet.png"));
        return 0;
    }
    // The whole request is checked before the first file is written.
    for (int frame : frames)
        if (frame < 0 || frame >= player.totalFrames())
            throw Error(QStringLiteral("frame %1 is outside the template (frames 0 to %2)")
                            .arg(frame)
                            .arg(player.totalFrames() - 1));
    for (int frame : frames) {
        player.setFrameNum(frame);
        savePng(player.grabFrame(size), out + QStringLiteral("/%1.png").arg(frame));
    }
    return 0;
}

} // namespace lumiset::app
