#include "ui/windows/SettingsWindow.h"

#include "core/SystemSettings.h"
#include "tests/support/TempTree.h"
#include "ui/Workspace.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

struct SettingsFixture {
    TempTree tree;
    Workspace workspace{DataPaths(tree.file("program"), tree.file("work")), TemplateCatalogue()};
    SettingsWindow window{workspace};
    QRadioButton* radio(const QString& control) { return window.findChild<QRadioButton*>(control); }
    bool stored(const QString& control) {
        return IsSettingChecked(workspace.document.album().settings, control);
    }
};

} // namespace

TEST(SettingsWindow, OffersTheVisibleGroupsOnlyWithTheirDefaults) {
    SettingsFixture f;
    for (const SettingGroup& group : SystemSettingGroups())
        for (const SettingChoice& choice : group.choices) {
            QRadioButton* button = f.radio(choice.control);
            if (group.hidden) {
                EXPECT_EQ(button, nullptr) << qPrintable(choice.control);
                continue;
            }
            ASSERT_NE(button, nullptr) << qPrintable(choice.control);
            EXPECT_EQ(button->text(), choice.caption);
            EXPECT_EQ(button->isChecked(), choice.control == group.defaultControl);
        }
    EXPECT_EQ(f.window.findChildren<QGroupBox*>().size(), 5);
}

TEST(SettingsWindow, AClickIsOneUndoableStepOfTheAlbum) {
    SettingsFixture f;
    f.radio(SettingControl::NoTextEffects)->click();
    EXPECT_TRUE(f.stored(SettingControl::NoTextEffects));
    EXPECT_TRUE(f.workspace.document.isModified());
    f.workspace.document.undo();
    EXPECT_TRUE(f.stored(SettingControl::AddTextEffects));
    EXPECT_TRUE(f.radio(SettingControl::AddTextEffects)->isChecked()) << "the window follows the document";
}

TEST(SettingsWindow, ResetRestoresTheVisibleGroupsAndKeepsTheHiddenOnes) {
    SettingsFixture f;
    f.workspace.document.modify(QStringLiteral("设置"), [](Album& album) {
        SystemSettings(album.settings).check(SettingControl::AddPictureEffects);
    });
    f.radio(SettingControl::NoTextEffects)->click();
    f.radio(SettingControl::MainViewLandscapeModerate)->click();
    f.window.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_TRUE(f.radio(SettingControl::AddTextEffects)->isChecked());
    EXPECT_TRUE(f.radio(SettingControl::MainViewLandscapeFullScreen)->isChecked());
    EXPECT_TRUE(f.stored(SettingControl::AddPictureEffects)) << "a hidden group keeps its state";
}
