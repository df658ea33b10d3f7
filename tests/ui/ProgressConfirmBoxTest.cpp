#include "ui/dialogs/ProgressConfirmBox.h"

#include "core/Error.h"
#include "core/Folders.h"
#include "core/WorkCleanup.h"
#include "tests/support/TempTree.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

const QString kCaption = QStringLiteral("退出软件");
const QString kQuestion = QStringLiteral("是否退出软件?");

QPushButton* button(QWidget* modal, const char* name) {
    return modal->findChild<QPushButton*>(QLatin1String(name));
}
QProgressBar* bar(QWidget* modal) {
    return modal->findChild<QProgressBar*>(QStringLiteral("ProgressBar_linshiwenjian_01"));
}

// Work folders as a run leaves them: some packages in nested folders, the preview tree, loose files.
struct LeftOverRun {
    TempTree tree;
    DataPaths paths{tree.file("program"), tree.file("work")};
    LeftOverRun() {
        for (int i = 0; i < 12; ++i)
            tree.write(QStringLiteral("work/korvel/wj_0_or_2/wjj_00_j_y/%1/wj_y_l_%1.rar").arg(i), "x");
        tree.write("work/korvel/wj_y_l/wj_y_l/wj_y_l/wj_y_l.bmp", "x");
        tree.write("work/korvel/wj_0_or_6_6/wj_0_or_6_6.jpg", "x");
    }
    bool anyLeft() const {
        for (const QString& folder : paths.workFoldersToClear())
            if (QFileInfo::exists(folder))
                return true;
        for (const QString& file : paths.workFilesToClear())
            if (QFileInfo::exists(file))
                return true;
        return false;
    }
};

} // namespace

TEST(ProgressConfirmBox, OkClearsTheWorkFoldersWhileTheBarMovesAndTheButtonsRest) {
    LeftOverRun run;
    int entries = 1; // the loose file
    for (const QString& folder : run.paths.workFoldersToClear())
        entries += CountTreeEntries(folder);

    std::vector<int> positions;
    int maximum = 0;
    bool buttonsRested = true;
    QString form;
    QSize size;
    ModalDriver driver([&](QWidget* modal) {
        form = modal->objectName();
        size = modal->size();
        QProgressBar* progress = bar(modal);
        QObject::connect(progress, &QProgressBar::valueChanged, progress, [&, modal, progress](int value) {
            positions.push_back(value);
            maximum = progress->maximum();
            buttonsRested = buttonsRested && !button(modal, "Button3")->isEnabled() &&
                            !button(modal, "Button4")->isEnabled();
        });
        ClickWidget(button(modal, "Button3"));
    });

    const bool confirmed = ConfirmAndRun(nullptr, kCaption, kQuestion,
                                         [&](const Job& control) { ClearWorkFiles(run.paths, control); });

    EXPECT_TRUE(confirmed);
    EXPECT_EQ(form, QStringLiteral("TForm16"));
    EXPECT_EQ(size, QSize(731, 234));
    EXPECT_FALSE(run.anyLeft());
    EXPECT_TRUE(buttonsRested);
    EXPECT_EQ(maximum, entries);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), entries);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GT(positions.size(), 3u); // it moved step by step, not in one jump
}

class ProgressConfirmDeclined : public ::testing::TestWithParam<std::string> {};

TEST_P(ProgressConfirmDeclined, DoesNothing) {
    LeftOverRun run;
    std::atomic<bool> ran{false};
    QRect barPlace, window;
    ModalDriver driver([&](QWidget* modal) {
        barPlace = bar(modal)->geometry();
        window = modal->rect();
        if (GetParam() == "Escape")
            PressKey(modal, Qt::Key_Escape);
        else
            ClickWidget(modal->findChild<QWidget*>(QString::fromStdString(GetParam())));
    });

    EXPECT_FALSE(ConfirmAndRun(nullptr, kCaption, kQuestion, [&](const Job&) { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(run.anyLeft());
    // The bar lies along the bottom, 5 pixels above the lower edge, as wide as the window.
    EXPECT_EQ(barPlace.bottom(), window.bottom() - 5);
    EXPECT_EQ(barPlace.left(), 0);
    EXPECT_EQ(barPlace.width(), window.width());
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgressConfirmDeclined,
                         ::testing::Values("Button4", "Label_guanbi", "Escape"));

// Once the work runs, nothing can close the box or start the work again, and the interface still
// answers (this very check runs while the work waits).
TEST(ProgressConfirmBox, WhileWorkingNothingClosesTheBox) {
    std::atomic<bool> release{false};
    std::atomic<int> runs{0};
    bool stayedOpen = false;
    ModalDriver driver([&](QWidget* modal) {
        struct Release { // whatever happens here, the work must end
            std::atomic<bool>& flag;
            ~Release() { flag = true; }
        } releaseOnExit{release};
        auto* box = static_cast<ProgressConfirmBox*>(modal);
        ClickWidget(button(modal, "Button3"));
        ASSERT_TRUE(WaitFor([&] { return box->isWorking() && bar(modal)->value() == 1; }));
        ClickWidget(modal->findChild<QWidget*>(QStringLiteral("Label_guanbi")));
        PressKey(modal, Qt::Key_Escape);
        SendSystemClose(modal);
        ClickWidget(button(modal, "Button4"));
        ClickWidget(button(modal, "Button3"));
        PressKey(modal, Qt::Key_Return);
        QApplication::processEvents();
        stayedOpen = modal->isVisible();
    });

    const bool confirmed = ConfirmAndRun(nullptr, kCaption, kQuestion, [&](const Job& control) {
        ++runs;
        control.report(1, 2);
        // Bounded, so that work run on the interface thread by mistake fails the test instead of hanging.
        for (QDeadlineTimer limit(5000); !release && !limit.hasExpired();)
            QThread::msleep(2);
        control.report(2, 2);
    });

    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(runs, 1);
}

TEST(ProgressConfirmBox, AFailedWorkIsShownBeforeTheBoxCloses) {
    QString shown, form;
    ModalDriver driver({[](QWidget* modal) { ClickWidget(button(modal, "Button3")); },
                        [&](QWidget* modal) {
                            form = modal->objectName();
                            shown = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"))->text();
                            ClickWidget(button(modal, "Button2"));
                        }});

    const bool confirmed = ConfirmAndRun(nullptr, kCaption, kQuestion, [](const Job&) {
        throw Error(QStringLiteral("无法删除文件: wj_y_l.bmp"));
    });

    EXPECT_TRUE(confirmed);
    EXPECT_EQ(driver.acted(), 2);
    EXPECT_EQ(form, QStringLiteral("TForm14"));
    EXPECT_EQ(shown, QStringLiteral("无法删除文件: wj_y_l.bmp"));
}
