#include "effects/AutomaticPictureEffects.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "effects/AlbumTimeline.h"

#include <algorithm>

namespace lumiset {

namespace {

const QString kProgressText = QStringLiteral("自动添加画面特效");
constexpr int kActivityMaximum = 100; // ProgressBar_zidong_jiaru_huamiantexiao
// A combination may overrun the album by this many frames and still be placed.
constexpr qint64 kOverrunFrames = 30;

// A combination that can be placed: its length is the frame count of its first effect.
struct Placeable {
    const PictureEffectCombination* combination = nullptr;
    int length = 0;
};

void addNote(AutomaticRunResult& result, const QString& note) {
    if (!result.notes.contains(note))
        result.notes.append(note);
}

} // namespace

const QList<PictureEffectGroup>& PictureEffectGroups() {
    static const QList<PictureEffectGroup> groups = [] {
        const QList<PictureEffectCombination> basic{
            {QStringLiteral("|1|5|5|5|"), QStringLiteral("|0|0|1|2|")},
            {QStringLiteral("|2|5|6|"), QStringLiteral("|0|0|0|")}};
        QList<PictureEffectCombination> wedding = basic;
        wedding.append({QStringLiteral("|3|5|5|6|"), QStringLiteral("|0|0|1|0|")});
        wedding.append({QStringLiteral("|1|3|5|"), QStringLiteral("|0|0|0|")});
        return QList<PictureEffectGroup>{{QStringLiteral("婚纱特效组合"), QStringLiteral("hunsha"), wedding},
                                         {QStringLiteral("卡通特效组合"), QStringLiteral("katong"), basic},
                                         {QStringLiteral("花草特效组合"), QStringLiteral("huacao"), basic},
                                         {QStringLiteral("粒子特效组合"), QStringLiteral("lizi"), basic},
                                         {QStringLiteral("滤镜特效组合"), QStringLiteral("lujing"), basic}};
    }();
    return groups;
}

AutomaticPictureEffects::AutomaticPictureEffects(const TemplateCatalogue& catalogue,
                                                 const EffectLibrary& library, RandomSource& random)
    : catalogue_(catalogue), library_(library), random_(random) {}

AutomaticRunResult AutomaticPictureEffects::runManual(Album& album, int groupIndex, const Job* job) const {
    const QList<PictureEffectGroup>& groups = PictureEffectGroups();
    AutomaticRunResult result =
        place(album, groups.at(std::clamp<int>(groupIndex, 0, groups.size() - 1)), job);
    result.addEndMessage(kAutomaticPictureDone);
    return result;
}

AutomaticRunResult AutomaticPictureEffects::runHidden(Album& album, const Job* job) const {
    AutomaticRunResult result = place(album, PictureEffectGroups().first(), job);
    album.facts.Edit_zidongtianjia_huamiantexiao_wancheng = kAutomaticPictureFinishedWord;
    return result;
}

AutomaticRunResult AutomaticPictureEffects::place(Album& album, const PictureEffectGroup& group,
                                                  const Job* job) const {
    AutomaticRunResult result;
    result.started = true;
    try {
        // The album length T (Edit_mobanzongzhen_he_sum) over the J complete templates.
        qint64 total = 0;
        int complete = 0;
        for (int r = 0; r < album.usedTemplates.rowCount(); ++r) {
            if (IsCompleteTemplate(album, r)) {
                total += UsedTemplateFrames(album, catalogue_, r);
                ++complete;
            }
        }

        // A combination whose first effect is missing has no length and is never drawn: with a length of 0
        // the covering loop below could not end.
        QList<Placeable> placeable;
        for (const PictureEffectCombination& combination : group.combinations) {
            const int first = SplitBarList(combination.effects).value(0).toInt();
            const std::optional<EffectParameters> parameters = library_.pictureEffect(first);
            if (!parameters) {
                addNote(result, QStringLiteral("特效组合 %1 的第一个画面特效 %2 没有找到, 此组合不使用")
                                    .arg(combination.effects)
                                    .arg(first));
                continue;
            }
            placeable.append({&combination, parameters->frames()});
        }
        if (total > 0 && placeable.isEmpty()) {
            result.failure = kNoPictureEffectCombination;
            return result;
        }

        // Draw combinations until the covered length A reaches T.
        QList<Placeable> chosen;
        qint64 covered = 0;
        int activity = 0;
        while (covered < total) {
            if (job && job->stopRequested()) {
                result.stopped = true;
                return result;
            }
            activity = (activity + 1) % (kActivityMaximum + 1);
            if (job)
                job->report(activity, kActivityMaximum, kProgressText);
            const Placeable& pick = placeable.at(random_.uniform(0, static_cast<int>(placeable.size()) - 1));
            covered += pick.length;
            if (covered <= total + kOverrunFrames || complete == 1)
                chosen.append(pick);
        }

        // Lay the chosen combinations end to end from the start of the album.
        auto effects = album.pictureEffects;
        qint64 begin = 0;
        for (qsizetype c = 0; c < chosen.size(); ++c) {
            if (c > 0)
                begin += chosen[c - 1].length;
            const QStringList numbers = SplitBarList(chosen[c].combination->effects);
            const QStringList offsets = SplitBarList(chosen[c].combination->offsets);
            for (qsizetype k = 0; k < numbers.size(); ++k) {
                const int number = numbers[k].toInt();
                const std::optional<EffectParameters> parameters = library_.pictureEffect(number);
                if (!parameters) {
                    addNote(result,
                            QStringLiteral("画面特效 %1 没有找到, 特效组合中的此特效未添加").arg(number));
                    continue;
                }
                const qint64 start = begin + kFramesPerSecond * offsets.value(k).toLongLong();
                effects.appendRow({QString::number(parameters->frames()), FramesToClock(start), Words::NoEnd,
                                   Words::Stopped, parameters->name, QString::number(number - 1),
                                   Words::AddedAutomatically, Words::None});
                ++result.effectsAdded;
            }
        }
        if (job)
            job->report(kActivityMaximum, kActivityMaximum, kProgressText);
        album.pictureEffects = std::move(effects);
    } catch (const Error& e) {
        result.failure = e.message();
        result.effectsAdded = 0;
        return result;
    }
    result.completed = true;
    return result;
}

} // namespace lumiset
