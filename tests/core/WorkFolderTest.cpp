#include "core/WorkFolder.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>

using namespace lumiset;
using lumiset::test::TempTree;

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(WorkFolder, TwoRunsAtOnceGetSeparateFoldersBelowTheWorkRootRemovedWhenDone) {
    TempTree tree;
    const DataPaths paths(tree.file("program"), tree.file("work"));
    QString firstPath;
    {
        std::optional<WorkFolder> first(std::in_place, paths, "preview");
        const WorkFolder second(paths, "preview");
        firstPath = first->path();
        ASSERT_NE(first->path(), second.path());
        for (const WorkFolder* folder : std::initializer_list<const WorkFolder*>{&*first, &second}) {
            EXPECT_TRUE(QFileInfo(folder->path()).isDir());
            EXPECT_TRUE(folder->path().startsWith(paths.workRoot() + '/'));
        }
        // The same file name in each holds each run's own content.
        WriteFile(first->file("movie.json"), "first");
        WriteFile(second.file("movie.json"), "second");
        first.reset();
        EXPECT_FALSE(QFileInfo::exists(firstPath));
        QFile kept(second.file("movie.json"));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "second");
    }
    EXPECT_TRUE(QDir(paths.workRoot() + "/runs").isEmpty());
}

TEST(WorkFolder, UnusableWorkRootIsAnError) {
    TempTree tree;
    tree.write("work", "a file where the work root should be");
    EXPECT_THROW(WorkFolder(DataPaths(tree.file("program"), tree.file("work")), "preview"), Error);
}

} // namespace
