#include "core/SystemSettings.h"

#include "core/AlbumFile.h"
#include "core/Error.h"

#include <gtest/gtest.h>

using namespace lumiset;
namespace Control = lumiset::SettingControl;

TEST(SystemSettings, EmptyStoreReadsTheDefaults) {
    const QMap<QString, QString> store;
    for (const QString& control :
         {Control::LandscapeCropFullScreen, Control::PortraitCropModerate,
          Control::MainViewLandscapeFullScreen, Control::MainViewPortraitModerate, Control::AddTextEffects,
          Control::NoPictureEffects, Control::NoCombinations})
        EXPECT_TRUE(IsSettingChecked(store, control)) << control.toStdString();
    for (const QString& control :
         {Control::LandscapeCropModerate, Control::MainViewLandscapeModerate, Control::NoTextEffects,
          Control::AddPictureEffects, Control::UseCombinations})
        EXPECT_FALSE(IsSettingChecked(store, control)) << control.toStdString();
}

TEST(SystemSettings, EveryGroupHasItsDefaultAmongItsChoices) {
    for (const SettingGroup& group : SystemSettingGroups()) {
        ASSERT_FALSE(group.choices.isEmpty());
        EXPECT_EQ(SettingGroupOf(group.defaultControl), &group) << group.caption.toStdString();
    }
}

TEST(SystemSettings, CheckingAButtonUnchecksTheOthersOfItsGroupOnly) {
    Album album;
    SystemSettings settings(album.settings);
    settings.check(Control::NoTextEffects);
    settings.check(Control::UseCombinations);
    EXPECT_TRUE(settings.isChecked(Control::NoTextEffects));
    EXPECT_FALSE(settings.isChecked(Control::AddTextEffects));
    EXPECT_TRUE(settings.isChecked(Control::UseCombinations));
    EXPECT_TRUE(settings.isChecked(Control::LandscapeCropFullScreen));
}

TEST(SystemSettings, ResetRestoresTheVisibleGroupsAndKeepsTheHiddenOnes) {
    Album album;
    SystemSettings settings(album.settings);
    settings.check(Control::NoTextEffects);
    settings.check(Control::LandscapeCropModerate);
    settings.uncheck(Control::PortraitCropModerate);
    settings.check(Control::AddPictureEffects);
    settings.check(Control::UseCombinations);
    settings.resetToDefaults();
    EXPECT_TRUE(settings.isChecked(Control::AddTextEffects));
    EXPECT_TRUE(settings.isChecked(Control::LandscapeCropFullScreen));
    EXPECT_TRUE(settings.isChecked(Control::PortraitCropModerate));
    EXPECT_TRUE(settings.isChecked(Control::AddPictureEffects));
    EXPECT_TRUE(settings.isChecked(Control::UseCombinations));
}

TEST(SystemSettings, AreSavedWithTheAlbum) {
    Album album;
    SystemSettings(album.settings).check(Control::NoTextEffects);
    SystemSettings(album.settings).uncheck(Control::PortraitCropModerate);
    const Album reopened = AlbumFromJson(AlbumToJson(album));
    EXPECT_TRUE(IsSettingChecked(reopened.settings, Control::NoTextEffects));
    EXPECT_FALSE(IsSettingChecked(reopened.settings, Control::PortraitCropModerate));
}

TEST(SystemSettings, AHandEditedGroupWithTwoCheckedButtonsGivesOneAnswer) {
    const QMap<QString, QString> store{{Control::AddTextEffects, "true"}, {Control::NoTextEffects, "true"}};
    EXPECT_TRUE(IsSettingChecked(store, Control::AddTextEffects));
    EXPECT_FALSE(IsSettingChecked(store, Control::NoTextEffects));
}

TEST(SystemSettings, UnknownControlsAndUncheckingARealChoiceAreRefused) {
    Album album;
    SystemSettings settings(album.settings);
    EXPECT_THROW(settings.check("RadioButton_nothing"), Error);
    EXPECT_THROW((void)settings.isChecked("RadioButton_nothing"), Error);
    EXPECT_THROW(settings.uncheck(Control::AddTextEffects), Error);
    EXPECT_TRUE(album.settings.isEmpty());
}
