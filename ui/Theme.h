// The program's look: a warm dark-blue title bar with a rose accent over light, slightly warm window
// bodies. One style sheet, one palette and one Chinese font for every window, and the pictures of the
// window chrome, painted by code at start-up (no picture files).
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QApplication;

namespace lumiset::ui {

// The pieces every borderless window builds its title bar and bottom edge from.
enum class ThemePicture {
    TitleLeft,         // left end of the title bar
    TitleMiddle,       // middle, stretched across
    TitleRight,        // right end with the close button
    TitleRightHovered, // … the mouse over the close button
    TitleRightPressed, // … the close button held down
    BottomEdge,        // bottom edge, stretched across
};

namespace colours {
inline const QColor kNavyDark{0x1d, 0x23, 0x3b};
inline const QColor kNavy{0x2a, 0x31, 0x55};
inline const QColor kNavyLight{0x3d, 0x46, 0x70};
inline const QColor kRose{0xd4, 0x60, 0x7e};
inline const QColor kRoseLight{0xe8, 0x84, 0x9d};
inline const QColor kRoseDark{0xa8, 0x43, 0x5e};
inline const QColor kRosePale{0xf6, 0xd5, 0xde};  // selections
inline const QColor kWindow{0xf7, 0xf2, 0xf4};    // window bodies
inline const QColor kBorder{0xcf, 0xc4, 0xca};    // frames of fields and lists
inline const QColor kText{0x1a, 0x1a, 0x1a};      // body text
inline const QColor kTitleText{0xf4, 0xee, 0xf2}; // text on the title bar
inline const QColor kMuted{0x9a, 0x91, 0x96};     // disabled text
inline const QColor kToolTip{0xff, 0xfb, 0xc8};   // tool tip background, black text on it
} // namespace colours

class Theme {
public:
    static constexpr int kTitleBarHeight = 36;
    static constexpr int kTitleLeftWidth = 24;
    static constexpr int kTitleRightWidth = 46;
    static constexpr int kBottomEdgeHeight = 5;
    static constexpr int kFontPixelSize = 13;
    static constexpr int kMessagePixelSize = 14;

    // Dresses the whole program: Fusion style, the palette, the Chinese font (with "黑体" mapped to it)
    // and the style sheet, and paints the chrome pictures. Call once, after the QApplication exists and
    // before the first window.
    static void apply(QApplication& app);

    // A chrome picture, painted on first use at the primary screen's pixel ratio and kept for the
    // application's lifetime. Interface thread only.
    static QPixmap picture(ThemePicture which);

    static QString styleSheet();
};

} // namespace lumiset::ui
