// The system settings: groups of radio buttons declared once as data, kept in the album's settings map
// by control name ("true" for the checked button), so they are saved with the album file. A control
// missing from the map reads as its group's default.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace lumiset {

struct SettingChoice {
    QString control; // the radio button's objectName
    QString caption;
};

struct SettingGroup {
    QString caption;
    bool hidden = false; // not shown to the user, but still read; reset leaves it alone
    QList<SettingChoice> choices;
    QString defaultControl;
};

// Every group of the settings window, in window order.
const QList<SettingGroup>& SystemSettingGroups();

// The group holding `control`, or nullptr.
const SettingGroup* SettingGroupOf(const QString& control);

namespace SettingControl {
inline const QString LandscapeCropModerate = QStringLiteral("RadioButton_hengzhaopian_moren");
inline const QString LandscapeCropFullScreen = QStringLiteral("RadioButton_hengzhaopian_quanping");
inline const QString PortraitCropModerate = QStringLiteral("RadioButton_shuzhaopian_moren");
inline const QString MainViewLandscapeModerate = QStringLiteral("RadioButton_zhujiemian_heng_shizhong");
inline const QString MainViewLandscapeFullScreen = QStringLiteral("RadioButton_zhujiemian_heng_quanpin");
inline const QString MainViewPortraitModerate = QStringLiteral("RadioButton_zhujiemian_shu_shizhong");
inline const QString AddTextEffects = QStringLiteral("RadioButton_wenzitexiao_tianjia");
inline const QString NoTextEffects = QStringLiteral("RadioButton_wenzitexiao_butianjia");
inline const QString AddPictureEffects = QStringLiteral("RadioButton_huamiantexiao_tianjia");
inline const QString NoPictureEffects = QStringLiteral("RadioButton_huamiantexiao_butianjia");
inline const QString UseCombinations = QStringLiteral("RadioButton_moban_zuhe_shiyong");
inline const QString NoCombinations = QStringLiteral("RadioButton_moban_zuhe_bushiyong");
} // namespace SettingControl

// Reads and writes the settings stored in an album's settings map (IsSettingChecked reads a const one).
class SystemSettings {
public:
    explicit SystemSettings(QMap<QString, QString>& store) : store_(store) {}

    bool isChecked(const QString& control) const;
    // Checks `control` and unchecks the other buttons of its group. Throws Error for an unknown control.
    void check(const QString& control);
    // Unchecks the only button of a one-button group (possible from the command line or an album file
    // only: the window offers no way to uncheck it). Throws Error for an unknown control.
    void uncheck(const QString& control);
    // "恢复默认设置": the visible groups go back to their defaults; the hidden groups keep their state.
    void resetToDefaults();

private:
    QMap<QString, QString>& store_;
};

// Whether `control` is checked in `store` (its group's default when the store does not say).
bool IsSettingChecked(const QMap<QString, QString>& store, const QString& control);

} // namespace lumiset
