#include "core/AlbumDocument.h"
#include "core/Columns.h"
#include "core/JobRunner.h"
#include "photos/ImportJobs.h"
#include "photos/PhotoDeletion.h"
#include "photos/TemplateManagement.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

TEST(Undo, ImportPhotoDeletionTemplateDeletionAndCropEditRestoreEveryTableExactly) {
    TemplateWorld world;
    world.add(LandscapeTemplate("H"));
    world.add(PortraitTemplate("S"));
    FakePhotos photos;
    ScriptedRandom random;
    const QStringList files{photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000),
                            photos.add("h2", 4000, 3000), photos.add("s2", 3000, 4000)};
    const auto yes = [](const QString&, const QString&) { return true; };
    const PhotoImportJobs jobs(world.catalogue(), world.paths(), random, {}, photos.reader());
    const PhotoDeletion photoDeletion(world.catalogue(), random, yes);
    const TemplateManagement templates(world.catalogue(), random, yes);

    AlbumDocument document;
    QList<Album> steps{document.album()};

    Job control;
    document.applyOutcome(
        "import", RunJobHere(
                      document.album(),
                      [&](const Album& a, Job& c) { return jobs.importPhotos(a, files, {}, c); }, control));
    steps.append(document.album());
    ASSERT_EQ(document.album().usedTemplates.rowCount(), 4);

    document.modify("delete photo", [&](Album& a) { ASSERT_TRUE(photoDeletion.deleteOne(a, 1).changed); });
    steps.append(document.album());
    document.modify("delete template", [&](Album& a) { ASSERT_TRUE(templates.deleteOne(a, 0).changed); });
    steps.append(document.album());
    document.modify("crop", [](Album& a) {
        for (SlotCol::Column c :
             {SlotCol::CropLeft, SlotCol::CropTop, SlotCol::CropWidth, SlotCol::CropHeight})
            a.templateSlots.setCell(0, c, QStringLiteral("7"));
    });
    steps.append(document.album());
    for (const Album& step : steps)
        EXPECT_EQ(Problems(step, world.catalogue()), QStringList());
    for (int s = 1; s < steps.size(); ++s)
        EXPECT_NE(steps[s], steps[s - 1]) << "step " << s << " changed nothing";

    for (int s = int(steps.size()) - 2; s >= 0; --s) {
        document.undo();
        EXPECT_EQ(document.album(), steps[s]) << "undo to step " << s;
    }
    for (int s = 1; s < steps.size(); ++s) {
        document.redo();
        EXPECT_EQ(document.album(), steps[s]) << "redo to step " << s;
    }
}

} // namespace
