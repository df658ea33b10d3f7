#include "core/Folders.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace lumiset;
using lumiset::test::TempTree;

TEST(ScanPackages, ListsOnlyRarPackagesInNameOrderWithSubFoldersAtTheirPosition) {
    TempTree tree;
    for (const char* name : {"b.rar", "A.RAR", "c.Rar", "d.rAR", "notes.txt", "m/2.rar", "m/1.rar",
                             "M2/x.rar", "m/deeper/0.RAR", "z.rar", "C/inside.rar"})
        tree.write(QStringLiteral("root/") + name, "x");
    const QString root = tree.file("root");

    const QStringList found = ScanPackages(root);

    QStringList expected;
    for (const char* name :
         {"A.RAR", "b.rar", "C/inside.rar", "m/1.rar", "m/2.rar", "m/deeper/0.RAR", "M2/x.rar", "z.rar"})
        expected.append(root + u'/' + QLatin1String(name));
    EXPECT_EQ(found, expected);
}

TEST(ScanPackages, MissingFolderGivesNothing) {
    TempTree tree;
    EXPECT_TRUE(ScanPackages(tree.file("missing")).isEmpty());
}

TEST(DeleteTree, RemovesEverythingAndReportsOneStepPerEntry) {
    TempTree tree;
    for (const char* name : {"w/a.txt", "w/b/c.txt", "w/b/d/e.txt", "w/.hidden"})
        tree.write(name, "x");
    const QString folder = tree.file("w");
    const int expected = CountTreeEntries(folder);
    EXPECT_EQ(expected, 7); // w, a.txt, .hidden, b, c.txt, d, e.txt

    int steps = 0;
    DeleteTree(folder, [&] { ++steps; });

    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_NO_THROW(DeleteTree(folder)); // a missing folder is no error
}

TEST(ForceFolder, CreatesTheWholePathOrSaysWhy) {
    TempTree tree;
    ForceFolder(tree.file("a/b/c"));
    EXPECT_TRUE(QFileInfo(tree.file("a/b/c")).isDir());
    tree.write("file", "x");
    EXPECT_THROW(ForceFolder(tree.file("file/sub")), Error);
}

// A link back up the tree (or a second link to a folder) must not make the walk go on for ever.
TEST(ScanPackages, FollowsLinkedFoldersOnceAndNeverRoundALoop) {
    TempTree tree;
    tree.write("root/a/1.rar", "x");
    tree.write("root/b/2.rar", "x");
    const QString root = tree.file("root");
    ASSERT_TRUE(QFile::link(root, tree.file("root/a/loop")));
    ASSERT_TRUE(QFile::link(tree.file("root/b"), tree.file("root/a/to_b")));
    ASSERT_TRUE(QFile::link(tree.file("root/b"), tree.file("root/c")));

    const QStringList found = ScanPackages(root);

    EXPECT_EQ(found, (QStringList{root + "/a/1.rar", root + "/a/to_b/2.rar"}));
}

// Deleting a work folder removes links inside it as links: a loop ends, and what a link points to
// outside the folder stays.
TEST(DeleteTree, RemovesLinksWithoutFollowingThem) {
    TempTree tree;
    tree.write("w/a.txt", "x");
    tree.write("keep/precious.txt", "x");
    const QString folder = tree.file("w");
    ASSERT_TRUE(QFile::link(folder, tree.file("w/loop")));
    ASSERT_TRUE(QFile::link(tree.file("keep"), tree.file("w/outside")));
    EXPECT_EQ(CountTreeEntries(folder), 4); // w, a.txt, loop, outside

    DeleteTree(folder);

    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(tree.file("keep/precious.txt")));
}
