// The catalogue the program builds from the shipped data: every class list filled with the variety
// the matching needs, and every combination naming real templates with their photo counts.
#include "core/Columns.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "core/TemplateCatalogue.h"
#include "tests/data/ShippedData.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

// "landscape+portrait" of every row of a class list.
QSet<QString> slotMixes(const Table& list) {
    QSet<QString> mixes;
    for (const QStringList& row : list.rows())
        mixes.insert(row[ClassListCol::LandscapeCount] + "+" + row[ClassListCol::PortraitCount]);
    return mixes;
}

int rowsOfClass(const Table& list, const QString& cls) {
    return static_cast<int>(std::count_if(list.rows().begin(), list.rows().end(), [&](const QStringList& r) {
        return r[ClassListCol::Class] == cls;
    }));
}

} // namespace

TEST(ShippedCatalogue, FillsAllThreeClassListsWithTheNeededVariety) {
    const TemplateCatalogue c = TemplateCatalogue::build(ShippedPaths());
    EXPECT_EQ(c.catalogue().rowCount(), c.parameterPackages().size());
    for (const QStringList& row : c.catalogue().rows())
        EXPECT_FALSE(row[CatalogueCol::Class].isEmpty()) << row[CatalogueCol::Name].toStdString();
    EXPECT_GE(rowsOfClass(c.landscapeList(), "heng"), 8);
    EXPECT_GE(rowsOfClass(c.portraitList(), "shu"), 6);
    EXPECT_GE(rowsOfClass(c.landscapeList(), "shuheng"), 2);
    EXPECT_EQ(rowsOfClass(c.landscapeList(), "shuheng"), rowsOfClass(c.portraitList(), "shuheng"));
    const QSet<QString> advanced = slotMixes(c.advancedList());
    for (const char* mix : {"2+0", "3+0", "0+2", "1+1", "2+1", "2+2"})
        EXPECT_TRUE(advanced.contains(mix)) << mix;
    EXPECT_EQ(c.templateList().rowCount(),
              c.landscapeList().rowCount() + c.portraitList().rowCount() + c.advancedList().rowCount());
}

TEST(ShippedCombinations, NameRealTemplatesWithTheirCounts) {
    const DataPaths paths = ShippedPaths();
    const TemplateCatalogue c = TemplateCatalogue::build(paths);
    QSet<QString> listed;
    for (const QStringList& row : c.templateList().rows())
        listed.insert(row[TemplateListCol::Name] + "~" + row[TemplateListCol::LandscapeCount] + "~" +
                      row[TemplateListCol::PortraitCount] + "~");
    const int count = ScanPackages(paths.combinationFolder()).size();
    ASSERT_GE(count, 4);
    for (int n = 1; n <= count; ++n) {
        SCOPED_TRACE(n);
        // The program opens them by number, 1, 2, … without gaps.
        const IniFile ini = IniFile::fromBytes(DecodePackageToMemory(paths.combinationPackage(n), 3));
        const int entries = ini.value("zuhemoban_canshu", "shuliang").toInt();
        EXPECT_GE(entries, 2);
        for (int k = 1; k <= entries; ++k) {
            const QString entry = ini.value("zuhemoban_canshu", QStringLiteral("canshu_%1").arg(k));
            EXPECT_TRUE(listed.contains(entry)) << entry.toStdString();
        }
        EXPECT_FALSE(ini.contains("zuhemoban_canshu", QStringLiteral("canshu_%1").arg(entries + 1)));
    }
}
