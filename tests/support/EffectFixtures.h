// Small effect libraries, templates and albums built by the tests in a temporary data folder, and a
// random source whose draws the test scripts.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/TempTree.h"
#include "tests/support/TemplateFixture.h"

#include <QList>
#include <QSize>
#include <QString>
#include <utility>

namespace lumiset::test {

// One effect folder: PNG frames (preview and production) and a GBK parameter file.
struct EffectSpec {
    QString name = QStringLiteral("特效");
    QString frames = QStringLiteral("3"); // wj_x_g_c_l_sum as written; a non-number makes a malformed library
    QString stillFrame = QStringLiteral("1");
    QString positionMode = QStringLiteral("n");
    QString x = QStringLiteral("10");
    QString y = QStringLiteral("20");
    QString marks; // wxcs03
    QSize frameSize{40, 20};
    int framesDrawn = 3;
    bool parameterFile = true;
};

DataPaths PathsOf(const TempTree& tree);
void WritePictureEffect(const TempTree& tree, int number, const EffectSpec& design);
void WriteTextEffect(const TempTree& tree, int category, int effect, const EffectSpec& design);
// An empty category folder.
void WriteTextCategory(const TempTree& tree, int category);

// Builds album tables the way the matching leaves them, so that the effect and deletion operations have
// something consistent to work on.
class AlbumBuilder {
public:
    AlbumBuilder(Album& album, const TemplateCatalogue& catalogue) : album_(album), catalogue_(catalogue) {}

    // Appends a photo row (and its landscape photo row) and returns its row index.
    int addPhoto(const QString& name, int width = 4000, int height = 3000);
    // Appends a used template of catalogue row `catalogueRow` with one slot per entry of `photoRows`
    // (-1 leaves the slot empty) and its background row; returns the used-template row.
    int addTemplate(int catalogueRow, const QList<int>& photoRows);

private:
    Album& album_;
    const TemplateCatalogue& catalogue_;
};

} // namespace lumiset::test
