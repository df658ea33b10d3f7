#include "ui/WrappingLabel.h"

#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <cmath>

namespace lumiset::ui {

namespace {

constexpr int kWidestHint = 640; // the widest the label asks to be before it wraps

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\n', QChar::LineSeparator);
    return shown;
}

} // namespace

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

qreal WrappingLabel::layOut(QTextLayout& layout, qreal width) const {
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font());
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax<qreal>(1, width));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int WrappingLabel::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    QTextLayout layout(displayText(text()));
    const qreal height = layOut(layout, width - margins.left() - margins.right());
    return int(std::ceil(height)) + margins.top() + margins.bottom();
}

QSize WrappingLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    int widest = 0;
    const QFontMetrics metrics(font());
    for (const QString& line : text().split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    const int width = qMin(widest + 1, kWidestHint) + margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

// A few characters by one line: the real height comes from heightForWidth once the width is known
// (a scroll area would otherwise take the height of the narrowest width as the least it may give).
QSize WrappingLabel::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    const QMargins margins = contentsMargins();
    return {metrics.averageCharWidth() * 8 + margins.left() + margins.right(),
            metrics.height() + margins.top() + margins.bottom()};
}

void WrappingLabel::paintEvent(QPaintEvent*) {
    const QRect area = contentsRect();
    QTextLayout layout(displayText(text()));
    const qreal height = layOut(layout, area.width());
    qreal top = area.top();
    if (alignment() & Qt::AlignVCenter)
        top += qMax<qreal>(0, (area.height() - height) / 2);
    else if (alignment() & Qt::AlignBottom)
        top += qMax<qreal>(0, area.height() - height);
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    layout.draw(&painter, QPointF(area.left(), top));
}

} // namespace lumiset::ui
