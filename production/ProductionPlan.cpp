#include "production/ProductionPlan.h"

#include "core/Error.h"
#include "core/TextHelpers.h"
#include "effects/AlbumTimeline.h"

namespace lumiset {

namespace {

QList<TemplateJob> FinishedTemplates(const Album& album, const TemplateCatalogue& catalogue) {
    QList<TemplateJob> jobs;
    for (int row = 0; row < album.usedTemplates.rowCount(); ++row) {
        if (!IsCompleteTemplate(album, row))
            continue;
        TemplateJob job;
        job.usedRow = row;
        job.catalogueRow = CatalogueRowOfUsedTemplate(album, catalogue, row);
        job.frames = static_cast<int>(UsedTemplateFrames(album, catalogue, row));
        if (row < album.backgrounds.rowCount())
            job.transparency = album.backgrounds.cell(row, BackgroundCol::Transparency);
        jobs.append(job);
    }
    return jobs;
}

} // namespace

ProductionPlan PlanProduction(const Album& album, const TemplateCatalogue& catalogue, SyncMode sync,
                              const MusicLength& musicLength, const std::function<bool()>& stopRequested) {
    ProductionPlan plan;
    plan.sync = sync;
    plan.templates = FinishedTemplates(album, catalogue);
    for (const TemplateJob& job : plan.templates)
        plan.passFrames += job.frames;
    plan.totalFrames = plan.passFrames + kClosingFrames;
    if (album.music.isEmpty())
        return plan;

    // Each song is measured once, even when the plan repeats it.
    const int songCount = album.music.rowCount();
    QList<qint64> frames(songCount, -1);
    for (int row = 0; row < songCount; ++row) {
        if (stopRequested && stopRequested())
            return plan;
        const QString path = album.music.cell(row, MusicCol::Path);
        try {
            frames[row] = musicLength(path) / 1000 * kFramesPerSecond;
        } catch (const Error& error) {
            plan.warnings.append(QStringLiteral("跳过无法读取的音乐文件: %1").arg(error.message()));
        }
    }
    qint64 onePass = 0;
    for (qint64 f : frames)
        onePass += std::max<qint64>(f, 0);
    if (onePass == 0) {
        // Nothing audible: the plan would never cover the album.
        for (int row = 0; row < songCount; ++row)
            if (frames[row] == 0)
                plan.songs.append({row, album.music.cell(row, MusicCol::Path), 0});
        return plan;
    }
    if (sync == SyncMode::Music && onePass > plan.totalFrames)
        plan.totalFrames = onePass;

    qint64 covered = 0;
    for (int row = 0; covered < plan.totalFrames; row = (row + 1) % songCount) {
        if (frames[row] < 0)
            continue;
        plan.songs.append({row, album.music.cell(row, MusicCol::Path), frames[row]});
        covered += frames[row];
    }
    return plan;
}

} // namespace lumiset
