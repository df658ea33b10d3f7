// Small worlds for the matching tests: a data folder with a few templates, photos that exist only as
// sizes (or as real JPEG files where the file matters), and scripted random draws.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"
#include "photos/PhotoRows.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/TemplateFixture.h"

#include <QHash>
#include <QList>
#include <QSize>
#include <QStringList>
#include <memory>
#include <ostream>

// Readable failures: gtest prints texts and lists of texts through this.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace lumiset::test {

// One photo slot of a template design: orientation word, picture name and size.
struct SlotSpec {
    QString orientation;
    QString picture;
    int width = 640;
    int height = 360;
};

TemplateSpec MakeTemplate(const QString& name, const QList<SlotSpec>& slotSpecs);
TemplateSpec LandscapeTemplate(const QString& name, int width = 640, int height = 360);
TemplateSpec PortraitTemplate(const QString& name, int width = 360, int height = 640);

// A data folder whose templates are scanned in the order they were added.
class TemplateWorld {
public:
    void add(const TemplateSpec& design);
    DataPaths paths() const { return DataPaths(tree.path(), tree.path()); }
    // Builds the catalogue of the templates added so far.
    const TemplateCatalogue& catalogue();
    // The template-list row of the template named `name` (first of its rows).
    int templateListRow(const QString& name);

    TempTree tree;

private:
    int count_ = 0;
    std::unique_ptr<TemplateCatalogue> catalogue_;
};

// Photos known by size only: the reader answers for them and refuses every other path.
class FakePhotos {
public:
    QString add(const QString& name, int width, int height);
    QStringList addMany(const QString& prefix, int count, int width, int height);
    PhotoReader reader() const;

private:
    QHash<QString, QSize> sizes_;
};

// The bytes of a real JPEG picture of the given size.
QByteArray JpegBytes(int width, int height);

// Every broken reference between the album's tables (none expected after any operation).
QStringList Problems(const Album& album, const TemplateCatalogue& catalogue);

// Used-template names in album order.
QStringList UsedTemplateNames(const Album& album);
// Photo-table rows of the slots of used-template row `usedRow`, in slot order ("" for an empty slot).
QStringList SlotPhotos(const Album& album, int usedRow);

} // namespace lumiset::test
