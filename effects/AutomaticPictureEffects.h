// The automatic picture-effect placement (window TForm35 "自动添加画面特效", and the hidden run of the
// photo import): combinations of picture effects drawn at random from a group and laid end to end from
// the start of the album until its complete templates are covered.
#pragma once

#include "core/Album.h"
#include "core/Job.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"
#include "effects/AutomaticRunResult.h"
#include "effects/EffectLibrary.h"

#include <QList>
#include <QString>

namespace lumiset {

inline const QString kAutomaticPictureDone =
    QStringLiteral("自动添加画面特效已完成,单击[确定]按钮返回到画面特效窗口！");
// The completion word of the hidden run (field Edit_zidongtianjia_huamiantexiao_wancheng).
inline const QString kAutomaticPictureFinishedWord = QStringLiteral("zidongtianjia_huamiantexiao_wangcheng");
// When no combination of the group has a first effect in the library, nothing could ever cover the album.
inline const QString kNoPictureEffectCombination =
    QStringLiteral("没有找到特效组合所需的画面特效文件, 无法自动添加画面特效！");

// A combination: picture-effect numbers and their start offsets in seconds, as bar lists
// (ListBox_texiaozuhe_<group>_01 and _02).
struct PictureEffectCombination {
    QString effects;
    QString offsets;
};

struct PictureEffectGroup {
    QString name;     // ComboBox_huamiantexiao_zuhe entry
    QString listName; // the part of the list names: hunsha, katong, …
    QList<PictureEffectCombination> combinations;
};

// The groups in selector order; the first ("婚纱特效组合") is the hidden run's.
const QList<PictureEffectGroup>& PictureEffectGroups();

class AutomaticPictureEffects {
public:
    AutomaticPictureEffects(const TemplateCatalogue& catalogue, const EffectLibrary& library,
                            RandomSource& random);

    // "确定": combinations of group `groupIndex` (into PictureEffectGroups()) appended to the picture-effect
    // table, then the completion message.
    AutomaticRunResult runManual(Album& album, int groupIndex, const Job* job = nullptr) const;

    // The photo import's run with the first group, no messages. It always ends by writing the completion
    // word into Edit_zidongtianjia_huamiantexiao_wancheng, also when it fails.
    AutomaticRunResult runHidden(Album& album, const Job* job = nullptr) const;

private:
    AutomaticRunResult place(Album& album, const PictureEffectGroup& group, const Job* job) const;

    const TemplateCatalogue& catalogue_;
    const EffectLibrary& library_;
    RandomSource& random_;
};

} // namespace lumiset
