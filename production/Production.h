// Producing an album: the launch checks, then the whole run from the album to the video file — the plan,
// the frames composed on one or two threads while the encoder writes the file, the log, a prompt stop.
#pragma once

#include "core/DataPaths.h"
#include "core/JobOutcome.h"
#include "core/TemplateCatalogue.h"
#include "media/AlbumFormat.h"
#include "production/ProductionPlan.h"

#include <QMutex>
#include <QSize>
#include <QStringList>
#include <optional>

namespace lumiset {

class Job;

struct ProductionRequest {
    AlbumType type = AlbumType::MOV;
    TvSystem tv = TvSystem::Pal;
    PictureQuality quality = PictureQuality::High;
    SyncMode sync = SyncMode::Template;
    QSize size;         // the size the album is composed at: one of OutputSizes(type)
    QString outputPath; // the video file to write
};

// The request a launch makes for `type`: its launch size, PAL, 高清, template sync.
ProductionRequest DefaultProductionRequest(AlbumType type);
// "<width> × <height>", as the size list shows a size.
QString SizeText(QSize size);

// Why an album cannot be produced, in the order the launch checks: no photo, music sync without music,
// no used template, no finished template. Nothing when it can.
std::optional<QString> LaunchRefusal(const Album& album, SyncMode sync);
// Throws Error listing the allowed sizes when `size` is not one of the type's sizes.
void CheckOutputSize(AlbumType type, QSize size);

// The conversion log, as the production window shows it: at most 32000 lines, the oldest dropped.
// Thread-safe.
class ProductionLog {
public:
    void append(const QString& line);
    QStringList lines() const;

private:
    mutable QMutex mutex_;
    QStringList lines_;
};

// The whole production as a job. The output file appears complete or not at all: a stop, an error or a
// kill leaves no file under its name. Warnings (photos that could not be shown, songs left out) are the
// outcome's messages.
JobOutcome ProduceAlbum(const Album& album, const TemplateCatalogue& catalogue, const DataPaths& paths,
                        const ProductionRequest& request, Job& job, ProductionLog* log = nullptr);

} // namespace lumiset
