#include "ui/startup/SplashWindow.h"

#include "ui/startup/SplashPicture.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace lumiset::ui {

namespace {
constexpr int kBarHeight = 6;
const QColor kBackground(238, 238, 238);
} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Lumiset"));
    setFixedSize(kSplashPictureSize);

    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setGeometry(QRect(QPoint(0, 0), kSplashPictureSize));
    picture_->setPixmap(SplashPicture(devicePixelRatioF()));

    bar_->setObjectName(QStringLiteral("ProgressBar_jiazai"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setGeometry(0, kSplashPictureSize.height() - kBarHeight, kSplashPictureSize.width(), kBarHeight);
}

void SplashWindow::showProgress(int position, int maximum) {
    // A range of 0…0 would make the bar a busy animation; an empty folder shows an empty track instead.
    bar_->setRange(0, qMax(1, maximum));
    bar_->setValue(qBound(0, position, qMax(1, maximum)));
}

int SplashWindow::position() const {
    return bar_->value();
}

int SplashWindow::maximum() const {
    return bar_->maximum();
}

void SplashWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The picture follows the screen the window appears on, so it stays sharp on dense screens.
    if (!qFuzzyCompare(picture_->pixmap().devicePixelRatio(), devicePixelRatioF()))
        picture_->setPixmap(SplashPicture(devicePixelRatioF()));
    centreOnScreen();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), kBackground);
}

void SplashWindow::centreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace lumiset::ui
