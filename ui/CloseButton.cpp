#include "ui/CloseButton.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QMouseEvent>

namespace lumiset::ui {

namespace {

enum class Look { Normal, Hovered, Pressed };

void Show(QLabel* picture, Look look) {
    const ThemePicture pictures[] = {ThemePicture::TitleRight, ThemePicture::TitleRightHovered,
                                     ThemePicture::TitleRightPressed};
    picture->setPixmap(Theme::picture(pictures[static_cast<int>(look)]));
}

} // namespace

bool CloseButton::handle(QEvent* event, QLabel* button, QLabel* picture,
                         const std::function<void()>& action) {
    const auto show = [picture](Look look) { Show(picture, look); };
    switch (event->type()) {
    case QEvent::Enter:
        show(pressed_ ? Look::Pressed : Look::Hovered);
        return false;
    case QEvent::Leave:
        show(Look::Normal);
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        pressed_ = true;
        show(Look::Pressed);
        return true;
    case QEvent::MouseMove:
        if (pressed_) {
            const bool over = button->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
            show(over ? Look::Pressed : Look::Normal);
        }
        return pressed_;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !pressed_)
            return false;
        pressed_ = false;
        const bool over = button->rect().contains(mouse->position().toPoint());
        show(over ? Look::Hovered : Look::Normal);
        if (over && action)
            action();
        return true;
    }
    default:
        return false;
    }
}

} // namespace lumiset::ui
