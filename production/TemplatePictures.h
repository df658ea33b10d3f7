// The pictures a template movie shows in the produced album, made at the output size: the background
// (covering the frame, or black), and one picture per picture name of the template, cut from the photo of
// its slot. Everything stays in memory; the player takes the pictures from there.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "player/PictureProvider.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace lumiset {

// The names the template movies give their background and hand-over pictures.
inline const QString kBackgroundPictureName = QStringLiteral("wj_y_l_b_j.jpg");
inline const QString kHandOverPictureName = QStringLiteral("../../pic/picture_0.jpg");

// Where a background picture of `picture` pixels is drawn on a frame of `target` so that it covers it:
// as high as the frame, or as wide when that leaves a gap, centred horizontally, top-aligned (the
// overflow is cut at the bottom). Integer arithmetic, as the stored sizes are whole numbers.
QRect BackgroundArea(QSize picture, QSize target);

// How one picture name of a template is made: from which slot's photo, on which panel, at what size.
struct PicturePlan {
    QString name;        // picture name without ".jpg"
    int sourceSlot = -1; // row of the slot table whose panel it shows; -1: none (a white picture)
    QSize size;          // the picture's size at the target
};

// The panel a slot's photo is rendered into, on the design canvas, and where the photo lies in it.
struct SlotPanel {
    QSize panel;
    QRect photo;
};

// Stage A: by the template's category, the slot's full-screen rectangle on its slot size (mixed), on the
// whole canvas (landscape), or its moderate rectangle on a panel as wide as that rectangle with its left
// margin on both sides (portrait).
SlotPanel SlotPanelOf(const Album& album, int slotRow, const QString& category);

// Stage B: one plan per picture name of the template. A name takes the photo of the last slot whose
// picture name occurs in it, or the photo of the name before it when none does.
QList<PicturePlan> PlanPictures(const Album& album, const TemplateCatalogue& catalogue, int usedRow,
                                QSize target);

struct TemplatePictures {
    QByteArray movie;         // the decoded Lottie document
    QString movieName;        // its package, naming it in messages
    PictureProvider pictures; // every picture but the hand-over picture
    QImage background;        // also in `pictures`: the hand-over picture before the first template
    QStringList warnings;     // photos that could not be shown, naming each file
};

// Everything template `usedRow` of the album shows at `target`. A photo that is missing or damaged gives
// a white picture and a warning; a movie package that cannot be read throws Error naming it.
TemplatePictures PrepareTemplatePictures(const Album& album, const TemplateCatalogue& catalogue,
                                         const DataPaths& paths, int usedRow, QSize target);

} // namespace lumiset
