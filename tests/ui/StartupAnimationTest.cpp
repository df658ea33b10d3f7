#include "ui/startup/StartupAnimation.h"

#include "core/AlbumDocument.h"
#include "core/DataPaths.h"
#include "core/Package.h"
#include "core/Session.h"
#include "tests/support/TempTree.h"
#include "tests/ui/ModalDriver.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;
using ::testing::HasSubstr;

namespace {

const QColor kFirstHalf(220, 40, 60);
const QColor kSecondHalf(40, 60, 220);

// A one-second movie: a red picture for half a second, then a blue one.
QByteArray StartupMovie(const QString& marker = QStringLiteral("k_r_v_t_s_y_l_x")) {
    const auto solid = [](int ind, const QColor& colour, int in, int out) {
        return QStringLiteral(
                   R"({"ddd":0,"ind":%1,"ty":1,"nm":"solid%1","sr":1,"ks":{"a":{"a":0,"k":[0,0,0]},)"
                   R"("p":{"a":0,"k":[0,0,0]},"s":{"a":0,"k":[100,100,100]},"r":{"a":0,"k":0},)"
                   R"("o":{"a":0,"k":100}},"ao":0,"ip":%2,"op":%3,"st":0,"bm":0,"sc":"%4",)"
                   R"("sw":1920,"sh":1080})")
            .arg(ind)
            .arg(in)
            .arg(out)
            .arg(colour.name());
    };
    return QStringLiteral(R"({"v":"5.7.4","fr":25,"ip":0,"op":25,"w":1920,"h":1080,"nm":"start","ddd":0,)"
                          R"("assets":[],"layers":[%1,%2],"markers":[{"tm":0,"cm":"%3","dr":0}]})")
        .arg(solid(1, kFirstHalf, 0, 13), solid(2, kSecondHalf, 13, 25), marker)
        .toUtf8();
}

// The main window's stand-in: a window with the 800 × 450 main view, and a button in the view; counts
// the clicks reaching the button and the presses reaching the view itself.
struct MainViewHost : QObject {
    MainViewHost() {
        window.resize(1000, 600);
        view = new QWidget(&window);
        view->setObjectName(QStringLiteral("ScrollBox_zhujiemian"));
        view->setGeometry(60, 80, 800, 450);
        button = new QPushButton(view);
        button->setGeometry(view->rect());
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        view->installEventFilter(this);
        window.show();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            ++viewPresses;
        return false;
    }
    // A click as the window system delivers it, at the view's centre.
    void clickViewCentre() {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, view->geometry().center());
    }
    QWidget window;
    QWidget* view;
    QPushButton* button;
    int clicks = 0;
    int viewPresses = 0;
};

struct SessionHolder {
    AlbumDocument document{0};
    Session session{document};
};

// A data folder holding the start-up package, and a session for the animation to report to.
struct FolderWithStartupPackage {
    TempTree tree;
    DataPaths paths{tree.path(), tree.path()};
    mutable SessionHolder holder;
    FolderWithStartupPackage() {
        tree.write(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"),
                   EncodePackage(StartupMovie(), PackageLayers::Startup));
    }
};

bool closeTo(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 8 && qAbs(a.green() - b.green()) < 8 && qAbs(a.blue() - b.blue()) < 8;
}

QColor shownColour(QWidget* box) {
    return box->grab().toImage().pixelColor(box->width() / 2, box->height() / 2);
}

} // namespace

TEST(StartupAnimation, PlaysOverTheWholeMainViewAndLoops) {
    const FolderWithStartupPackage folder;
    MainViewHost host;

    StartupAnimation* animation = StartupAnimation::cover(host.view, folder.paths, folder.holder.session);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(folder.holder.session.state.Edit_ShockwaveFlash_qi_dong_dong_hua, QStringLiteral("0"));
    EXPECT_EQ(animation->objectName(), QStringLiteral("ScrollBox_qi_dong_dong_hua"));
    EXPECT_EQ(animation->mapTo(&host.window, QPoint(0, 0)), host.view->geometry().topLeft());
    EXPECT_EQ(animation->size(), host.view->size());
    auto* player = animation->findChild<QWidget*>(QStringLiteral("ShockwaveFlash_2"));
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->geometry(), animation->rect());
    EXPECT_TRUE(animation->isVisible());
    // Clicks at the view land on the box, which keeps them.
    EXPECT_EQ(host.window.childAt(host.view->geometry().center()), animation);

    // Both halves of the movie show, and they keep coming back: more than one second of frames.
    bool sawFirst = false, sawSecond = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            const QColor c = shownColour(animation);
            sawFirst = sawFirst || closeTo(c, kFirstHalf);
            sawSecond = sawSecond || closeTo(c, kSecondHalf);
            return sawFirst && sawSecond && animation->framesShown() > 25;
        },
        10'000))
        << "first half " << sawFirst << ", second half " << sawSecond << ", frames "
        << animation->framesShown();

    // It follows the view when the window mode changes the view's size.
    host.view->setGeometry(20, 30, 960, 540);
    EXPECT_EQ(animation->size(), QSize(960, 540));
    EXPECT_EQ(player->size(), QSize(960, 540));
    ASSERT_TRUE(WaitFor([&] {
        return closeTo(shownColour(animation), kFirstHalf) || closeTo(shownColour(animation), kSecondHalf);
    }));
}

TEST(StartupAnimation, TakesNoInputAndStopFreesItAndGivesTheViewBack) {
    const FolderWithStartupPackage folder;
    MainViewHost host;
    QPointer<StartupAnimation> animation =
        StartupAnimation::cover(host.view, folder.paths, folder.holder.session);
    ASSERT_FALSE(animation.isNull());
    ASSERT_TRUE(WaitFor([&] { return animation->framesShown() > 0; }));

    host.clickViewCentre();
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(host.viewPresses, 0);
    EXPECT_FALSE(animation->hasFocus());

    animation->stop();
    EXPECT_EQ(folder.holder.session.state.Edit_ShockwaveFlash_qi_dong_dong_hua, QStringLiteral("1"));
    EXPECT_FALSE(animation->isVisible());
    // Freed from the event loop (which a test without a running loop lets run explicitly).
    ASSERT_TRUE(WaitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return animation.isNull();
    }));
    EXPECT_EQ(host.view->findChild<QWidget*>(QStringLiteral("ScrollBox_qi_dong_dong_hua")), nullptr);
    host.clickViewCentre();
    EXPECT_EQ(host.clicks, 1);
}

// The main window covers its view while it is built, before it is shown: the movie starts once the view
// shows.
TEST(StartupAnimation, CoversAViewNotYetShownAndPlaysOnceItShows) {
    const FolderWithStartupPackage folder;
    QWidget window;
    auto* view = new QWidget(&window);
    view->setGeometry(10, 10, 400, 225);
    StartupAnimation* animation = StartupAnimation::cover(view, folder.paths, folder.holder.session);
    ASSERT_NE(animation, nullptr);
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(animation->framesShown(), 0);
    window.show();
    EXPECT_TRUE(animation->isVisible());
    EXPECT_TRUE(WaitFor([&] { return animation->framesShown() > 0; }));
}

TEST(StartupAnimation, GoesWithItsViewWhileItPlays) {
    const FolderWithStartupPackage folder;
    auto host = std::make_unique<MainViewHost>();
    QPointer<StartupAnimation> animation =
        StartupAnimation::cover(host->view, folder.paths, folder.holder.session);
    ASSERT_TRUE(WaitFor([&] { return animation && animation->framesShown() > 2; }));
    host.reset();
    EXPECT_TRUE(animation.isNull());
    WaitFor([] { return false; }, 100); // frames still on their way find nobody to show them
}

// --- a start-up package that is missing, damaged or not ours: no animation, a warning, no harm

struct BadPackage {
    const char* name;
    std::function<void(const TempTree&)> prepare;
};

class StartupAnimationRefused : public ::testing::TestWithParam<BadPackage> {};

namespace {
QStringList* warnings = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (warnings && type == QtWarningMsg)
        warnings->append(message);
}
} // namespace

TEST_P(StartupAnimationRefused, LeavesTheViewAsItIsAndLogsWhy) {
    TempTree tree;
    const DataPaths paths(tree.path(), tree.path());
    GetParam().prepare(tree);
    SessionHolder holder;
    MainViewHost host;

    QStringList logged;
    warnings = &logged;
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    StartupAnimation* animation = StartupAnimation::cover(host.view, paths, holder.session);
    qInstallMessageHandler(previous);
    warnings = nullptr;

    EXPECT_EQ(animation, nullptr);
    EXPECT_EQ(holder.session.state.Edit_ShockwaveFlash_qi_dong_dong_hua, QStringLiteral("1"));
    EXPECT_EQ(host.view->findChild<QWidget*>(QStringLiteral("ScrollBox_qi_dong_dong_hua")), nullptr);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_THAT(logged.first().toStdString(), HasSubstr("wj_0_or_2_2_d.rar"));
    host.clickViewCentre();
    EXPECT_EQ(host.clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupAnimationRefused,
    ::testing::Values(BadPackage{"Missing", [](const TempTree&) {}},
                      BadPackage{"Truncated",
                                 [](const TempTree& tree) {
                                     const QByteArray whole =
                                         EncodePackage(StartupMovie(), PackageLayers::Startup);
                                     tree.write(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"),
                                                whole.left(whole.size() / 2));
                                 }},
                      BadPackage{"WrongLayerCount",
                                 [](const TempTree& tree) {
                                     tree.write(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"),
                                                EncodePackage(StartupMovie(), 12));
                                 }},
                      BadPackage{"NotAMovie",
                                 [](const TempTree& tree) {
                                     tree.write(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"),
                                                EncodePackage("{\"layers\": 5}", PackageLayers::Startup));
                                 }},
                      BadPackage{"NotOurs",
                                 [](const TempTree& tree) {
                                     tree.write(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"),
                                                EncodePackage(StartupMovie(QStringLiteral("another")),
                                                              PackageLayers::Startup));
                                 }}),
    [](const auto& c) { return std::string(c.param.name); });
