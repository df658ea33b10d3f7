#include "ui/FramedWindow.h"

#include "ui/Theme.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace lumiset::ui {

namespace {

constexpr int kTitleIndent = Theme::kTitleLeftWidth + 4;

QLabel* chromePicture(QWidget* window, const char* name, ThemePicture picture) {
    auto* label = new QLabel(window);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(Theme::picture(picture));
    label->setScaledContents(true);
    return label;
}

} // namespace

FramedWindow::FramedWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      left_(chromePicture(this, "Image_zhujiemian_1", ThemePicture::TitleLeft)),
      middle_(chromePicture(this, "Image_zhujiemian_2", ThemePicture::TitleMiddle)),
      right_(chromePicture(this, "Image_zhujiemian_3", ThemePicture::TitleRight)),
      bottom_(chromePicture(this, "Image_zuixiamian", ThemePicture::BottomEdge)), title_(new QLabel(this)),
      close_(new QLabel(this)), body_(new QWidget(this)), closeAction_([this] { reject(); }) {
    title_->setObjectName(QStringLiteral("Label_xianshi_chuangkou_biaoti"));
    title_->setAttribute(Qt::WA_TransparentForMouseEvents); // the title bar under it drags
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont titleFont = title_->font();
    titleFont.setPixelSize(Theme::kMessagePixelSize);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::WindowText, colours::kTitleText);
    title_->setPalette(titlePalette);

    close_->setObjectName(QStringLiteral("Label_guanbi"));
    close_->setToolTip(QStringLiteral("关闭"));
    close_->installEventFilter(this);
    left_->installEventFilter(this);
    middle_->installEventFilter(this);

    body_->setObjectName(QStringLiteral("FramedWindowBody"));
    resize(480, heightForBody(160));
}

void FramedWindow::setCloseAction(std::function<void()> action) {
    closeAction_ = std::move(action);
}

void FramedWindow::runCloseAction() {
    if (!closeAction_)
        return;
    const auto action = closeAction_; // the action may replace itself
    action();
}

int FramedWindow::heightForBody(int bodyHeight) {
    return Theme::kTitleBarHeight + bodyHeight + Theme::kBottomEdgeHeight;
}

void FramedWindow::layOutChrome() {
    const int w = width();
    const int h = height();
    const int titleHeight = Theme::kTitleBarHeight;
    left_->setGeometry(0, 0, Theme::kTitleLeftWidth, titleHeight);
    right_->setGeometry(w - Theme::kTitleRightWidth, 0, Theme::kTitleRightWidth, titleHeight);
    middle_->setGeometry(Theme::kTitleLeftWidth, 0,
                         qMax(0, w - Theme::kTitleLeftWidth - Theme::kTitleRightWidth), titleHeight);
    bottom_->setGeometry(0, h - Theme::kBottomEdgeHeight, w, Theme::kBottomEdgeHeight);
    close_->setGeometry(right_->geometry());
    title_->setGeometry(kTitleIndent, 0, qMax(0, right_->x() - kTitleIndent - 8), titleHeight - 2);
    // A title too long for the bar ends in "…"; the whole of it is the tool tip then.
    const QString elided = title_->fontMetrics().elidedText(windowTitle(), Qt::ElideRight, title_->width());
    title_->setText(elided);
    title_->setToolTip(elided == windowTitle() ? QString() : windowTitle());
    body_->setGeometry(1, titleHeight, qMax(0, w - 2), qMax(0, h - titleHeight - Theme::kBottomEdgeHeight));
    close_->raise();
    title_->raise();
}

void FramedWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOutChrome();
}

void FramedWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
        layOutChrome();
}

void FramedWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        layOutChrome();
        centreOnScreen();
    }
}

void FramedWindow::centreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->window()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

bool FramedWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == close_)
        return closeButton_.handle(event, close_, right_, [this] { runCloseAction(); });
    if (watched == left_ || watched == middle_)
        return dragEvent(event);
    return QDialog::eventFilter(watched, event);
}

bool FramedWindow::dragEvent(QEvent* event) {
    return drag_.handle(this, event);
}

void FramedWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        runCloseAction();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A close request of the window system (Alt+F4, a task bar) is the close button's; close() called by
// code closes as for any dialog.
void FramedWindow::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    runCloseAction();
}

void FramedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int top = Theme::kTitleBarHeight;
    const int bottom = height() - Theme::kBottomEdgeHeight - 1;
    painter.setPen(colours::kNavy);
    painter.drawLine(0, top, 0, bottom);
    painter.drawLine(width() - 1, top, width() - 1, bottom);
}

} // namespace lumiset::ui
