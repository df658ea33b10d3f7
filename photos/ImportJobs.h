// The long jobs of the photo window: importing chosen photos and matching them to templates, matching
// the photos still unplaced ("自动套版"), and importing the photos chosen for a combination template.
// Each job takes the album as it is and returns the new one only when it ran to its end, so a stop or an
// error leaves the album as it was. Questions are asked before a job starts (questionsBefore), never while
// it runs on a worker thread.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/Job.h"
#include "core/JobOutcome.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"
#include "effects/AutomaticRunResult.h"
#include "photos/CombinationTemplates.h"
#include "photos/PhotoMatching.h"
#include "photos/PhotoRows.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

namespace ImportText {
inline const QString AddPhotosCaption = QStringLiteral("添加照片");
inline const QString MatchCaption = QStringLiteral("自动匹配模板");
inline const QString NoPhotos = QStringLiteral("没有添加照片文件！");
inline const QString MatchingDone = QStringLiteral("照片与模板自动匹配已完成！");
inline const QString Stopped = QStringLiteral("已停止，相册没有改变。");
inline const QString PictureEffectsCaption = QStringLiteral("画面特效");
inline const QString ReplacePictureEffects =
    QStringLiteral("检测到已经添加了画面特效,重新添加画面特效,需要先删除已经添加的画面特效!是否确定要删除?");
} // namespace ImportText

// The matching mode words of Edit_mobanfashi.
inline const QString kRandomTemplatesMode = QStringLiteral("shiyong_suijimoban");
inline const QString kCombinationMode = QStringLiteral("shiyong_zuhemoban");

// An automatic effect placement run after an import (hidden run: all categories, every template).
using AfterImportEffectRun = std::function<AutomaticRunResult(Album& album, const Job& job)>;

struct AfterImportEffects {
    AfterImportEffectRun textEffects;    // run when "自动添加文字特效" is chosen
    AfterImportEffectRun pictureEffects; // run when "自动添加画面特效" is chosen
};

// The user's answers to questionsBefore().
struct ImportAnswers {
    bool replacePictureEffects = false; // "检测到已经添加了画面特效…是否确定要删除?"
};

class PhotoImportJobs {
public:
    PhotoImportJobs(const TemplateCatalogue& catalogue, const DataPaths& paths, RandomSource& random,
                    AfterImportEffects effects, PhotoReader read = ReadPhotoRow);

    // Whether "添加照片" offers combination templates first ("使用模板组合效果").
    static bool offersCombinations(const Album& album);

    // What an import into `album` must ask first (the automatic picture effects would replace placed ones).
    QList<Question> questionsBefore(const Album& album) const;

    // "添加照片" with random templates: the rows of the readable files, then the background refresh, the
    // matching of every unplaced photo, the default background picture and the automatic effects the
    // settings ask for.
    JobOutcome importPhotos(const Album& album, const QStringList& files, const ImportAnswers& answers,
                            Job& job) const;

    // "自动套版": matches the unplaced photos. Error "没有添加照片文件！" for an empty photo table.
    JobOutcome matchPendingPhotos(const Album& album, Job& job) const;

    // The combination job: the chosen photos (landscape ones first), then the combination applied until
    // each of them sits in a slot, the default background picture and the automatic effects.
    JobOutcome importForCombination(const Album& album, const CombinationPhotoSelection& selection,
                                    const CombinationTemplate& combination, const ImportAnswers& answers,
                                    Job& job) const;

private:
    // After the matching of an import: the default background picture and the automatic effects; `work`
    // is the outcome unless the job was stopped.
    JobOutcome finishImport(Album work, const MatchingOutcome& matching, const ImportAnswers& answers,
                            Job& job, QStringList messages) const;
    bool runAfterImportEffects(Album& album, const ImportAnswers& answers, Job& job,
                               QStringList& messages) const;
    void prepareMatching(Album& album) const;

    const TemplateCatalogue& catalogue_;
    DataPaths paths_;
    RandomSource& random_;
    AfterImportEffects effects_;
    PhotoReader read_;
};

} // namespace lumiset
