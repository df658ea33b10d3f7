// Mouse and key events as the window system delivers them to a widget.
#pragma once

#include <QPoint>
#include <Qt>

class QWidget;

namespace lumiset::test {

void SendEnter(QWidget* widget);
void SendLeave(QWidget* widget);
// `at` in the widget's coordinates; the global position follows from where the widget is now.
void SendMouse(QWidget* widget, int type, QPoint at, Qt::MouseButtons held);
// The mouse at a point of the screen, delivered to `widget` (which holds the mouse while a button is down).
void SendMouseAtScreen(QWidget* widget, int type, QPoint global, Qt::MouseButtons held);
void ClickWidget(QWidget* widget);
// A double click as the window system sends it: press, release, double click, release.
void DoubleClickAt(QWidget* widget, QPoint at);
void PressKey(QWidget* widget, Qt::Key key);
// A close request of the window system (as Alt+F4 sends).
void SendSystemClose(QWidget* window);

} // namespace lumiset::test
