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
