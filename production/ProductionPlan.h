// What a production will show, before any frame is drawn: the finished templates in album order (the job
// table), the album's frame total and the song plan. Pure data, so the rules can be checked cheaply.
#pragma once

#include "core/Album.h"
#include "core/TemplateCatalogue.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

// Frames of the closing movie that follows the last template.
constexpr int kClosingFrames = 150;

// "template": the album follows the templates and the music repeats; "music": the album follows the
// music and the templates repeat.
enum class SyncMode { Template, Music };

// One finished template to produce (a row of the job table).
struct TemplateJob {
    int usedRow = 0;      // row of the used-template table
    int catalogueRow = 0; // row of the catalogue
    int frames = 0;       // the template's frame count (catalogue column 10)
    QString transparency; // background transparency for "num_stop" (empty: none given)
};

// One song occurrence of the song plan: the song plays for `frames` frames (its whole seconds × 25).
struct SongPlanRow {
    int musicRow = 0;
    QString path;
    qint64 frames = 0;
};

struct ProductionPlan {
    SyncMode sync = SyncMode::Template;
    QList<TemplateJob> templates;
    qint64 passFrames = 0;  // one pass of the templates
    qint64 totalFrames = 0; // the album, closing movie included
    QList<SongPlanRow> songs;
    QStringList warnings; // songs left out, naming each file
};

// The length in milliseconds of a music file; throws Error naming the file when it cannot be read.
using MusicLength = std::function<qint64(const QString& path)>;

// The frame total and the song plan.
// Template sync: the finished templates' frames + 150; songs follow the music table, repeating, until
// they cover the total. Music sync: the album lasts one pass of the music table, but at least one pass
// of the templates plus the closing movie; when the music is shorter, it repeats as in template sync.
// A song shorter than one second adds a row of 0 frames; a song whose length cannot be read is left
// out with a warning. `stopRequested` is asked between songs.
ProductionPlan PlanProduction(const Album& album, const TemplateCatalogue& catalogue, SyncMode sync,
                              const MusicLength& musicLength,
                              const std::function<bool()>& stopRequested = {});

} // namespace lumiset
