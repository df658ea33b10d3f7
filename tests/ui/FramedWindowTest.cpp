#include "ui/FramedWindow.h"
#include "ui/Theme.h"

#include "tests/ui/UiEvents.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

QLabel* chrome(const QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QLatin1String(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

bool shows(const QLabel* label, ThemePicture picture) {
    return label->pixmap().toImage() == Theme::picture(picture).toImage();
}

} // namespace

TEST(FramedWindow, TitleBarAndBottomEdgeFollowTheWindowSize) {
    for (const QSize size : {QSize(584, 171), QSize(1189, 695), QSize(120, 80)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        FramedWindow window;
        window.resize(size);
        window.show();

        const QRect left = chrome(window, "Image_zhujiemian_1")->geometry();
        const QRect middle = chrome(window, "Image_zhujiemian_2")->geometry();
        const QRect right = chrome(window, "Image_zhujiemian_3")->geometry();
        const QRect bottom = chrome(window, "Image_zuixiamian")->geometry();
        EXPECT_EQ(left.topLeft(), QPoint(0, 0));
        EXPECT_EQ(middle.left(), left.right() + 1);
        EXPECT_EQ(right.left(), middle.right() + 1);
        EXPECT_EQ(right.right(), size.width() - 1);
        EXPECT_EQ(middle.height(), left.height());
        EXPECT_EQ(bottom,
                  QRect(0, size.height() - Theme::kBottomEdgeHeight, size.width(), Theme::kBottomEdgeHeight));
        EXPECT_EQ(chrome(window, "Label_guanbi")->geometry(), right);
        const QRect body = window.body()->geometry();
        EXPECT_EQ(body.top(), left.bottom() + 1);
        EXPECT_EQ(body.bottom(), bottom.top() - 1);
    }
}

TEST(FramedWindow, TitleShowsTheCaptionAndEndsALongOneInAnEllipsis) {
    FramedWindow window;
    window.resize(300, 120);
    window.setWindowTitle(QStringLiteral("背景图片"));
    window.show();
    QLabel* title = chrome(window, "Label_xianshi_chuangkou_biaoti");
    EXPECT_EQ(title->text(), QStringLiteral("背景图片"));

    const QString longTitle =
        QStringLiteral("这是一个非常非常长的窗口标题, 长得放不进标题栏里面, 只好省略后面的部分");
    window.setWindowTitle(longTitle);
    EXPECT_TRUE(title->text().endsWith(QChar(0x2026)));
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());
    EXPECT_LE(title->geometry().right(), chrome(window, "Image_zhujiemian_3")->x());
    EXPECT_EQ(title->toolTip(), longTitle);
}

TEST(FramedWindow, ShowsCentredOnTheScreen) {
    FramedWindow window;
    window.resize(400, 200);
    window.move(0, 0);
    window.show();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((window.frameGeometry().center() - screenCentre).manhattanLength(), 1);
}

// --- the close button's pictures, step by step

struct ClosePicturesCase {
    const char* name;
    std::vector<const char*> steps;
    ThemePicture shown;
    int closes; // how often the close action ran
};

class ClosePictures : public ::testing::TestWithParam<ClosePicturesCase> {};

TEST_P(ClosePictures, FollowTheMouseLikeAButton) {
    FramedWindow window;
    window.resize(400, 200);
    int closes = 0;
    window.setCloseAction([&] { ++closes; });
    window.show();
    QLabel* close = chrome(window, "Label_guanbi");
    QLabel* picture = chrome(window, "Image_zhujiemian_3");
    const QPoint inside = close->rect().center();
    const QPoint outside(-30, 60);
    ASSERT_TRUE(shows(picture, ThemePicture::TitleRight));

    for (const std::string step : GetParam().steps) {
        if (step == "enter")
            SendEnter(close);
        else if (step == "leave")
            SendLeave(close);
        else if (step == "press")
            SendMouse(close, QEvent::MouseButtonPress, inside, Qt::LeftButton);
        else if (step == "move out")
            SendMouse(close, QEvent::MouseMove, outside, Qt::LeftButton);
        else if (step == "move in")
            SendMouse(close, QEvent::MouseMove, inside, Qt::LeftButton);
        else if (step == "release")
            SendMouse(close, QEvent::MouseButtonRelease, inside, Qt::NoButton);
        else if (step == "release outside")
            SendMouse(close, QEvent::MouseButtonRelease, outside, Qt::NoButton);
        else
            FAIL() << "unknown step " << step;
    }

    EXPECT_TRUE(shows(picture, GetParam().shown));
    EXPECT_EQ(closes, GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ClosePictures,
    ::testing::Values(
        ClosePicturesCase{"Hovered", {"enter"}, ThemePicture::TitleRightHovered, 0},
        ClosePicturesCase{"Left", {"enter", "leave"}, ThemePicture::TitleRight, 0},
        ClosePicturesCase{"Pressed", {"enter", "press"}, ThemePicture::TitleRightPressed, 0},
        ClosePicturesCase{"Released", {"enter", "press", "release"}, ThemePicture::TitleRightHovered, 1},
        ClosePicturesCase{"DraggedOff", {"enter", "press", "move out"}, ThemePicture::TitleRight, 0},
        ClosePicturesCase{
            "DraggedBack", {"enter", "press", "move out", "move in"}, ThemePicture::TitleRightPressed, 0},
        ClosePicturesCase{
            "ReleasedOff", {"enter", "press", "move out", "release outside"}, ThemePicture::TitleRight, 0},
        ClosePicturesCase{"TwoClicks",
                          {"enter", "press", "release", "press", "release", "leave"},
                          ThemePicture::TitleRight,
                          2}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// --- what closing does, whichever way the user asks

enum class CloseKind { Default, Own, PictureOnly };
enum class Trigger { CloseButton, Escape, WindowSystem };

class CloseRequests : public ::testing::TestWithParam<std::tuple<CloseKind, Trigger>> {};

TEST_P(CloseRequests, RunTheWindowsCloseAction) {
    const auto [kind, trigger] = GetParam();
    FramedWindow window;
    window.resize(400, 200);
    int ownActions = 0;
    if (kind == CloseKind::Own)
        window.setCloseAction([&] { ++ownActions; });
    else if (kind == CloseKind::PictureOnly)
        window.setCloseAction({});
    window.show();

    switch (trigger) {
    case Trigger::CloseButton:
        ClickWidget(chrome(window, "Label_guanbi"));
        break;
    case Trigger::Escape:
        PressKey(&window, Qt::Key_Escape);
        break;
    case Trigger::WindowSystem:
        SendSystemClose(&window);
        break;
    }

    EXPECT_EQ(window.isVisible(), kind != CloseKind::Default);
    EXPECT_EQ(ownActions, kind == CloseKind::Own ? 1 : 0);
    if (kind == CloseKind::Default) {
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, CloseRequests,
    ::testing::Combine(::testing::Values(CloseKind::Default, CloseKind::Own, CloseKind::PictureOnly),
                       ::testing::Values(Trigger::CloseButton, Trigger::Escape, Trigger::WindowSystem)));

TEST(FramedWindow, CloseCalledByCodeClosesEvenAPictureOnlyWindow) {
    FramedWindow window;
    window.setCloseAction({});
    window.show();
    window.close();
    EXPECT_FALSE(window.isVisible());
}

// --- dragging by the title bar. Offscreen there is no window manager to move the window, so this is
// the path of moving it by hand.

struct DragCase {
    const char* name;
    QPoint grab; // in window coordinates
    bool moves;
};

class Dragging : public ::testing::TestWithParam<DragCase> {};

TEST_P(Dragging, TheTitleBarMovesTheWindowAndNothingElseDoes) {
    FramedWindow window;
    window.resize(500, 220);
    window.setWindowTitle(QStringLiteral("移动窗口"));
    window.show();
    const QPoint start = window.pos();
    // The widget the mouse would reach there (the title text lets the mouse through to the bar).
    QWidget* target = window.childAt(GetParam().grab);
    if (!target)
        target = &window;
    const QPoint at = window.mapToGlobal(GetParam().grab);
    const QPoint step(40, 25);

    SendMouseAtScreen(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouseAtScreen(target, QEvent::MouseMove, at + step / 2, Qt::LeftButton);
    SendMouseAtScreen(target, QEvent::MouseMove, at + step, Qt::LeftButton);
    SendMouseAtScreen(target, QEvent::MouseButtonRelease, at + step, Qt::NoButton);
    SendMouseAtScreen(target, QEvent::MouseMove, at + 2 * step, Qt::NoButton); // after the release: no move

    EXPECT_EQ(window.pos(), GetParam().moves ? start + step : start);
}

INSTANTIATE_TEST_SUITE_P(Places, Dragging,
                         ::testing::Values(DragCase{"TitleBarMiddle", {250, 12}, true},
                                           DragCase{"TitleText", {40, 18}, true},
                                           DragCase{"TitleBarLeftEnd", {6, 30}, true},
                                           DragCase{"CloseButton", {480, 18}, false},
                                           DragCase{"Body", {250, 120}, false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });
