#include "tests/ui/UiEvents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpontaneKeyEvent>
#include <QWidget>

namespace lumiset::test {

void SendEnter(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent enter(centre, widget->window()->mapFromGlobal(widget->mapToGlobal(centre)),
                      widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &enter);
}

void SendLeave(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

void SendMouse(QWidget* widget, int type, QPoint at, Qt::MouseButtons held) {
    SendMouseAtScreen(widget, type, widget->mapToGlobal(at), held);
}

void SendMouseAtScreen(QWidget* widget, int type, QPoint global, Qt::MouseButtons held) {
    const auto eventType = static_cast<QEvent::Type>(type);
    const Qt::MouseButton button = eventType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(eventType, QPointF(widget->mapFromGlobal(global)),
                      QPointF(widget->window()->mapFromGlobal(global)), QPointF(global), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void DoubleClickAt(QWidget* widget, QPoint at) {
    SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton);
    SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void ClickWidget(QWidget* widget) {
    const QPoint centre = widget->rect().center();
    SendMouse(widget, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, centre, Qt::NoButton);
}

void PressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// What Qt hands a widget when the window manager asks to close it: a spontaneous close event. (Qt's
// own QWindow::close() counts as a close by code, and the window system's entry is private API.)
void SendSystemClose(QWidget* window) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::instance()->notify(window, &close); // sendEvent() would clear the flag
    if (close.isAccepted())
        window->hide();
}

} // namespace lumiset::test
