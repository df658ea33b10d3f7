#include "ui/dialogs/ConfirmBox.h"

#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <string>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

void answer(QWidget* modal, const std::string& how) {
    if (how == "Escape")
        PressKey(modal, Qt::Key_Escape);
    else if (how == "Return")
        PressKey(modal, Qt::Key_Return);
    else
        ClickWidget(modal->findChild<QWidget*>(QString::fromStdString(how)));
}

} // namespace

struct AnswerCase {
    std::string how;
    bool consent;
};

class ConfirmAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ConfirmAnswers, OnlyOkIsConsent) {
    QString form, caption, question;
    QSize size;
    ModalDriver driver([&](QWidget* modal) {
        form = modal->objectName();
        caption = modal->windowTitle();
        question = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"))->text();
        size = modal->size();
        answer(modal, GetParam().how);
    });

    const bool consent =
        AskToConfirm(nullptr, QStringLiteral("删除照片"), QStringLiteral("是否删除当前选中的照片?"));

    EXPECT_EQ(driver.acted(), 1);
    EXPECT_EQ(consent, GetParam().consent);
    EXPECT_EQ(form, QStringLiteral("TForm17"));
    EXPECT_EQ(caption, QStringLiteral("删除照片"));
    EXPECT_EQ(question, QStringLiteral("是否删除当前选中的照片?"));
    EXPECT_EQ(size, QSize(806, 233));
}

INSTANTIATE_TEST_SUITE_P(Ways, ConfirmAnswers,
                         ::testing::Values(AnswerCase{"Button3", true}, AnswerCase{"Button4", false},
                                           AnswerCase{"Label_guanbi", false}, AnswerCase{"Escape", false},
                                           AnswerCase{"Return", true}),
                         [](const auto& testInfo) { return testInfo.param.how; });

// A box shown again starts without the previous answer.
TEST(ConfirmBox, EachQuestionStartsWithoutAnAnswer) {
    ConfirmBox box;
    ModalDriver driver({[](QWidget* modal) { answer(modal, "Button3"); },
                        [&](QWidget* modal) {
                            EXPECT_TRUE(box.answer().isEmpty());
                            answer(modal, "Label_guanbi");
                        }});
    EXPECT_TRUE(box.ask(QStringLiteral("删除模板"), QStringLiteral("是否删除选中的模板?")));
    EXPECT_EQ(box.answer(), QStringLiteral("yes"));
    EXPECT_FALSE(box.ask(QStringLiteral("删除模板"), QStringLiteral("是否删除全部模板?")));
    EXPECT_TRUE(box.answer().isEmpty());
}

// The question function that operations of the core take puts its questions in the box.
TEST(ConfirmBox, ServesAsTheQuestionFunctionOfOperations) {
    QString caption;
    ModalDriver driver([&](QWidget* modal) {
        caption = modal->windowTitle();
        answer(modal, "Button3");
    });
    const Confirm confirm = ConfirmWithBox(nullptr);
    EXPECT_TRUE(confirm(QStringLiteral("删除音乐"), QStringLiteral("是否删除选中的音乐?")));
    EXPECT_EQ(caption, QStringLiteral("删除音乐"));
}
