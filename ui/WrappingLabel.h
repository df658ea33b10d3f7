// A plain-text label that wraps at word boundaries and, where a word (a long path, a file name) is wider
// than the label, inside the word, so no text is ever cut off at the side. QLabel's own word wrap
// never breaks inside a word. Its height follows its width (heightForWidth).
#pragma once

#include <QLabel>

class QTextLayout;

namespace lumiset::ui {

class WrappingLabel : public QLabel {
    Q_OBJECT
public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Lays the text out in lines of `width` pixels; returns the height of the text.
    qreal layOut(QTextLayout& layout, qreal width) const;
};

} // namespace lumiset::ui
