#include "ui/windows/PhotoWindow.h"

#include "core/AlbumTableModel.h"
#include "core/Columns.h"
#include "core/JobRunner.h"
#include "core/SystemSettings.h"
#include "core/Words.h"
#include "photos/PhotoFile.h"
#include "photos/PhotoRows.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TemplateFixture.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"
#include "ui/Workspace.h"
#include "ui/dialogs/ProgressWindow.h"
#include "ui/windows/PhotoDetailsPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

const QString kProgress = QStringLiteral("TForm13");

// A data folder with one landscape and one portrait template, so imports place their photos.
DataPaths twoTemplates(const TempTree& tree) {
    TemplateSpec landscape;
    landscape.name = QStringLiteral("横");
    WriteTemplate(tree, QStringLiteral("t1"), landscape);
    TemplateSpec portrait;
    portrait.name = QStringLiteral("竖");
    portrait.orientations = QStringLiteral("|shu|");
    WriteTemplate(tree, QStringLiteral("t2"), portrait);
    return DataPaths(tree.path(), tree.path());
}

// What the user does in the modal windows of one command: the progress window is left to its job (or to
// `duringProgress`), messages are read and closed, questions are answered with `consent`. `seen` lists
// every message and question by its text. (A short job may close its progress window before the user
// has seen it.)
class User {
public:
    explicit User(bool consent = true, std::function<void(QWidget*)> duringProgress = {})
        : consent_(consent), duringProgress_(std::move(duringProgress)),
          driver_(QList<ModalDriver::Action>(8, [this](QWidget* modal) { act(modal); })) {}

    QStringList seen;
    // For failure output: gtest prints a QStringList as bytes.
    std::string said() const { return seen.join(QStringLiteral(" | ")).toStdString(); }

private:
    void act(QWidget* modal) {
        const QString form = modal->objectName();
        if (form == kProgress) {
            if (duringProgress_)
                duringProgress_(modal);
            return;
        }
        auto* text = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"));
        seen << (text ? text->text() : form);
        const bool question = form == QStringLiteral("TForm17");
        const char* button = question ? (consent_ ? "Button3" : "Button4") : "Button2";
        modal->findChild<QPushButton*>(QLatin1String(button))->click();
    }

    bool consent_;
    std::function<void(QWidget*)> duringProgress_;
    ModalDriver driver_;
};

class PhotoWindowTest : public ::testing::Test {
protected:
    PhotoWindowTest() {
        workspace.document.modify(QStringLiteral("设置"), [](Album& album) {
            SystemSettings(album.settings).check(SettingControl::NoTextEffects); // no effect library here
        });
        workspace.document.undoStack().clear();
        window.show();
    }

    QString photo(const QString& name, QSize size) {
        return tree.write(QStringLiteral("photos/%1.jpg").arg(name), EncodeJpeg(QuadrantScene(size)));
    }
    QStringList threePhotos() { return {photo("a", {64, 48}), photo("b", {30, 40}), photo("c", {50, 50})}; }
    // Imports `files` through "添加照片" with the chooser answering them.
    QStringList addThroughWindow(const QStringList& files, User& user) {
        window.setFileChooser([files](QWidget*) { return files; });
        click("Button5");
        return user.seen;
    }
    void addThroughWindow(const QStringList& files) {
        User user;
        addThroughWindow(files, user);
    }
    void click(const char* button) { window.findChild<QPushButton*>(QLatin1String(button))->click(); }
    QTableView* table() { return window.findChild<QTableView*>(QStringLiteral("ListView_daoru_zhaopian")); }
    void selectRow(int row) { table()->selectRow(row); }
    const Album& album() { return workspace.document.album(); }
    QStringList column(int column) {
        QStringList cells;
        for (const QStringList& row : album().photos.rows())
            cells << row[column];
        return cells;
    }
    QString field(const char* name) { return window.findChild<QLineEdit*>(QLatin1String(name))->text(); }

    TempTree tree;
    Workspace workspace{twoTemplates(tree), TemplateCatalogue::build(DataPaths(tree.path(), tree.path()))};
    PhotoWindow window{workspace};
};

} // namespace

TEST_F(PhotoWindowTest, ImportThroughTheWindowFillsTheTableAsOneStep) {
    const QStringList files = threePhotos();
    User user;
    const QStringList seen = addThroughWindow(files, user);

    EXPECT_TRUE(seen.isEmpty()) << seen.join(u'|').toStdString();
    ASSERT_EQ(table()->model()->rowCount(), 3);
    const QStringList headings{"序号", "照片", "格式", "宽度", "高度", "位置", "套版"};
    for (int column = 0; column < headings.size(); ++column)
        EXPECT_EQ(table()->model()->headerData(column, Qt::Horizontal).toString(), headings[column]);
    EXPECT_EQ(album().photos.row(1), QStringList({"2", "b", ".jpg", "30", "40", files[1], Words::Placed}));
    EXPECT_EQ(table()->model()->index(2, PhotoCol::Path).data().toString(), files[2]);
    EXPECT_EQ(workspace.document.undoStack().count(), 1);
    workspace.document.undo();
    EXPECT_EQ(table()->model()->rowCount(), 0);
}

TEST_F(PhotoWindowTest, CancellingTheChooserChangesNothing) {
    User user;
    EXPECT_TRUE(addThroughWindow({}, user).isEmpty());
    EXPECT_EQ(workspace.document.undoStack().count(), 0);
}

TEST_F(PhotoWindowTest, AStoppedImportLeavesTheAlbumAsItWas) {
    addThroughWindow({photo("first", {64, 48})});
    const Album before = album();
    const int steps = workspace.document.undoStack().count();

    // Enough photos that the job is still reading or matching them when the user presses "停止", right
    // when the progress window shows.
    const QByteArray jpeg = EncodeJpeg(QuadrantScene({40, 30}));
    QStringList files;
    for (int i = 0; i < 2000; ++i)
        files << tree.write(QStringLiteral("many/%1.jpg").arg(i), jpeg);
    bool stoppedWhileWorking = false;
    User user(true, [&](QWidget* progress) {
        stoppedWhileWorking = static_cast<ProgressWindow*>(progress)->isWorking();
        progress->findChild<QPushButton*>(QStringLiteral("Button_tingzhi"))->click();
    });
    const QStringList seen = addThroughWindow(files, user);

    EXPECT_EQ(seen, QStringList{ImportText::Stopped}) << user.said();
    EXPECT_TRUE(stoppedWhileWorking);
    EXPECT_TRUE(album().photos.rows() == before.photos.rows());
    EXPECT_TRUE(album().templateSlots.rows() == before.templateSlots.rows());
    EXPECT_EQ(workspace.document.undoStack().count(), steps);
    EXPECT_EQ(table()->model()->rowCount(), 1);
}

const QString kDeleteUsedPhoto = QStringLiteral(
    "此张照片文件在 1 "
    "个模板文件中使用,删除后,模板文件中的照片文件也会被删除,是否确定要删除当前选中的照片文件?");

struct DeletionCase {
    const char* button;
    bool consent;
    int rowsLeft;
    QStringList seen;
};

class PhotoDeletionThroughWindow : public PhotoWindowTest,
                                   public ::testing::WithParamInterface<DeletionCase> {};

TEST_P(PhotoDeletionThroughWindow, AsksAndDeletesOnlyWithConsent) {
    addThroughWindow(threePhotos());
    selectRow(1);
    ASSERT_EQ(workspace.session.selectedPhotoRow(), 1);
    User user(GetParam().consent);
    click(GetParam().button);

    EXPECT_EQ(user.seen, GetParam().seen) << user.said();
    EXPECT_EQ(table()->model()->rowCount(), GetParam().rowsLeft);
    if (GetParam().rowsLeft == 2) {
        EXPECT_EQ(column(PhotoCol::Name), QStringList({"a", "c"}));
    }
    if (GetParam().rowsLeft != 3) { // the deleted photo is no longer shown
        EXPECT_TRUE(field("Edit_mingcheng").isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    PhotoWindow, PhotoDeletionThroughWindow,
    ::testing::Values(DeletionCase{"Button6", true, 2, {kDeleteUsedPhoto, "选中的照片文件已经删除！"}},
                      DeletionCase{"Button6", false, 3, {kDeleteUsedPhoto}},
                      DeletionCase{
                          "Button7", true, 0, {"是否确定要删除全部照片文件?", "照片文件已经全部删除！"}},
                      DeletionCase{"Button7", false, 3, {"是否确定要删除全部照片文件?"}}));

TEST_F(PhotoWindowTest, WithoutPhotosEveryPhotoCommandSaysSoAndChangesNothing) {
    int photoFilesRequests = 0;
    QObject::connect(&window, &PhotoWindow::photoFilesRequested, [&] { ++photoFilesRequests; });
    for (const char* button : {"Button6", "Button7", "Button9", "Button11"}) {
        User user;
        click(button);
        EXPECT_EQ(user.seen, QStringList{ImportText::NoPhotos}) << button << ": " << user.said();
    }
    EXPECT_EQ(photoFilesRequests, 0);
    EXPECT_EQ(workspace.document.undoStack().count(), 0);
}

TEST_F(PhotoWindowTest, ThumbnailViewIsRequestedWhenThereArePhotos) {
    addThroughWindow(threePhotos());
    int photoFilesRequests = 0;
    QObject::connect(&window, &PhotoWindow::photoFilesRequested, [&] { ++photoFilesRequests; });
    click("Button11");
    EXPECT_EQ(photoFilesRequests, 1);
}

TEST_F(PhotoWindowTest, AutomaticMatchingPlacesPhotosLeftUnplaced) {
    const QStringList files = threePhotos();
    workspace.document.modify(QStringLiteral("照片"), [&](Album& album) {
        for (const QString& file : files)
            AppendPhotoRow(album, ReadPhotoRow(file));
    });
    ASSERT_EQ(column(PhotoCol::Status), QStringList(3, QString()));
    User user;
    click("Button9");
    EXPECT_EQ(user.seen, QStringList{ImportText::MatchingDone}) << user.said();
    EXPECT_EQ(column(PhotoCol::Status), QStringList(3, Words::Placed));
    EXPECT_EQ(table()->model()->index(0, PhotoCol::Status).data().toString(), Words::Placed);
}

TEST_F(PhotoWindowTest, TheCombinationSettingImportsWithRandomTemplatesAndSaysSo) {
    workspace.document.modify(QStringLiteral("设置"), [](Album& album) {
        SystemSettings(album.settings).check(SettingControl::UseCombinations);
    });
    User user;
    const QStringList seen = addThroughWindow(threePhotos(), user);
    ASSERT_EQ(seen.size(), 1) << user.said();
    EXPECT_TRUE(seen[0].contains(QStringLiteral("随机模板"))) << user.said();
    EXPECT_EQ(album().photos.rowCount(), 3);
    EXPECT_EQ(album().facts.Edit_mobanfashi, kRandomTemplatesMode);
}

TEST_F(PhotoWindowTest, TheDetailsPanelShowsTheSelectedRow) {
    const QStringList files = threePhotos();
    addThroughWindow(files);
    auto* details = window.findChild<PhotoDetailsPanel*>();
    auto* preview = window.findChild<QLabel*>(QStringLiteral("Image_xianshizhaopian"));
    const char* fields[] = {"Edit_xuhao",  "Edit_mingcheng", "Edit_geshi",
                            "Edit_kuandu", "Edit_gaodu",     "Edit_weizhi"};

    for (int row : {1, 0}) {
        if (row == 1)
            selectRow(row); // a click in the table
        else
            workspace.session.selectPhotoRow(row); // another window chose the photo
        EXPECT_EQ(table()->currentIndex().row(), row);
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(field(fields[column]), album().photos.row(row)[column]) << fields[column];
        EXPECT_EQ(preview->toolTip(), QStringLiteral("第%1张, 照片名称: %2")
                                          .arg(row + 1)
                                          .arg(album().photos.cell(row, PhotoCol::Name)));
        ASSERT_TRUE(WaitFor([&] { return !details->isRendering(); }));
        const QSize size(album().photos.cell(row, PhotoCol::Width).toInt(),
                         album().photos.cell(row, PhotoCol::Height).toInt());
        EXPECT_EQ(preview->pixmap().size(), PreviewFrameSize(size));
    }
    workspace.session.selectPhotoRow(-1);
    EXPECT_TRUE(field("Edit_weizhi").isEmpty());
    EXPECT_TRUE(preview->pixmap().isNull());
    EXPECT_TRUE(preview->toolTip().isEmpty());
}

TEST(PhotoPreview, FitsThePhotoIntoTheFrameWithAWhiteBorder) {
    const struct {
        QSize photo;
        QSize frame;
    } cases[] = {
        {{4000, 3000}, {201, 152}}, // landscape: the frame's width
        {{4000, 1000}, {201, 54}},  //
        {{3000, 4000}, {128, 169}}, // portrait: the frame's height
        {{1000, 1000}, {169, 169}}, // square: landscape rule, too tall, so the height decides
        {{1000, 5000}, {38, 169}},  //
        {{0, 0}, {}},               // a row without a size gets no picture
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewFrameSize(c.photo), c.frame) << c.photo.width() << "x" << c.photo.height();
}
