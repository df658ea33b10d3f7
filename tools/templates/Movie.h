// Expands a design (page, layers, hand-over) into a Lottie movie.
//
// Layers are described in painter's order (the first is drawn first, at the bottom). Every element can
// move (see MotionFields.h); the kinds are "picture" (a slot photo, a drawn picture, the background or
// the hand-over picture, optionally as a card with border, shadow and light sweep), "shape",
// "particles" and "text" (glyph outlines).
#pragma once

#include "tools/templates/Fields.h"
#include "tools/templates/Lottie.h"

#include <QHash>
#include <QRectF>
#include <QSizeF>

namespace lumiset::templates {

// A picture the movie shows: a file beside the movie (or in `folder`), or a drawn picture carried
// inside the movie as PNG.
struct MoviePicture {
    QString id;
    QSizeF size; // on the canvas: the picture is drawn stretched to it
    QString file;
    QString folder;
    QByteArray png;
};

// Built-in pictures every template can show.
inline const QString kBackgroundPicture = QStringLiteral("background");
inline const QString kHandOverPicture = QStringLiteral("handover");
// The layer showing the background picture; the player sets its opacity from the variable "num_stop".
inline const QString kBackgroundLayerName = QStringLiteral("num_stop");

class MovieBuilder {
public:
    MovieBuilder(QString name, int frames);

    void addPicture(const MoviePicture& picture);
    // Reads "page", "layers" and "handover" of a design, in that order.
    void addDesign(Fields& design);
    // "page": the base colour, the background picture (layer num_stop), a wash and a vignette.
    void addPage(Fields page);
    void addLayer(Fields layer);
    // "handover": how the previous page (picture_0.jpg) leaves at the start.
    void addHandover(Fields handover);
    // Picture ids that some layer shows.
    const QSet<QString>& shownPictures() const { return shown_; }
    QJsonObject document() const;

private:
    // Where a layer's own space puts its centre, for children and mattes.
    struct Placed {
        int index = 0;
        QRectF bounds; // in the layer's own space
    };

    Placed addPicture(Fields& f, Motion& motion);
    Placed addShape(Fields& f, Motion& motion);
    void addParticles(Fields& f);
    void addText(Fields& f);
    // A card precomposition for `picture`: its asset id and size.
    std::pair<QString, QSizeF> addCard(Fields card, const MoviePicture& picture, const QString& crop,
                                       double cropRadius);
    // Where a layer hangs: its parent, its pivot and the name children refer to.
    struct Placement {
        QString parent;
        std::optional<QPointF> pivot;
        QString name;
    };
    static Placement readPlacement(Fields& f);
    // Places a layer with its motion, wipes, parent and name; returns its index. `where` names the
    // design object in messages.
    int place(QJsonObject layer, const Motion& motion, QPointF anchor, const QRectF& bounds,
              const Placement& placement, const Fields& where);
    void addWipeMatte(int target, const Motion& motion, const QRectF& bounds, int inFrame, int outFrame);
    const MoviePicture& picture(Fields& f, const QString& key);
    // The background and hand-over pictures, added on first use.
    const MoviePicture& builtIn(const QString& id);
    QString uniqueName(const QString& stem);

    QString name_;
    int frames_;
    Composition comp_;
    QJsonArray assets_;
    QHash<QString, MoviePicture> pictures_;
    QHash<QString, Placed> named_;
    QSet<QString> shown_;
    int serial_ = 0;
};

} // namespace lumiset::templates
