#include "photos/CombinationTemplates.h"

#include "core/Error.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "core/TextHelpers.h"

#include <QDir>

namespace lumiset {

namespace {

const QString kSection = QStringLiteral("zuhemoban_canshu");

// Far above any real combination (a few entries of a few photos), and low enough that no sum of
// counts can wrap around.
constexpr int kMaxCombinationCount = 10000;

int entryCount(const QString& text, const QString& package, const QString& what) {
    const std::optional<qint64> n = WholeNumberIn(text, 0, kMaxCombinationCount);
    if (!n)
        throw Error(QStringLiteral("组合模板文件“%1”的%2“%3”不是有效的数量 (0 到 %4)")
                        .arg(QDir::toNativeSeparators(package), what, text)
                        .arg(kMaxCombinationCount));
    return static_cast<int>(*n);
}

QString captionOf(int number) {
    return QStringLiteral("模板组合 - %1").arg(number);
}

} // namespace

CombinationEntry CutCombinationEntry(const QString& value) {
    const QStringList parts = value.split(u'~');
    CombinationEntry entry;
    entry.templateName = parts.value(0);
    // Fields lie between two "~": "a~1~0~" has the fields "1" and "0"; "a~1~0" only "1".
    if (parts.size() > 2)
        entry.landscapeCount = parts[1];
    if (parts.size() > 3)
        entry.portraitCount = parts[2];
    return entry;
}

CombinationTemplate ReadCombinationTemplate(const DataPaths& paths, int number) {
    const QString package = paths.combinationPackage(number);
    const IniFile ini = IniFile::fromBytes(DecodePackageToMemory(package, PackageLayers::Combination));
    CombinationTemplate combination;
    combination.number = number;
    combination.caption = captionOf(number);
    const int count =
        entryCount(ini.value(kSection, QStringLiteral("shuliang")), package, QStringLiteral("数量"));
    for (int k = 1; k <= count; ++k) {
        const QString key = QStringLiteral("canshu_%1").arg(k);
        const CombinationEntry entry = CutCombinationEntry(ini.value(kSection, key));
        combination.landscapeSum +=
            entryCount(entry.landscapeCount, package, key + QStringLiteral(" 的横照片数"));
        combination.portraitSum +=
            entryCount(entry.portraitCount, package, key + QStringLiteral(" 的竖照片数"));
        combination.entries.append(entry);
    }
    return combination;
}

CombinationListing ListCombinationTemplates(const DataPaths& paths) {
    CombinationListing listing;
    const qsizetype count = ScanPackages(paths.combinationFolder()).size();
    for (int n = 1; n <= count; ++n) {
        try {
            listing.combinations.append(ReadCombinationTemplate(paths, n));
        } catch (const Error& e) {
            // The damaged package keeps its place: the combinations after it keep their numbers.
            CombinationTemplate damaged;
            damaged.number = n;
            damaged.caption = captionOf(n);
            damaged.problem = e.message();
            listing.combinations.append(damaged);
            listing.problems.append(e.message());
        }
    }
    return listing;
}

const CombinationTemplate& SelectCombination(const CombinationListing& listing, int index) {
    if (listing.combinations.isEmpty())
        throw Error(CombinationText::NoneFound);
    if (index < 0 || index >= listing.combinations.size())
        throw Error(CombinationText::NoneSelected);
    const CombinationTemplate& chosen = listing.combinations[index];
    if (!chosen.problem.isEmpty())
        throw Error(chosen.problem);
    return chosen;
}

std::optional<QString> CombinationNeedsLine(int landscape, int portrait) {
    if (landscape > 0 && portrait > 0)
        return QStringLiteral("说明：选中的组合模板至少需要 1 张横照片和 1 张竖照片");
    if (landscape > 0)
        return QStringLiteral("说明：选中的组合模板至少需要 1 张横照片");
    if (portrait > 0)
        return QStringLiteral("说明：选中的组合模板至少需要 1 张竖照片");
    return std::nullopt;
}

CombinationPhotoSelection::CombinationPhotoSelection(int neededLandscape, int neededPortrait)
    : neededLandscape_(neededLandscape), neededPortrait_(neededPortrait) {}

QStringList CombinationPhotoSelection::add(const QStringList& files, const PhotoReader& read) {
    const ReadPhotos chosen = ReadPhotoFiles(files, read);
    for (const PhotoRow& row : chosen.rows)
        (IsLandscape(row.width, row.height) ? landscape_ : portrait_).append(row);
    QStringList messages;
    if (const QString refused = RefusedFilesMessage(chosen.refused); !refused.isEmpty())
        messages.append(refused);
    if (neededLandscape_ > 0 && landscape_.isEmpty())
        messages.append(CombinationText::NeedLandscape);
    if (neededPortrait_ > 0 && portrait_.isEmpty())
        messages.append(CombinationText::NeedPortrait);
    return messages;
}

bool CombinationPhotoSelection::ready() const {
    return (neededLandscape_ <= 0 || !landscape_.isEmpty()) &&
           (neededPortrait_ <= 0 || !portrait_.isEmpty()) && !(landscape_.isEmpty() && portrait_.isEmpty());
}

} // namespace lumiset
