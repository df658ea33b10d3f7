#include "core/SystemSettings.h"

#include "core/Error.h"

namespace lumiset {

namespace {

const QString kChecked = QStringLiteral("true");
const QString kUnchecked = QStringLiteral("false");

QList<SettingGroup> declareGroups() {
    using namespace SettingControl;
    return {
        {QStringLiteral("导入照片时，对横照片的剪裁效果   (支持单张照片模板效果)"),
         false,
         {{LandscapeCropModerate, QStringLiteral("横照片剪裁成适中效果")},
          {LandscapeCropFullScreen, QStringLiteral("横照片剪裁成全屏效果")}},
         LandscapeCropFullScreen},
        {QStringLiteral("导入照片时，对竖照片的剪裁效果   (支持单张照片模板效果)"),
         false,
         {{PortraitCropModerate, QStringLiteral("竖照片剪裁成适中效果")}},
         PortraitCropModerate},
        {QStringLiteral("主界面横照片显示效果"),
         false,
         {{MainViewLandscapeModerate, QStringLiteral("横照片适中显示效果")},
          {MainViewLandscapeFullScreen, QStringLiteral("横照片全屏显示效果")}},
         MainViewLandscapeFullScreen},
        {QStringLiteral("主界面竖照片显示效果"),
         false,
         {{MainViewPortraitModerate, QStringLiteral("竖照片适中显示效果")}},
         MainViewPortraitModerate},
        {QStringLiteral("添加照片时是否为已经使用模板自动添加文字特效"),
         false,
         {{AddTextEffects, QStringLiteral("自动添加文字特效")},
          {NoTextEffects, QStringLiteral("不添加文字特效")}},
         AddTextEffects},
        {QStringLiteral("添加照片时是否为已经使用模板自动添加画面特效"),
         true,
         {{AddPictureEffects, QStringLiteral("自动添加画面特效")},
          {NoPictureEffects, QStringLiteral("不添加画面特效")}},
         NoPictureEffects},
        {QStringLiteral("导入照片时，使用模板组合效果"),
         true,
         {{UseCombinations, QStringLiteral("使用模板组合效果")},
          {NoCombinations, QStringLiteral("不使用模板组合效果")}},
         NoCombinations},
    };
}

const SettingGroup& groupOrThrow(const QString& control) {
    const SettingGroup* group = SettingGroupOf(control);
    if (!group)
        throw Error(QStringLiteral("没有名为“%1”的系统设置").arg(control));
    return *group;
}

void writeGroup(QMap<QString, QString>& store, const SettingGroup& group, const QString& checked) {
    for (const SettingChoice& choice : group.choices)
        store.insert(choice.control, choice.control == checked ? kChecked : kUnchecked);
}

} // namespace

const QList<SettingGroup>& SystemSettingGroups() {
    static const QList<SettingGroup> groups = declareGroups();
    return groups;
}

const SettingGroup* SettingGroupOf(const QString& control) {
    for (const SettingGroup& group : SystemSettingGroups())
        for (const SettingChoice& choice : group.choices)
            if (choice.control == control)
                return &group;
    return nullptr;
}

bool IsSettingChecked(const QMap<QString, QString>& store, const QString& control) {
    const SettingGroup& group = groupOrThrow(control);
    // A group is read as a whole, so a hand-edited file that checks two buttons of one group still
    // gives one answer: the first checked button in window order.
    bool anyStored = false;
    for (const SettingChoice& choice : group.choices) {
        const auto it = store.constFind(choice.control);
        if (it == store.constEnd())
            continue;
        anyStored = true;
        if (*it == kChecked)
            return choice.control == control;
    }
    return !anyStored && control == group.defaultControl;
}

bool SystemSettings::isChecked(const QString& control) const {
    return IsSettingChecked(store_, control);
}

void SystemSettings::check(const QString& control) {
    writeGroup(store_, groupOrThrow(control), control);
}

void SystemSettings::uncheck(const QString& control) {
    const SettingGroup& group = groupOrThrow(control);
    if (group.choices.size() != 1)
        throw Error(QStringLiteral("系统设置“%1”只能通过选中同组的另一项来取消").arg(control));
    writeGroup(store_, group, QString());
}

void SystemSettings::resetToDefaults() {
    for (const SettingGroup& group : SystemSettingGroups())
        if (!group.hidden)
            writeGroup(store_, group, group.defaultControl);
}

} // namespace lumiset
