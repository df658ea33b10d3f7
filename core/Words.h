// The fixed words the album tables and state fields hold.
#pragma once

#include <QString>

namespace lumiset::Words {

// Photo and pending tables.
inline const QString Placed = QStringLiteral("完成");
// Used-template matching state.
inline const QString Complete = QStringLiteral("已完成");
inline const QString Incomplete = QStringLiteral("未完成");
// Template list kinds and categories.
inline const QString AdvancedKind = QStringLiteral("高级模板");
inline const QString SingleKind = QStringLiteral("单张模板");
inline const QString AdvancedCategory = QStringLiteral("综合模板");
inline const QString LandscapeCategory = QStringLiteral("横照模板");
inline const QString PortraitCategory = QStringLiteral("竖照模板");
// Catalogue classes.
inline const QString AdvancedClass = QStringLiteral("gaojimoban");
// Slot table.
inline const QString LandscapeSlot = QStringLiteral("heng_zhaopian");
inline const QString PortraitSlot = QStringLiteral("shu_zhaopian");
inline const QString SlotFilled = QStringLiteral("yi_pipei");
inline const QString FullScreenCrop = QStringLiteral("quanping_or_jubuquanping");
inline const QString ModerateCrop = QStringLiteral("shizhong");
// Effect tables.
inline const QString NoEnd = QStringLiteral("暂无");
inline const QString AddedByHand = QStringLiteral("手动添加");
inline const QString AddedAutomatically = QStringLiteral("自动添加");
inline const QString None = QStringLiteral("wu");
inline const QString Created = QStringLiteral("chuangjian");
inline const QString Stopped = QStringLiteral("tingzhi");
inline const QString Started = QStringLiteral("qidong");
inline const QString Finished = QStringLiteral("wancheng");
// Playback flag.
inline const QString Playing = QStringLiteral("bofang_kaishi");
inline const QString NotPlaying = QStringLiteral("bofang_tingzhi");
// Confirmation answer.
inline const QString Yes = QStringLiteral("yes");

} // namespace lumiset::Words
