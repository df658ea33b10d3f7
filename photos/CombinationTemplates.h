// Combination templates: stored lists of catalogue templates (packages wj_0_or_9_9_<n>.rar holding an
// INI file) that an import applies entry by entry. Listing them for the options window, the needs line,
// and the photo selection that must bring the photos a combination needs.
#pragma once

#include "core/DataPaths.h"
#include "photos/PhotoRows.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumiset {

namespace CombinationText {
inline const QString Caption = QStringLiteral("组合模板");
inline const QString NoneFound = QStringLiteral("没有找到组合模板！");
inline const QString NoneSelected = QStringLiteral("没有选中组合模板！");
inline const QString NeedLandscape =
    QStringLiteral("当前选中的组合模板，至少需要添加 1 张横照片,点[确定]按钮继续添加照片");
inline const QString NeedPortrait =
    QStringLiteral("当前选中的组合模板，至少需要添加 1 张竖照片,点[确定]按钮继续添加照片");
} // namespace CombinationText

// One entry "name~landscape~portrait~": the template of the template list with that name and those
// photo counts (compared as text).
struct CombinationEntry {
    QString templateName;
    QString landscapeCount; // empty when the entry lacks the field
    QString portraitCount;  // empty unless the closing "~" is there
};

// Cuts an entry value at its "~" characters.
CombinationEntry CutCombinationEntry(const QString& value);

struct CombinationTemplate {
    int number = 0;  // n of wj_0_or_9_9_<n>.rar
    QString caption; // "模板组合 - <n>"
    QList<CombinationEntry> entries;
    int landscapeSum = 0;
    int portraitSum = 0;
    QString problem; // why the package cannot be used, naming it; empty when it can
    int photoSum() const { return landscapeSum + portraitSum; }
};

// Reads package `number` of the combination folder. Throws Error naming the package when it is missing,
// broken or its counts are not numbers.
CombinationTemplate ReadCombinationTemplate(const DataPaths& paths, int number);

struct CombinationListing {
    // ListView_zuhemoban, one per package in package order; a damaged package keeps its place (with
    // its problem) so that no combination takes the number of another.
    QList<CombinationTemplate> combinations;
    QStringList problems; // the damaged packages, and why
};

// Counts the packages of the combination folder (with its sub-folders; extension ".rar" or ".RAR") and
// reads packages 1 … that count. A package that cannot be read is listed with its problem, naming it.
CombinationListing ListCombinationTemplates(const DataPaths& paths);

// The combination at `index` of the listing; Error "没有找到组合模板！" for an empty listing,
// "没有选中组合模板！" for no selection (caption CombinationText::Caption) and the package's problem for a
// damaged one.
const CombinationTemplate& SelectCombination(const CombinationListing& listing, int index);

// The needs line (Label3) for the needed photo counts; nothing when it needs no photo (the line stays).
std::optional<QString> CombinationNeedsLine(int landscape, int portrait);

// The photos chosen for a combination, collected over one or more rounds of the file chooser until
// every orientation the combination needs is there. Orientation by the size the photo shows, the same
// as its photo row will have.
class CombinationPhotoSelection {
public:
    CombinationPhotoSelection(int neededLandscape, int neededPortrait);

    // Adds the files chosen in one round. Returns the messages to show: the files left out, then the
    // prompt for each needed orientation still missing (the chooser then opens again).
    QStringList add(const QStringList& files, const PhotoReader& read);

    // Every needed orientation is there and at least one photo was chosen.
    bool ready() const;

    const QList<PhotoRow>& landscape() const { return landscape_; } // ListView_heng_zhao
    const QList<PhotoRow>& portrait() const { return portrait_; }   // ListView_shu_zhao

private:
    int neededLandscape_;
    int neededPortrait_;
    QList<PhotoRow> landscape_;
    QList<PhotoRow> portrait_;
};

} // namespace lumiset
