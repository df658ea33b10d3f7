// The size of a photo shown in the main view, by the display settings of the main view.
#pragma once

#include <QSize>

namespace lumiset::ui {

// A landscape or square photo takes the display's width; with `landscapeModerate` it is shrunk further
// when that makes it taller than the display. A portrait photo takes the display's height and is shrunk
// to the display's width when wider. Integer arithmetic; an empty size for a photo without a size.
QSize MainViewPictureSize(QSize photo, QSize display, bool landscapeModerate);

} // namespace lumiset::ui
