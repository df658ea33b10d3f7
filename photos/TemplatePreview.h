// A one-off template preview, as the template preview window and `lumiset preview-template` play it:
// the decoded movie and its pictures, all in memory. Pictures are placeholders (a teal surface with the
// word "picture") or the given photos, each covering its slot, centred. Nothing is written to disk, so
// any number of previews may be prepared and played at once.
#pragma once

#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "player/PictureProvider.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QStringList>

namespace lumiset {

class AnimationPlayer;

// The placeholder picture of a slot whose design-canvas size is `canvas`, for a surface of `target`.
QImage PlaceholderPicture(QSize canvas, QSize target);

// `photo` scaled to cover `size` and centred (the overflow is cut). Throws Error naming the file when it
// cannot be shown; a photo that shows only in part (a file cut short) sets `warning`.
QImage CoverPicture(const QString& photoPath, QSize size, QString* warning = nullptr);

struct TemplatePreview {
    QByteArray movie;         // the decoded Lottie document
    PictureProvider pictures; // every picture the movie shows from outside
    QString name;             // the template's animation package, naming it in messages
    QStringList warnings;     // photos that show only in part, naming each file

    // Prepares the preview of catalogue row `catalogueRow` for a surface of `target`: decodes its movie
    // and makes its slot pictures, the background and the hand-over picture. Photos fill the photo slots
    // in order; slots without a photo get placeholders. Throws Error naming the package or the photo.
    static TemplatePreview prepare(const DataPaths& paths, const TemplateCatalogue& catalogue,
                                   int catalogueRow, const QStringList& photos, QSize target);
    // Loads the movie with its pictures into `player`.
    void loadInto(AnimationPlayer& player) const;
};

} // namespace lumiset
