// The folder of a one-off template preview: the decoded movie beside its pictures, as the template
// preview window and `lumiset preview-template` play it. Pictures are placeholders (a teal surface with
// the word "picture") or the given photos, each covering its slot, centred.
#pragma once

#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"

#include <QImage>
#include <QSize>
#include <QStringList>

namespace lumiset {

// The placeholder picture of a slot whose design-canvas size is `canvas`, for a surface of `target`.
QImage PlaceholderPicture(QSize canvas, QSize target);

// `photo` scaled to cover `size` and centred (the overflow is cut). Throws Error naming the file when it
// cannot be read.
QImage CoverPicture(const QString& photoPath, QSize size);

class TemplatePreviewFolder {
public:
    // Recreates the preview folder for catalogue row `catalogueRow`: decodes its movie and writes its
    // pictures for a surface of `target`, the background and the hand-over picture. Photos fill the photo
    // slots in order; slots without a photo get placeholders. Returns the movie path.
    static QString prepare(const DataPaths& paths, const TemplateCatalogue& catalogue, int catalogueRow,
                           const QStringList& photos, QSize target);
};

} // namespace lumiset
