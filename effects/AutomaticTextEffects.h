// The automatic text-effect placement (window TForm34 "文字特效自动加入模板中", and the hidden run of the
// photo import): every chosen complete template gets, for each of its caption marks, a random text
// effect that suits the mark, timed at the mark's frame position inside the template, and is stamped
// with a template mark so that it is not filled twice.
#pragma once

#include "core/Album.h"
#include "core/Job.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"
#include "effects/AutomaticRunResult.h"
#include "effects/EffectLibrary.h"
#include "effects/TextEffectCategories.h"

#include <QTime>
#include <functional>

namespace lumiset {

inline const QString kNoTextCategoryChosen = QStringLiteral("没有选择文字特效分类。");
inline const QString kNoTemplatesUsed = QStringLiteral("没有添加相片文件或模板文件!");
inline const QString kAutomaticTextDone =
    QStringLiteral("自动加入文字特效到已使用模板中完成,单击[确定]按钮返回到文字特效窗口！");
// The completion word of the hidden run (field Edit_zidongtianjia_wenzitexiao_wancheng).
inline const QString kAutomaticTextFinishedWord = QStringLiteral("zidongtianjia_wenzitexiao_wangcheng");

// Which eligible templates get effects.
enum class TemplateChoice {
    EveryTemplate, // RadioButton_quanbu "每个模板文件都添加文字特效"
    Interval, // RadioButton_jiange "间隔模板文件添加文字特效": the N-th, then every (N + 1)-th
    Random,   // RadioButton_suiji "随机选择模板文件然后添加文字特效": each with chance 1/2
};

struct AutomaticTextOptions {
    int categoryIndex = kAllCategoriesIndex; // ComboBox_wenzitexiao_fenlei; -1 when nothing is chosen
    TemplateChoice choice = TemplateChoice::EveryTemplate;
    int interval = 1; // ComboBox_wenzitexiao_jiangeshu, 1 … 9
    // The provisional start written before re-timing: the text-effect window's time selectors.
    QString provisionalStart = QStringLiteral("00:00:00");
};

// The caption mark characters of a template's mark list such as "|A|B|": the characters at positions
// 2, 4, …, 2m (1-based), m = (length − 1) div 2.
QStringList CaptionMarks(const QString& markList);

class AutomaticTextEffects {
public:
    // The clock stamps the template marks (local time).
    using Clock = std::function<QTime()>;

    AutomaticTextEffects(const TemplateCatalogue& catalogue, const EffectLibrary& library,
                         RandomSource& random, Clock clock = &QTime::currentTime);

    // "自动加入": the start checks, then the placement with the chosen category and template choice.
    AutomaticRunResult runManual(Album& album, const AutomaticTextOptions& options,
                                 const Job* job = nullptr) const;

    // The photo import's run: effects of all categories into every eligible template, no messages. It
    // always ends by writing the completion word into Edit_zidongtianjia_wenzitexiao_wancheng, also when
    // it fails (the failure is in the result), so nobody waits for it in vain.
    AutomaticRunResult runHidden(Album& album, const Job* job = nullptr) const;

private:
    // The placement run proper, on a copy of the album that replaces it only when the run went through.
    AutomaticRunResult place(Album& album, const AutomaticTextOptions& options, ListingOccasion occasion,
                             const Job* job) const;

    const TemplateCatalogue& catalogue_;
    const EffectLibrary& library_;
    RandomSource& random_;
    Clock clock_;
};

} // namespace lumiset
