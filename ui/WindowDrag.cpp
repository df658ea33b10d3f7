#include "ui/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace lumiset::ui {

bool WindowDrag::handle(QWidget* window, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
            return true;
        dragging_ = true;
        startMouse_ = mouse->globalPosition().toPoint();
        startWindow_ = window->pos();
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragging_ || !(mouse->buttons() & Qt::LeftButton))
            return false;
        window->move(startWindow_ + mouse->globalPosition().toPoint() - startMouse_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!dragging_ || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

} // namespace lumiset::ui
