#include "audio/LyricStyle.h"

#include "audio/MusicRows.h"
#include "core/Columns.h"
#include "core/Fonts.h"
#include "core/TextHelpers.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <optional>

namespace lumiset {

namespace {

constexpr int kMaxPointSize = 200;
constexpr int kMaxPosition = 10000;
constexpr double kScreenPixelsPerPoint = 96.0 / 72.0;

// Reads the cells of a row, falling back to the cells of a newly added lyric.
class SettingsCells {
public:
    explicit SettingsCells(const QStringList& row) : row_(row), defaults_(DefaultLyricSettings()) {}

    QString fallback(int column) const { return defaults_.value(column - LyricSettingsCol::Placement); }
    QString word(int column, std::initializer_list<const char*> allowed) const {
        const QString cell = row_.value(column).trimmed();
        for (const char* allowedWord : allowed)
            if (cell == QLatin1String(allowedWord))
                return cell;
        return fallback(column);
    }
    int number(int column, int lowest, int highest) const {
        if (const std::optional<qint64> value = WholeNumberIn(row_.value(column), lowest, highest))
            return static_cast<int>(*value);
        return static_cast<int>(*WholeNumberIn(fallback(column), lowest, highest));
    }
    QString text(int column) const {
        const QString cell = row_.value(column).trimmed();
        return cell.isEmpty() ? fallback(column) : cell;
    }

private:
    const QStringList& row_;
    const QStringList defaults_;
};

// A Windows colour number 0x00BBGGRR.
QColor windowsColour(int number) {
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

int scaled(int value, int pictureExtent, int screenExtent) {
    return static_cast<int>(std::lround(static_cast<double>(value) * pictureExtent / screenExtent));
}

QRect lineRect(const LyricStyle& style, const QFontMetrics& metrics, const QString& text, QSize picture) {
    const int width = metrics.horizontalAdvance(text);
    const int left = style.centred ? picture.width() / 2 - width / 2
                                   : scaled(style.left, picture.width(), kLyricPreviewWidth);
    return QRect(left, scaled(style.top, picture.height(), kLyricPreviewHeight), width, metrics.height());
}

} // namespace

LyricStyle LyricStyleFromRow(const QStringList& settingsRow) {
    using namespace LyricSettingsCol;
    const SettingsCells cells(settingsRow);
    LyricStyle style;
    const bool custom = cells.word(Placement, {"moren_xianshi", "zidingyi_xianshi"}) == "zidingyi_xianshi";
    style.centred = !custom || cells.word(CustomCentre, {"wu", "zidingyi_juzhong"}) == "zidingyi_juzhong";
    style.left = custom ? cells.number(CustomLeft, -kMaxPosition, kMaxPosition) : 0;
    style.top = cells.number(custom ? CustomTop : DefaultTop, -kMaxPosition, kMaxPosition);
    style.fontFamily = cells.text(Font);
    style.pointSize = cells.number(Size, 1, kMaxPointSize);
    const QString shape = cells.word(Style, {"changgui", "cuti", "xieti", "cutixieti"});
    style.bold = shape == "cuti" || shape == "cutixieti";
    style.italic = shape == "xieti" || shape == "cutixieti";
    style.colour = windowsColour(cells.number(ColourNumber, 0, 0xFFFFFF));
    return style;
}

QFont LyricFont(const LyricStyle& style, int pictureHeight) {
    RegisterFontSubstitutes();
    QFont font(style.fontFamily);
    const double pixels = style.pointSize * kScreenPixelsPerPoint * pictureHeight / kLyricPreviewHeight;
    font.setPixelSize(qMax(1, static_cast<int>(std::lround(pixels))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

QRect LyricLineRect(const LyricStyle& style, const QString& text, QSize picture) {
    if (picture.isEmpty())
        return {};
    return lineRect(style, QFontMetrics(LyricFont(style, picture.height())), text, picture);
}

void DrawLyricLine(QPainter& painter, QSize picture, const LyricStyle& style, const QString& text) {
    if (picture.isEmpty() || text.isEmpty())
        return;
    const QFont font = LyricFont(style, picture.height());
    const QFontMetrics metrics(font);
    const QRect rect = lineRect(style, metrics, text, picture);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(style.colour);
    painter.drawText(QPoint(rect.left(), rect.top() + metrics.ascent()), text);
    painter.restore();
}

} // namespace lumiset
