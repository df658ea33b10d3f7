#include "ui/dialogs/MessageFrame.h"

#include "ui/Theme.h"
#include "ui/WrappingLabel.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace lumiset::ui {

namespace {

constexpr int kSideMargin = 24;
constexpr int kTopMargin = 18;
constexpr int kBottomMargin = 14;
constexpr int kButtonSpacing = 18;
constexpr double kMostOfTheScreen = 0.85;

} // namespace

MessageFrame::MessageFrame(QWidget* parent, QSize size, int bottomSpace)
    : FramedWindow(parent), size_(size), layout_(new QVBoxLayout(body())), scroll_(new QScrollArea(body())),
      message_(new WrappingLabel), buttons_(new QHBoxLayout) {
    message_->setObjectName(QStringLiteral("Label_xianshi_xiaoxi"));
    message_->setAlignment(Qt::AlignCenter);
    QFont font = message_->font();
    font.setPixelSize(Theme::kMessagePixelSize);
    message_->setFont(font);
    QPalette palette = message_->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    message_->setPalette(palette);

    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidget(message_);
    scroll_->viewport()->setAutoFillBackground(false);
    message_->setAutoFillBackground(false);

    layout_->setContentsMargins(kSideMargin, kTopMargin, kSideMargin, kBottomMargin + bottomSpace);
    layout_->setSpacing(kTopMargin);
    layout_->addWidget(scroll_, 1);
    buttons_->setSpacing(kButtonSpacing);
    buttons_->addStretch(1);
    buttons_->addStretch(1);
    layout_->addLayout(buttons_);
    resize(size_);
}

QPushButton* MessageFrame::addButton(const char* objectName, const QString& text) {
    auto* button = new QPushButton(text, body());
    button->setObjectName(QLatin1String(objectName));
    button->setMinimumWidth(88);
    buttons_->insertWidget(buttons_->count() - 1, button);
    return button;
}

void MessageFrame::setMessage(const QString& text) {
    message_->setText(text);
    fitHeight();
}

QString MessageFrame::message() const {
    return message_->text();
}

void MessageFrame::showEvent(QShowEvent* event) {
    // The style sheet may change fonts when the window is first polished: measure again before showing.
    fitHeight();
    FramedWindow::showEvent(event);
}

void MessageFrame::fitHeight() {
    ensurePolished();
    const QMargins margins = layout_->contentsMargins();
    const int textWidth = size_.width() - 2 - margins.left() - margins.right();
    const int rest = margins.top() + margins.bottom() + layout_->spacing() + buttons_->sizeHint().height();
    const int wanted = heightForBody(rest + message_->heightForWidth(textWidth));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = screen ? int(screen->availableGeometry().height() * kMostOfTheScreen) : wanted;
    resize(size_.width(), qMax(size_.height(), qMin(wanted, limit)));
}

} // namespace lumiset::ui
