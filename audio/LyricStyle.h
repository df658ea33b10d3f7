// How a lyric line looks and where it sits, from one row of the lyric settings table (LyricSettingsCol).
//
// The settings are made on the 679 × 390 preview screen: positions in its pixels, the size in points of a
// 96-dpi screen. On a picture of another size, left scales by width / 679, top and the font by
// height / 390 (so a 16:9 picture keeps the lyric's proportion to the picture's height); results are
// rounded to whole pixels. The line is an auto-sized label: as wide as its text, one font line high,
// centred as left = width div 2 − label width div 2, otherwise at its own left.
//
// Colours are stored as Windows colour numbers (0x00BBGGRR): 16777215 is white, 255 (clRed) red,
// 16711680 (clBlue) blue.
//
// A cell that is not a sound value (empty, not a number, a size outside 1…200 points, a position outside
// ±10000, an unknown word) takes the value a newly added lyric has; reading a row never fails.
//
// Thread safety: everything here may run on several threads at once, each with its own QPainter.
// The font substitution for "黑体" (no such font on Linux) is registered once, on the first use of a lyric
// font.
#pragma once

#include "audio/LyricScreen.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace lumiset {

// LyricStyleFromRow({}) is the style of a newly added lyric.
struct LyricStyle {
    bool centred = true;
    int left = 0; // screen pixels; used when not centred
    int top = 0;  // screen pixels
    QString fontFamily;
    int pointSize = 1;
    bool bold = false;
    bool italic = false;
    QColor colour;
    bool operator==(const LyricStyle&) const = default;
};

// `settingsRow`: a whole lyric settings row (columns 0…15); missing cells count as bad.
LyricStyle LyricStyleFromRow(const QStringList& settingsRow);

// The font of the line on a picture `pictureHeight` pixels high.
QFont LyricFont(const LyricStyle& style, int pictureHeight);

// Where the auto-sized label sits on a picture of `picture` size for `text`.
QRect LyricLineRect(const LyricStyle& style, const QString& text, QSize picture);

// Draws `text` antialiased in its colour, with no background, where LyricLineRect puts it. Nothing is
// kept between calls: Qt's own font and glyph caches make a line cost some tens of microseconds on a
// 1280 × 720 to 2048 × 1152 frame, so the frames need no cache of ours.
void DrawLyricLine(QPainter& painter, QSize picture, const LyricStyle& style, const QString& text);

} // namespace lumiset
