// The common form of the message box and the confirmation boxes: a framed window showing one message
// (Label_xianshi_xiaoxi: centred, black, 14 pixels) above a centred row of buttons.
//
// A short message keeps the window at its given size; a long one wraps and the window grows downwards,
// up to most of the screen's height, beyond which the message scrolls. Nothing is ever cut off.
#pragma once

#include "ui/FramedWindow.h"

#include <QSize>

class QHBoxLayout;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace lumiset::ui {

class WrappingLabel;

class MessageFrame : public FramedWindow {
    Q_OBJECT
public:
    void setMessage(const QString& text);
    QString message() const;

protected:
    // `size`: the window's size for a message of one line. `bottomSpace`: pixels kept free under the
    // buttons (for a progress bar along the bottom edge).
    MessageFrame(QWidget* parent, QSize size, int bottomSpace = 0);

    QPushButton* addButton(const char* objectName, const QString& text);

    void showEvent(QShowEvent* event) override;

private:
    void fitHeight();

    QSize size_;
    QVBoxLayout* layout_;
    QScrollArea* scroll_;
    WrappingLabel* message_;
    QHBoxLayout* buttons_;
};

} // namespace lumiset::ui
