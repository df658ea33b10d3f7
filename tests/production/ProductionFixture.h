// Small albums for the production tests: a data folder of templates made with the real package encoder,
// and album tables filled the way matching fills them.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "production/ProductionPlan.h"
#include "tests/support/TempTree.h"
#include "tests/support/TemplateFixture.h"

#include <QRect>
#include <memory>

namespace lumiset::test {

class ProductionWorld {
public:
    // Adds a template of `frames` frames with the given picture names (and, for mixed templates, sizes).
    void addTemplate(const QString& name, int frames, const QString& pictures = QStringLiteral("|zp_1|"),
                     const QString& widths = QStringLiteral("|0|"),
                     const QString& heights = QStringLiteral("|0|"), const QByteArray& movie = {});
    DataPaths paths() const { return DataPaths(tree.path(), tree.path()); }
    const TemplateCatalogue& catalogue();

    // Appends a used template (catalogue template `number`) with its background row; returns its row.
    int useTemplate(Album& album, int number, const QString& category, bool finished = true);
    // Appends a slot of used-template row `usedRow` showing `photo` in `rect` (full-screen and moderate).
    void addSlot(Album& album, int usedRow, const QString& picture, const QString& photo, QRect rect,
                 QSize slotSize = {0, 0});

    // Two finished landscape templates playing a red and a blue photo over the whole frame (movies of
    // `firstFrames` and `secondFrames` frames that hand over in their first frame), and a closing movie
    // that draws nothing.
    void addRedAndBlueTemplates(Album& album, int firstFrames, int secondFrames);

    TempTree tree;

private:
    int count_ = 0;
    std::unique_ptr<TemplateCatalogue> catalogue_;
};

// A movie of `frames` frames showing the picture "zp_1.jpg" over the whole frame, under the hand-over
// picture during its first frame.
QByteArray HandOverMovie(int frames);

// A plan of templates of the given lengths and songs of the given frames, without a catalogue.
ProductionPlan PlanOf(const QList<int>& templateFrames, const QList<qint64>& songFrames = {},
                      SyncMode sync = SyncMode::Template);

} // namespace lumiset::test
