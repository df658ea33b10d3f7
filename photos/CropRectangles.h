// The two crop rectangles of a photo in a template slot: where the scaled photo lies relative to the
// slot for the full-screen (cover) and the moderate (fit inside) effect, and which one the slot uses.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

namespace lumiset {

// A slot whose width column is 0 takes the whole frame.
constexpr int kWholeFrameWidth = 1920;
constexpr int kWholeFrameHeight = 1080;

struct CropSwitches {
    bool portraitModerate = true;   // "竖照片剪裁成适中效果"
    bool landscapeModerate = false; // "横照片剪裁成适中效果"
};

struct SlotCrop {
    QRect fullScreen; // slot columns 16..19
    QString mode;     // column 20: "quanping_or_jubuquanping" or "shizhong"
    QRect moderate;   // columns 21..24
};

// `slotWidth` is the slot's width column (0 = the whole frame, whose height is then ignored). Integer
// arithmetic truncating toward zero, as the slot table has always held it. The switches only concern
// whole-frame slots, the single-photo templates. @pre photo sides > 0, slot sides > 0 unless whole frame.
SlotCrop ComputeSlotCrop(bool portraitSlot, int slotWidth, int slotHeight, QSize photo,
                         CropSwitches switches);

} // namespace lumiset
