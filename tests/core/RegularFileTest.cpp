#include "core/RegularFile.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumiset;
using lumiset::test::TempTree;

namespace {

constexpr qint64 kLimit = 1000;

struct RefusedCase {
    const char* name;
    QString (*make)(const TempTree& tree); // returns the path to read
};

// Each would block, never end or exceed the limit if it were read as a file.
const RefusedCase kRefused[] = {
    {"Missing", [](const TempTree& tree) { return tree.file("absent"); }},
    {"Folder", [](const TempTree& tree) { return tree.path(); }},
    {"Fifo",
     [](const TempTree& tree) {
         const QString path = tree.file("fifo");
         EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return path;
     }},
    {"EndlessDevice", [](const TempTree&) { return QStringLiteral("/dev/zero"); }},
    {"OverTheLimit", [](const TempTree& tree) { return tree.write("big", QByteArray(kLimit + 1, 'x')); }},
    {"LinkToFifo",
     [](const TempTree& tree) {
         const QString fifo = tree.file("fifo2");
         EXPECT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
         EXPECT_TRUE(QFile::link(fifo, tree.file("link")));
         return tree.file("link");
     }},
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, IsReportedWithItsNameInsteadOfBeingRead) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    EXPECT_FALSE(RegularFileProblem(path, kLimit).isEmpty());
    try {
        ReadRegularFile(path, kLimit);
        FAIL() << "read";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QFileInfo(path).fileName())) << error.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedFile, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegularFile, FileUpToTheLimitIsReadWholeThroughALink) {
    TempTree tree;
    const QByteArray content(kLimit, 'y');
    const QString path = tree.write("exact", content);
    ASSERT_TRUE(QFile::link(path, tree.file("link")));
    EXPECT_TRUE(RegularFileProblem(path, kLimit).isEmpty());
    EXPECT_EQ(ReadRegularFile(path, kLimit), content);
    EXPECT_EQ(ReadRegularFile(tree.file("link"), kLimit), content);
    EXPECT_EQ(ReadRegularFile(tree.write("empty", {}), kLimit), QByteArray());
}

} // namespace
