// Where a photo lands in a frame: the fitting rule every photo view uses.
#pragma once

#include <QRect>
#include <QSize>

namespace lumiset {

// The largest size of the photo's proportions inside `frame`, in integer arithmetic: a landscape or
// square photo takes the frame's width unless that makes it too tall, a portrait photo takes the frame's
// height unless that makes it too wide. A 4000 x 3000 photo in a 117 x 72 frame is 96 x 72.
QSize FitPhotoSize(QSize photo, QSize frame);

// The rectangle a picture of size `photo` takes inside `area`: fitted and centred. When the area's
// proportions differ from the photo's only by the rounding of the caller's own arithmetic (a pixel or
// less), the picture fills the area, so that no white hairline is left along an edge.
QRect PlacePicture(QSize photo, const QRect& area);

// A thumbnail tile of the photo lists: the photo fitted into the tile less 8 pixels each way, in a white
// frame 6 pixels larger, both centred in the tile. Rectangles in the tile's coordinates; a photo without
// a known size gets the whole inner area.
struct PhotoTile {
    QRect frame;
    QRect picture;
};
PhotoTile LayOutPhotoTile(QSize photo, QSize tile);

} // namespace lumiset
