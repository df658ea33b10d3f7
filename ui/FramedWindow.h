// The frame of every secondary window: borderless, centred on the screen when shown, with a title bar
// and bottom edge made of the theme's pictures, a drawn close button, and dragging by the title bar.
//
// The chrome's controls carry fixed object names, so tests and readers find them in every window:
//   Image_zhujiemian_1 / _2 / _3   left end, stretched middle, right end (close button pictures)
//   Image_zuixiamian               bottom edge
//   Label_xianshi_chuangkou_biaoti the title (the window title, setWindowTitle)
//   Label_guanbi                   the close button, exactly over Image_zhujiemian_3
//
// A window puts its own controls on body() (a layout, or positions of its own) and sets its size with
// resize(); the chrome follows every resize.
#pragma once

#include "ui/CloseButton.h"
#include "ui/WindowDrag.h"

#include <QDialog>
#include <QPoint>
#include <functional>

class QLabel;

namespace lumiset::ui {

class FramedWindow : public QDialog {
    Q_OBJECT
public:
    explicit FramedWindow(QWidget* parent = nullptr);

    // The window's own area: below the title bar, above the bottom edge, inside the side borders.
    QWidget* body() const { return body_; }

    // What the close button does once its picture has changed back; Escape and a close request from the
    // window system do the same. By default reject(). An empty action makes the close button a picture
    // only, for windows that are closed by their own buttons or logic alone.
    void setCloseAction(std::function<void()> action);

    // The window height that gives the body `bodyHeight` pixels.
    static int heightForBody(int bodyHeight);

protected:
    // Moves the window to the middle of its screen's free area.
    void centreOnScreen();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void runCloseAction();
    bool dragEvent(QEvent* event);
    void layOutChrome();

    QLabel* left_;
    QLabel* middle_;
    QLabel* right_;
    QLabel* bottom_;
    QLabel* title_;
    QLabel* close_;
    QWidget* body_;
    std::function<void()> closeAction_;
    CloseButton closeButton_;
    WindowDrag drag_;
};

} // namespace lumiset::ui
