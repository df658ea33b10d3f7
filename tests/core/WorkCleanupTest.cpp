#include "core/WorkCleanup.h"

#include "core/Error.h"
#include "core/Folders.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace lumiset;
using lumiset::test::TempTree;

namespace {

using Report = std::pair<int, int>; // position, maximum

// A work root holding what a run leaves behind, and files the clean-up must not touch.
struct LeftOverRun {
    TempTree tree;
    DataPaths paths{tree.file("program"), tree.file("work")};

    LeftOverRun() {
        for (const char* name :
             {"korvel/wj_0_or_2/wjj_00_j_y/wjj_00_j_y1.ini", "korvel/wj_0_or_2/wjj_00_j_y/a/1.rar",
              "korvel/wj_0_or_2/wjj_00_j_y/a/b/2.RAR", "korvel/wj_y_l/wj_y_l/x.rar",
              "korvel/wj_0_or_5_5/wj_0_or_5_5_d_1.rar", "korvel/wj_0_or_5_5/wj_y_l_b_j.jpg",
              "korvel/wj_0_or_6_6/wj_0_or_6_6.jpg", "korvel/wj_0_or_5_5/keep.txt",
              "korvel/wj_0_or_2/wjj_01/keep.ini"})
            tree.write(QStringLiteral("work/") + name, "x");
        tree.write("program/korvel/wj_0_or_2/wjj_01/shipped.ini", "x");
    }

    std::vector<Report> clear() const {
        std::vector<Report> reports;
        const Job control(
            [&](int position, int maximum, const QString&) { reports.emplace_back(position, maximum); });
        ClearWorkFiles(paths, control);
        return reports;
    }
};

} // namespace

TEST(ClearWorkFiles, RemovesTheWorkFoldersAndFilesAndNothingElse) {
    LeftOverRun run;
    run.clear();

    for (const QString& folder : run.paths.workFoldersToClear())
        EXPECT_FALSE(QFileInfo::exists(folder)) << folder.toStdString();
    for (const QString& file : run.paths.workFilesToClear())
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
    for (const char* kept : {"work/korvel/wj_0_or_5_5/keep.txt", "work/korvel/wj_0_or_2/wjj_01/keep.ini",
                             "program/korvel/wj_0_or_2/wjj_01/shipped.ini"})
        EXPECT_TRUE(QFileInfo::exists(run.tree.file(kept))) << kept;
}

TEST(ClearWorkFiles, ReportsEveryEntryFromNoneToAll) {
    LeftOverRun run;
    int entries = 3; // the three work files that exist
    for (const QString& folder : run.paths.workFoldersToClear())
        entries += CountTreeEntries(folder);

    const std::vector<Report> reports = run.clear();

    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Report(0, entries));
    EXPECT_EQ(reports.back(), Report(entries, entries));
    // One report per entry, then the closing one.
    EXPECT_EQ(int(reports.size()), entries + 2);
    for (size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i].first, reports[i - 1].first);
        EXPECT_LE(reports[i].first, reports[i].second);
    }
}

TEST(ClearWorkFiles, NothingLeftOverReportsAnEmptyRun) {
    TempTree tree;
    const DataPaths paths(tree.file("program"), tree.file("work"));
    std::vector<Report> reports;
    ClearWorkFiles(paths, Job([&](int position, int maximum, const QString&) {
                       reports.emplace_back(position, maximum);
                   }));
    EXPECT_EQ(reports, std::vector<Report>({{0, 0}, {0, 0}}));
}

// One folder that cannot be emptied must not keep the others from being cleared; the failure is still
// reported.
TEST(ClearWorkFiles, GoesOnPastAnEntryItCannotRemoveAndThenSaysWhich) {
    LeftOverRun run;
    const QString locked = run.paths.workFolder() + QStringLiteral("/a/b");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const bool removable = QFile::remove(locked + QStringLiteral("/2.RAR"));
    if (removable) {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user can delete from a read-only folder (root), so nothing can be locked";
    }

    EXPECT_THROW(run.clear(), Error);

    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(QFileInfo::exists(locked + QStringLiteral("/2.RAR")));
    EXPECT_FALSE(QFileInfo::exists(run.paths.previewTree()));
    for (const QString& file : run.paths.workFilesToClear())
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
}
