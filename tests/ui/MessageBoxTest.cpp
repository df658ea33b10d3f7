#include "ui/dialogs/MessageBox.h"

#include "core/Error.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <string>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

struct Seen {
    QString form, caption, message;
    QSize size;
};

Seen look(QWidget* modal) {
    auto* label = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"));
    return {modal->objectName(), modal->windowTitle(), label ? label->text() : QString(), modal->size()};
}

// How a user dismisses a message box.
void dismiss(QWidget* modal, const std::string& how) {
    if (how == "Button2")
        ClickWidget(modal->findChild<QPushButton*>(QStringLiteral("Button2")));
    else if (how == "Label_guanbi")
        ClickWidget(modal->findChild<QWidget*>(QStringLiteral("Label_guanbi")));
    else if (how == "Escape")
        PressKey(modal, Qt::Key_Escape);
    else if (how == "Return")
        PressKey(modal, Qt::Key_Return);
    else
        ADD_FAILURE() << "unknown way " << how;
}

} // namespace

class MessageBoxClosing : public ::testing::TestWithParam<std::string> {};

TEST_P(MessageBoxClosing, ShowsTheMessageAndReturnsOnceDismissed) {
    Seen seen;
    ModalDriver driver([&](QWidget* modal) {
        seen = look(modal);
        dismiss(modal, GetParam());
    });
    ShowMessage(nullptr, QStringLiteral("没有找到背景图片文件！"));

    EXPECT_EQ(driver.acted(), 1);
    EXPECT_EQ(seen.form, QStringLiteral("TForm14"));
    EXPECT_EQ(seen.caption, QStringLiteral("提示"));
    EXPECT_EQ(seen.message, QStringLiteral("没有找到背景图片文件！"));
    EXPECT_EQ(seen.size, QSize(584, 171));
}

INSTANTIATE_TEST_SUITE_P(Ways, MessageBoxClosing,
                         ::testing::Values("Button2", "Label_guanbi", "Escape", "Return"));

TEST(MessageBox, AnErrorShowsUnderItsOwnCaption) {
    Seen plain, captioned;
    ModalDriver driver({[&](QWidget* modal) {
                            plain = look(modal);
                            dismiss(modal, "Button2");
                        },
                        [&](QWidget* modal) {
                            captioned = look(modal);
                            dismiss(modal, "Button2");
                        }});
    ShowError(nullptr, Error(QStringLiteral("不是 Lumiset 相册文件")));
    ShowError(nullptr, Error(QStringLiteral("没有选中组合模板！"), QStringLiteral("组合模板")));

    EXPECT_EQ(plain.caption, QStringLiteral("提示"));
    EXPECT_EQ(plain.message, QStringLiteral("不是 Lumiset 相册文件"));
    EXPECT_EQ(captioned.caption, QStringLiteral("组合模板"));
    EXPECT_EQ(captioned.message, QStringLiteral("没有选中组合模板！"));
}

// --- long messages wrap and the window grows; nothing is cut off

struct LongMessageCase {
    const char* name;
    QString text;
    bool grows;   // more lines than the window's usual height holds
    bool scrolls; // too long for the screen: the message scrolls in a window of most of its height
};

class LongMessages : public ::testing::TestWithParam<LongMessageCase> {};

TEST_P(LongMessages, WrapInsideTheWindowInsteadOfBeingCut) {
    MessageBox box;
    box.setMessage(GetParam().text);
    box.show();
    auto* label = box.findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"));
    auto* scroll = box.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);

    EXPECT_EQ(box.width(), 584);
    EXPECT_EQ(box.height() > 171, GetParam().grows);
    // The label is as high as its wrapped text needs at the width it has.
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    // Its text fits that width: at least as many lines as the text is wide.
    const int lineHeight = label->fontMetrics().height();
    int lines = 0;
    for (const QString& paragraph : GetParam().text.split(u'\n'))
        lines += qMax(1, (label->fontMetrics().horizontalAdvance(paragraph) + label->width() - 1) /
                             label->width());
    EXPECT_GE(label->heightForWidth(label->width()), lines * lineHeight * 9 / 10);
    // The buttons stay inside the window, below the text.
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("Button2"));
    EXPECT_TRUE(box.rect().contains(QRect(ok->mapTo(&box, QPoint(0, 0)), ok->size())));
    EXPECT_GT(ok->mapTo(&box, QPoint(0, 0)).y(),
              scroll->mapTo(&box, QPoint(0, 0)).y() + scroll->height() - 1);

    EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, GetParam().scrolls);
    if (GetParam().scrolls) {
        EXPECT_LE(box.height(), box.screen()->availableGeometry().height());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LongMessages,
    ::testing::Values(
        LongMessageCase{
            "Sentences",
            QStringLiteral("照片文件读取失败, 请检查照片文件是否存在, 以及照片所在的文件夹是否可以读取。") +
                QStringLiteral("相册中的其他照片没有改变, 可以继续添加模板和音乐, 然后再重新导入这张照片。"),
            false, false},
        LongMessageCase{
            "PathWithoutSpaces",
            QStringLiteral("无法删除文件: /home/user/.cache/lumiset/korvel/wj_0_or_2/wjj_00_j_y/"
                           "averyveryverylongfilenamewithoutanyspacesatallthatgoesonandonandonandonforever"
                           "andeverandeverandever.rar"),
            false, false},
        LongMessageCase{"Lines", QStringLiteral("相册文件已损坏:\n第一行\n第二行\n第三行\n第四行"), true,
                        false},
        LongMessageCase{"MoreThanAScreen", QStringLiteral("这是很长的一行错误信息。\n").repeated(80), true,
                        true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
