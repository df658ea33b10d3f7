#include "ui/dialogs/ProgressWindow.h"

#include "core/Album.h"
#include "core/Error.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

// A job that reports its steps and runs until it is stopped or `steps` have passed.
AlbumJob countingJob(int steps) {
    return [steps](const Album& album, Job& control) {
        for (int i = 0; i < steps; ++i) {
            if (control.stopRequested())
                return JobOutcome::stopped({QStringLiteral("已停止")});
            control.report(i, steps, QStringLiteral("第%1步").arg(i));
            QThread::msleep(5);
        }
        Album next = album;
        next.settings.insert(QStringLiteral("done"), QStringLiteral("yes"));
        return JobOutcome::done(next, {QStringLiteral("完成")});
    };
}

} // namespace

TEST(ProgressWindow, RunsTheJobBehindAMovingBarAndClosesWithItsOutcome) {
    int highest = 0;
    ModalDriver driver([&](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), QStringLiteral("TForm13"));
        auto* bar = modal->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        WaitFor([&] {
            highest = qMax(highest, bar->value());
            return !modal->isVisible();
        });
    });
    const JobOutcome outcome =
        RunInProgressWindow(nullptr, QStringLiteral("添加照片"), Album(), countingJob(40));
    ASSERT_TRUE(outcome.isDone());
    EXPECT_EQ(outcome.album->settings.value(QStringLiteral("done")), QStringLiteral("yes"));
    EXPECT_EQ(outcome.messages, QStringList{QStringLiteral("完成")});
    EXPECT_GT(highest, 0);
}

TEST(ProgressWindow, StopEndsTheJobPromptlyAndTheCloseButtonDoesNot) {
    QElapsedTimer clock;
    ModalDriver driver([&](QWidget* modal) {
        auto* window = static_cast<ProgressWindow*>(modal);
        WaitFor([&] { return window->isWorking(); });
        ClickWidget(modal->findChild<QLabel*>(QStringLiteral("Label_guanbi")));
        PressKey(modal, Qt::Key_Escape);
        SendSystemClose(modal);
        QApplication::processEvents();
        EXPECT_TRUE(modal->isVisible());
        clock.start();
        modal->findChild<QPushButton*>(QStringLiteral("Button_tingzhi"))->click();
    });
    const JobOutcome outcome =
        RunInProgressWindow(nullptr, QStringLiteral("添加照片"), Album(), countingJob(100000));
    EXPECT_TRUE(outcome.isStopped());
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(ProgressWindow, AFailingJobComesBackAsAFailure) {
    ModalDriver driver([](QWidget*) {});
    const JobOutcome outcome = RunInProgressWindow(
        nullptr, QStringLiteral("加载照片"), Album(),
        [](const Album&, Job&) -> JobOutcome { throw Error(QStringLiteral("照片文件损坏")); });
    EXPECT_EQ(outcome.status, JobOutcome::Status::Failed);
    EXPECT_EQ(outcome.messages, QStringList{QStringLiteral("照片文件损坏")});
}
