// Column numbers of every table, as displayed: the row caption is column 0, the k-th sub-item column k.
#pragma once

namespace lumiset {

// Template catalogue ListView_mobancanshu.
namespace CatalogueCol {
enum Column : int {
    Type,             // mblx
    Category,         // mbfl
    PhotoCount,       // xpsl
    Widths,           // xpkd, bar list
    Heights,          // xpgd, bar list
    Orientations,     // szhz, bar list
    PictureNames,     // xpjpgmc, bar list
    AnimationPath,    // the template's animation package
    Class,            // "heng", "shu", "shuheng", "gaojimoban" or empty
    Number,           // 0-based position of the parameter package in the scan list
    FrameCount,       // mbdx
    Name,             // template name
    AllPictures,      // sl of section "0"
    CaptionPositions, // wxcs01
    MandatoryMarks,   // wxcs02
    EffectMarks,      // wxcs03
    RandomMarks,      // wxcs04
    Count
};
}

// Class lists ListView_hengzhaopian, ListView_shuzhaopian, ListView_gaojimoban.
namespace ClassListCol {
enum Column : int {
    Type,
    Category,
    PhotoCount,
    Widths,
    Heights,
    Orientations,
    PictureNames,
    AnimationPath,
    Class,
    Number,
    LandscapeCount,
    PortraitCount,
    FrameCount,
    Name,
    Count
};
}

// Template list ListView_moban.
namespace TemplateListCol {
enum Column : int { Number, Name, Kind, LandscapeCount, PortraitCount, Duration, Category, Count };
}

// Photo table ListView_daoru_zhaopian; the pending lists ListView_heng_zhao / ListView_shu_zhao share it.
namespace PhotoCol {
enum Column : int { Number, Name, Extension, Width, Height, Path, Status, Count };
}

// Used-template table ListView_moban_shiyong.
namespace UsedTemplateCol {
enum Column : int {
    TemplateNumber,
    Name,
    Kind,
    LandscapeCount,
    PortraitCount,
    Duration,
    Category,
    Matching,
    Position,
    Count
};
}

// Slot table ListView_moban_shiyong_canshu.
namespace SlotCol {
enum Column : int {
    TemplateNumber,
    TemplateName,
    Kind,
    LandscapeCount,
    PortraitCount,
    Duration,
    Category,
    UsedRow,    // 行号: 0-based used-template row
    SlotKind,   // "heng_zhaopian" / "shu_zhaopian"
    Picture,    // placeholder picture name
    SlotIndex,  // 0-based slot number inside the template
    MatchState, // "yi_pipei" or empty
    PhotoRow,   // 0-based photo-table row or empty
    PhotoPath,
    Width, // "0" = the whole 1920 x 1080 frame
    Height,
    CropLeft, // full-screen rectangle
    CropTop,
    CropWidth,
    CropHeight,
    CropMode,     // "quanping_or_jubuquanping" / "shizhong"
    ModerateLeft, // moderate rectangle
    ModerateTop,
    ModerateWidth,
    ModerateHeight,
    UsageMark,
    TextEffectMark, // template mark of automatic text effects
    Count
};
}

// Landscape photo list ListView_qubu_hengzhao.
namespace LandscapePhotoCol {
enum Column : int { Number, Name, Extension, Width, Height, Path, PhotoRow, Count };
}

// Background table ListView_moban_beijing (row i belongs to used-template row i).
namespace BackgroundCol {
enum Column : int {
    Number,
    TemplateName,
    Kind,
    Category,
    PictureName,
    PictureExtension,
    Width,
    Height,
    Path,
    Transparency,
    Count
};
}

// Music table ListView_daoru_yinyue.
namespace MusicCol {
enum Column : int { Number, Name, Extension, Length, Path, Count };
}

// Lyric table ListView_daoru_LRC.
namespace LyricCol {
enum Column : int { Number, Name, Extension, Path, Count };
}

// Lyric settings table ListView_geci_shezhi_canshu (row i belongs to lyric row i).
namespace LyricSettingsCol {
enum Column : int {
    Number,
    LyricName,
    Extension,
    Path,
    Placement, // "moren_xianshi" / "zidingyi_xianshi"
    DefaultTop,
    CustomLeft,
    CustomTop,
    Font,
    Style, // "cuti", "xieti", "cutixieti", "changgui"
    Size,
    CustomCentre, // "wu" / "zidingyi_juzhong"
    Unused,
    ColourName,
    ColourNumber,
    Script, // "jianti" / "fanti"
    Count
};
}

// Picture effect table ListView_Image of TForm32.
namespace PictureEffectCol {
enum Column : int { FrameCount, Start, End, RunState, Name, Index, AddedHow, Created, Count };
}

// Text effect table ListView_Image of TForm33.
namespace TextEffectCol {
enum Column : int {
    FrameCount,
    Start,
    End,
    RunState,
    Name,
    Index, // effect number - 1
    X,     // on the 800 x 450 stage
    Y,
    Category,     // category number C
    TemplateMark, // template mark of an automatic effect
    MarkLetter,
    UsedRow,       // used-template row
    FramePosition, // frame inside the template
    AddedHow,
    Created,
    Count
};
}

} // namespace lumiset
