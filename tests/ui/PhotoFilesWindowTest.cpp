#include "ui/windows/PhotoFilesWindow.h"

#include "core/Columns.h"
#include "photos/PhotoDeletion.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"
#include "ui/PhotoTileList.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

// Each message or question of one command, read and answered: questions with "确定" or "取消".
struct User {
    QStringList seen;
    ModalDriver driver;
    explicit User(bool consent = true)
        : driver(QList<ModalDriver::Action>(4, [this, consent](QWidget* modal) {
              auto* text = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"));
              seen << (text ? text->text() : modal->objectName());
              const bool question = modal->objectName() == QStringLiteral("TForm17");
              const char* button = question ? (consent ? "Button3" : "Button4") : "Button2";
              modal->findChild<QPushButton*>(QLatin1String(button))->click();
          })) {}
};

class PhotoFilesWindowTest : public ::testing::Test {
protected:
    TempTree tree;
    Workspace workspace{DataPaths(tree.file("program"), tree.file("work")), TemplateCatalogue()};
    QList<int> previewed;

    // Photos of the given sizes (four coloured quadrants each), as one step.
    void addPhotos(const QList<QSize>& sizes) {
        Album next = workspace.document.album();
        for (const QSize size : sizes) {
            const int number = next.photos.rowCount() + 1;
            const QString path =
                tree.write(QStringLiteral("photos/p%1.jpg").arg(number), EncodeJpeg(QuadrantScene(size)));
            next.photos.appendRow({QString::number(number),
                                   QStringLiteral("p%1").arg(number),
                                   QStringLiteral(".jpg"),
                                   QString::number(size.width()),
                                   QString::number(size.height()),
                                   path,
                                   {}});
        }
        next.refreshDerived();
        workspace.document.apply(QStringLiteral("导入照片"), next);
    }
    std::unique_ptr<PhotoFilesWindow> openWindow() {
        auto window =
            std::make_unique<PhotoFilesWindow>(workspace, [this](QWidget*, int row) { previewed << row; });
        window->show();
        return window;
    }
    static PhotoTileList* listOf(QWidget* window) {
        return window->findChild<PhotoTileList*>(QStringLiteral("ListView1"));
    }
    static QImage tileOf(PhotoTileList* list, int row) {
        return list->model()->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    }
    static void click(QWidget* window, const char* button) {
        window->findChild<QPushButton*>(QLatin1String(button))->click();
    }
};

} // namespace

TEST_F(PhotoFilesWindowTest, EachTileIsThePhotoInAWhiteFrameCentredInTheBox) {
    addPhotos({{400, 300}, {300, 400}});
    auto window = openWindow();
    PhotoTileList* list = listOf(window.get());
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitFor([&] { return list->pendingTiles() == 0; }));
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("p1.jpg"));
    EXPECT_EQ(list->model()->index(1, 0).data(Qt::ToolTipRole).toString(),
              workspace.document.album().photos.cell(1, PhotoCol::Path));

    // 125 x 80: the landscape photo is 96 x 72 at (14, 4), its frame 102 x 78 at (11, 1); the portrait
    // photo 54 x 72 at (35, 4). Red top-left, yellow bottom-right; white between picture and frame edge.
    struct Probe {
        int row;
        QPoint at;
        QColor colour;
    };
    const Probe probes[] = {{0, {18, 8}, Qt::red},         {0, {105, 72}, Qt::yellow},
                            {0, {12, 40}, Qt::white},      {0, {5, 40}, Qt::transparent},
                            {1, {38, 8}, Qt::red},         {1, {86, 72}, Qt::yellow},
                            {1, {20, 40}, Qt::transparent}};
    for (const Probe& probe : probes) {
        const QImage tile = tileOf(list, probe.row);
        ASSERT_EQ(tile.size(), PhotoTileList::kSmallTile);
        const QColor seen = tile.pixelColor(probe.at);
        const bool near =
            qAbs(seen.red() - probe.colour.red()) < 40 && qAbs(seen.green() - probe.colour.green()) < 40 &&
            qAbs(seen.blue() - probe.colour.blue()) < 40 && qAbs(seen.alpha() - probe.colour.alpha()) < 40;
        EXPECT_TRUE(near) << "row " << probe.row << " at " << probe.at.x() << "," << probe.at.y() << ": "
                          << seen.name(QColor::HexArgb).toStdString();
    }

    click(window.get(), "Button6"); // 放大照片
    ASSERT_TRUE(WaitFor([&] { return list->pendingTiles() == 0; }));
    EXPECT_EQ(tileOf(list, 0).size(), PhotoTileList::kLargeTile);
    EXPECT_EQ(list->gridSize(), PhotoTileList::kLargeTile + QSize(20, 40));
    click(window.get(), "Button5"); // 缩小照片
    ASSERT_TRUE(WaitFor([&] { return list->pendingTiles() == 0; }));
    EXPECT_EQ(tileOf(list, 0).size(), PhotoTileList::kSmallTile);
}

TEST_F(PhotoFilesWindowTest, ALongListRendersTheTilesInViewFirstAndTheRestAsTheyScrollIn) {
    QList<QSize> sizes(300, QSize(40, 30));
    addPhotos(sizes);
    auto window = openWindow();
    PhotoTileList* list = listOf(window.get());
    ASSERT_TRUE(WaitFor([&] { return list->pendingTiles() == 0; }));
    const QImage placeholder = tileOf(list, 299);
    EXPECT_NE(tileOf(list, 0), placeholder);
    list->scrollToBottom();
    ASSERT_TRUE(WaitFor([&] { return list->pendingTiles() == 0 && tileOf(list, 299) != placeholder; }));
}

TEST_F(PhotoFilesWindowTest, OpeningWithoutPhotosSaysSoInsteadOfAWindow) {
    User user;
    PhotoFilesWindow::open(nullptr, workspace);
    EXPECT_EQ(user.seen, QStringList{PhotoDeletionText::NoPhotos});
}

TEST_F(PhotoFilesWindowTest, ATileShowsItsPhotoAndADoubleClickPreviewsItsTemplates) {
    addPhotos({{40, 30}, {40, 30}, {40, 30}});
    auto window = openWindow();
    PhotoTileList* list = listOf(window.get());
    {
        User user;
        click(window.get(), "Button_yulanxiaoguo");
        EXPECT_EQ(user.seen, QStringList{PhotoDeletionText::NoSelection});
    }
    const QPoint tile = list->visualRect(list->model()->index(1, 0)).center();
    SendMouse(list->viewport(), QEvent::MouseButtonPress, tile, Qt::LeftButton);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, tile, Qt::NoButton);
    EXPECT_EQ(workspace.session.selectedPhotoRow(), 1);
    EXPECT_TRUE(previewed.isEmpty());
    DoubleClickAt(list->viewport(), list->visualRect(list->model()->index(2, 0)).center());
    EXPECT_EQ(previewed, QList<int>{2});
    click(window.get(), "Button_yulanxiaoguo");
    EXPECT_EQ(previewed, QList<int>({2, 2}));
    // The list follows a selection made elsewhere.
    workspace.session.selectPhotoRow(0);
    EXPECT_EQ(list->currentIndex().row(), 0);
}

TEST_F(PhotoFilesWindowTest, DeletionsAskAndTheListFollowsTheAlbum) {
    addPhotos({{40, 30}, {40, 30}, {40, 30}});
    auto window = openWindow();
    PhotoTileList* list = listOf(window.get());
    {
        User user;
        click(window.get(), "Button_shanchu_dange");
        EXPECT_EQ(user.seen, QStringList{PhotoDeletionText::NoSelection});
    }
    workspace.session.selectPhotoRow(1);
    {
        User user;
        window->findChild<QAction*>(QStringLiteral("N2"))->trigger();
        ASSERT_EQ(user.seen.size(), 2) << user.seen.join(u'|').toStdString();
    }
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QStringLiteral("p3.jpg"));
    {
        User user(false);
        click(window.get(), "Button_shanchu_quanbu");
        EXPECT_EQ(user.seen, QStringList{"是否确定要删除全部照片文件?"});
    }
    EXPECT_EQ(list->model()->rowCount(), 2);
    {
        User user;
        window->findChild<QAction*>(QStringLiteral("N3"))->trigger();
    }
    EXPECT_EQ(list->model()->rowCount(), 0);
    User user;
    click(window.get(), "Button_shanchu_quanbu");
    EXPECT_EQ(user.seen, QStringList{PhotoDeletionText::NoPhotos});
}

TEST_F(PhotoFilesWindowTest, WindowSizeButtonsResizeAndCentre) {
    addPhotos({{40, 30}});
    auto window = openWindow();
    const QRect screen = window->screen()->geometry();
    click(window.get(), "Button3");
    EXPECT_EQ(window->size(),
              QSize(screen.width() - screen.width() / 10, screen.height() - screen.height() / 10));
    click(window.get(), "Button2");
    EXPECT_EQ(window->size(),
              QSize(screen.width() - screen.width() / 20, screen.height() - screen.height() / 20));
    click(window.get(), "Button1");
    EXPECT_EQ(window->size(), PhotoFilesWindow::kDefaultSize);
    EXPECT_LE(qAbs(window->geometry().center().x() - window->screen()->availableGeometry().center().x()), 1);
}

TEST_F(PhotoFilesWindowTest, WithoutATemplatePreviewThePreviewIsNotOffered) {
    addPhotos({{40, 30}});
    PhotoFilesWindow window(workspace, {});
    auto* preview = window.findChild<QPushButton*>(QStringLiteral("Button_yulanxiaoguo"));
    EXPECT_FALSE(preview->isEnabled());
    EXPECT_EQ(preview->toolTip(), QStringLiteral("此功能将在后续版本中提供"));
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("N1"))->isEnabled());
}
