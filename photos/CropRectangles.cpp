#include "photos/CropRectangles.h"

#include "core/Words.h"

namespace lumiset {

SlotCrop ComputeSlotCrop(bool portraitSlot, int slotWidth, int slotHeight, QSize photo,
                         CropSwitches switches) {
    const bool wholeFrame = slotWidth == 0;
    const qint64 sw = wholeFrame ? kWholeFrameWidth : slotWidth;
    const qint64 sh = wholeFrame ? kWholeFrameHeight : slotHeight;
    const qint64 pw = photo.width();
    const qint64 ph = photo.height();

    // Full-screen: cover the slot.
    qint64 a = pw * sh / ph;
    qint64 b = sh;
    if (a < sw) {
        a = sw;
        b = ph * sw / pw;
    }
    qint64 c = 0;
    qint64 d = 0;
    QString mode = Words::FullScreenCrop;
    if (!portraitSlot) {
        // Moderate: fit inside.
        c = sw;
        d = ph * sw / pw;
        if (d > sh) {
            d = sh;
            c = pw * sh / ph;
        }
        if (wholeFrame) {
            a = sw;
            b = ph * sw / pw;
            if (switches.landscapeModerate)
                mode = Words::ModerateCrop;
        }
    } else {
        // Moderate: fit to the height only.
        d = sh;
        c = pw * sh / ph;
        if (wholeFrame) {
            if (switches.portraitModerate) {
                b = sh;
                a = pw * sh / ph;
                d = sh;
                c = a;
            }
            mode = Words::ModerateCrop;
        }
    }

    SlotCrop crop;
    crop.fullScreen = QRect(int(sw / 2 - a / 2), 0, int(a), int(b));
    crop.mode = mode;
    crop.moderate = QRect(int(sw / 2 - c / 2), int(sh / 2 - d / 2), int(c), int(d));
    if (portraitSlot && wholeFrame) {
        // The template places a whole-frame portrait photo itself, from the left edge.
        crop.fullScreen.moveLeft(0);
        crop.moderate.moveLeft(0);
    }
    return crop;
}

} // namespace lumiset
