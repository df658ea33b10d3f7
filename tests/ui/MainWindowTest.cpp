#include "ui/main_window/MainWindow.h"

#include "core/Words.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "tests/support/TemplateFixture.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"
#include "ui/PhotoTileList.h"
#include "ui/Workspace.h"
#include "ui/main_window/MainViewFit.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

const QString kNoPhotos = QStringLiteral("没有添加照片文件！");
const QString kFirstPage = QStringLiteral("已经是第一页了！");
const QString kLastPage = QStringLiteral("已经是最后一页了！");
const QString kNoSelection = QStringLiteral("没有选中照片文件！");
const QString kPlaying = QStringLiteral("正在播放相册,点停止按钮后,再操作！");
const QString kLater = QStringLiteral("此功能将在后续版本中提供");

QString MessageOf(QWidget* modal) {
    auto* label = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi"));
    return label ? label->text() : QString();
}

void Click(QWidget* modal, const char* button) {
    auto* widget = modal->findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(widget, nullptr) << button << " in " << modal->objectName().toStdString();
    ClickWidget(widget);
}

// Each modal window in turn is read and answered with its button `answers[i]`.
struct Answers {
    QStringList forms;
    QStringList messages;
    std::unique_ptr<ModalDriver> driver;
    explicit Answers(const QList<const char*>& answers) {
        QList<ModalDriver::Action> actions;
        for (const char* answer : answers)
            actions << [this, answer](QWidget* modal) {
                forms << modal->objectName();
                messages << MessageOf(modal);
                Click(modal, answer);
            };
        driver = std::make_unique<ModalDriver>(actions);
    }
};

// A workspace over an empty data folder and the main window over it, shown.
class MainWindowTest : public ::testing::Test {
protected:
    TempTree tree;
    Workspace workspace{DataPaths(tree.file("program"), tree.file("work")), TemplateCatalogue()};
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        window = std::make_unique<MainWindow>(workspace);
        window->show();
    }

    // `count` small landscape photos (64 x 48), named photo1, photo2, …, as one step.
    void addPhotos(int count) {
        Album next = workspace.document.album();
        for (int i = 0; i < count; ++i) {
            const int number = next.photos.rowCount() + 1;
            QImage picture(64, 48, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv((number * 37) % 360, 200, 220));
            const QString path =
                tree.write(QStringLiteral("photos/photo%1.jpg").arg(number), EncodeJpeg(picture));
            next.photos.appendRow({QString::number(number),
                                   QStringLiteral("photo%1").arg(number),
                                   QStringLiteral("jpg"),
                                   QStringLiteral("64"),
                                   QStringLiteral("48"),
                                   path,
                                   {}});
        }
        next.refreshDerived();
        workspace.document.apply(QStringLiteral("导入照片"), next);
    }

    template <typename T = QWidget> T* child(const QString& name) const {
        return window->findChild<T*>(name);
    }
    // Runs a command and returns the messages it showed (each answered with "确定").
    QStringList run(const QString& caption, int expectedMessages = 1) {
        Answers answers(QList<const char*>(expectedMessages, "Button2"));
        window->command(caption)->trigger();
        EXPECT_EQ(answers.driver->acted(), expectedMessages) << caption.toStdString();
        return answers.messages;
    }
    bool pageDrawn() const {
        return WaitFor([this] { return !window->isDrawingPage(); });
    }
};

struct PageCase {
    int photos;
    QStringList commands; // all but the last run without a message
    int page;             // where it ends
    QString message;      // of the last command; empty for none
};

class PageCommands : public MainWindowTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageCommands, MoveWithinThePhotosAndSayWhenAtTheLimit) {
    const PageCase& c = GetParam();
    addPhotos(c.photos);
    for (int i = 0; i + 1 < c.commands.size(); ++i) {
        EXPECT_TRUE(run(c.commands[i], 0).isEmpty());
        EXPECT_TRUE(pageDrawn()); // the command rests while its page is drawn
    }
    const QStringList messages = run(c.commands.last(), c.message.isEmpty() ? 0 : 1);
    EXPECT_EQ(messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(window->page(), c.page);
    EXPECT_TRUE(pageDrawn());
    EXPECT_TRUE(window->command(c.commands.last())->isEnabled()) << "enabled again once drawn";
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, PageCommands,
    ::testing::Values(PageCase{0, {"第一页"}, 0, kNoPhotos}, PageCase{0, {"下一页"}, 0, kNoPhotos},
                      PageCase{0, {"末一页"}, 0, kNoPhotos}, PageCase{9, {"第一页"}, 0, kFirstPage},
                      PageCase{9, {"上一页"}, 0, kFirstPage}, PageCase{9, {"下一页"}, 0, kLastPage},
                      PageCase{9, {"末一页"}, 0, kLastPage}, PageCase{10, {"下一页"}, 1, {}},
                      PageCase{10, {"末一页"}, 1, {}}, PageCase{10, {"下一页", "下一页"}, 1, kLastPage},
                      PageCase{10, {"末一页", "上一页"}, 0, {}}, PageCase{10, {"末一页", "第一页"}, 0, {}},
                      PageCase{10, {"下一页", "末一页"}, 1, kLastPage}, PageCase{19, {"末一页"}, 2, {}}));

TEST_F(MainWindowTest, TheSecondPageOfTenPhotosShowsTheTenthInItsFirstCellAndNothingElse) {
    addPhotos(10);
    run(QStringLiteral("下一页"), 0);
    ASSERT_TRUE(pageDrawn());
    auto* first = child<QLabel>(QStringLiteral("Image1"));
    EXPECT_FALSE(first->pixmap().isNull());
    EXPECT_EQ(first->toolTip(), QStringLiteral("鼠标双击预览模板效果。    第10张, 照片名称: photo10"));
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label_mingcheng_001"))->text(), QStringLiteral("photo10"));
    for (int k = 2; k <= 9; ++k) {
        EXPECT_TRUE(child<QLabel>(QStringLiteral("Image%1").arg(k))->pixmap().isNull()) << k;
        EXPECT_TRUE(child<QLabel>(QStringLiteral("Label_mingcheng_%1").arg(k, 3, 10, QLatin1Char('0')))
                        ->text()
                        .isEmpty());
    }
}

TEST_F(MainWindowTest, DeletedPhotosLeaveAPageThatExists) {
    addPhotos(10);
    run(QStringLiteral("末一页"), 0);
    Album next = workspace.document.album();
    next.photos.removeRow(9);
    next.refreshDerived();
    workspace.document.apply(QStringLiteral("删除照片"), next);
    EXPECT_EQ(window->page(), 0);
}

TEST_F(MainWindowTest, ClickingACellSelectsItsPhotoAndShowsItFittedInTheView) {
    addPhotos(3);
    ASSERT_TRUE(pageDrawn());
    ClickWidget(child(QStringLiteral("Image2")));
    EXPECT_EQ(workspace.session.selectedPhotoRow(), 1);
    auto* picture = child<QLabel>(QStringLiteral("Image_zhujiemian"));
    // 64 x 48 across the 794-pixel display; the full-screen setting does not limit the height.
    const QSize expected(794, 595);
    EXPECT_EQ(MainViewPictureSize(QSize(64, 48), QSize(794, 444), false), expected);
    EXPECT_TRUE(WaitFor([&] { return picture->size() == expected; }));
    EXPECT_EQ(picture->pos(), QPoint((800 - 794) / 2, (450 - 595) / 2)) << "centred";
}

TEST_F(MainWindowTest, ZoomingOutNineTimesWorksTheTenthSaysSoAndRestoresTheDefault) {
    addPhotos(1);
    ASSERT_TRUE(pageDrawn());
    ClickWidget(child(QStringLiteral("Image1")));
    ASSERT_EQ(workspace.session.selectedPhotoRow(), 0);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_TRUE(run(QStringLiteral("缩小"), 0).isEmpty()) << i;
        EXPECT_EQ(workspace.session.state.Edit_Width_01.toInt(), 794 - 80 * i);
        EXPECT_EQ(workspace.session.state.Edit_Height_01.toInt(), (794 - 80 * i) * 450 / 800);
    }
    EXPECT_EQ(run(QStringLiteral("缩小")),
              QStringList{QStringLiteral("不能再缩小了,点[确定]按钮，照片大小恢复到默认大小！")});
    EXPECT_EQ(workspace.session.state.Edit_Width_01, QStringLiteral("794"));
    EXPECT_EQ(workspace.session.state.Edit_Height_01, QStringLiteral("444"));

    run(QStringLiteral("放大"), 0);
    EXPECT_EQ(workspace.session.state.Edit_Width_01, QStringLiteral("874"));
    run(QStringLiteral("默认"), 0);
    EXPECT_EQ(workspace.session.state.Edit_Width_01, QStringLiteral("794"));
}

TEST_F(MainWindowTest, TheShownPhotoFollowsTheMouseWhileTheButtonIsHeld) {
    addPhotos(1);
    ASSERT_TRUE(pageDrawn());
    ClickWidget(child(QStringLiteral("Image1")));
    auto* picture = child<QLabel>(QStringLiteral("Image_zhujiemian"));
    ASSERT_TRUE(WaitFor([&] { return picture->width() == 794; }));
    const QPoint start = picture->pos();
    SendMouse(picture, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    SendMouse(picture, QEvent::MouseMove, QPoint(130, 80), Qt::LeftButton);
    EXPECT_EQ(picture->pos(), start + QPoint(30, -20));
    SendMouse(picture, QEvent::MouseButtonRelease, QPoint(100, 100), Qt::NoButton);
    SendMouse(picture, QEvent::MouseMove, QPoint(150, 150), Qt::NoButton);
    EXPECT_EQ(picture->pos(), start + QPoint(30, -20)) << "released: it stays";
}

TEST_F(MainWindowTest, TheTitleBarDragsTheWindow) {
    auto* bar = child(QStringLiteral("Image_zhong1"));
    const QPoint start = window->pos();
    const QPoint grab = bar->mapToGlobal(QPoint(50, 10));
    SendMouseAtScreen(bar, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    SendMouseAtScreen(bar, QEvent::MouseMove, grab + QPoint(-40, 25), Qt::LeftButton);
    SendMouseAtScreen(bar, QEvent::MouseButtonRelease, grab + QPoint(-40, 25), Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(-40, 25));
}

struct RefusalCase {
    int photos;
    bool select;
    bool playing;
    const char* command;
    QString message;
};

class Refusals : public MainWindowTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, SayWhyAndChangeNothing) {
    const RefusalCase& c = GetParam();
    addPhotos(c.photos);
    int opened = 0;
    window->setWindowOpener(QStringLiteral("添加照片"), [&] { ++opened; });
    window->setWindowOpener(QStringLiteral("照片文件"), [&] { ++opened; });
    if (c.select)
        workspace.session.selectPhotoRow(0);
    if (c.playing)
        workspace.session.state.Edit_tuichu = Words::Playing;
    const QString width = workspace.session.state.Edit_Width_01;
    EXPECT_EQ(run(QString::fromUtf8(c.command)), QStringList{c.message});
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(window->page(), 0);
    EXPECT_EQ(workspace.session.state.Edit_Width_01, width);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Refusals,
                         ::testing::Values(RefusalCase{0, false, false, "放大", kNoPhotos},
                                           RefusalCase{0, false, false, "缩小", kNoPhotos},
                                           RefusalCase{3, false, false, "放大", kNoSelection},
                                           RefusalCase{3, false, false, "默认", kNoSelection},
                                           RefusalCase{12, true, true, "下一页", kPlaying},
                                           RefusalCase{3, true, true, "放大", kPlaying},
                                           RefusalCase{3, true, true, "添加照片", kPlaying},
                                           RefusalCase{3, true, true, "新建文件", kPlaying},
                                           RefusalCase{3, false, false, "预览效果",
                                                       QStringLiteral("双击照片预览效果！")},
                                           RefusalCase{0, false, false, "删除照片", kNoPhotos},
                                           RefusalCase{0, false, false, "照片文件", kNoPhotos}));

TEST_F(MainWindowTest, TemplateManagementWithoutPhotosSaysWhatItNeeds) {
    int opened = 0;
    window->setWindowOpener(QStringLiteral("模板管理"), [&] { ++opened; });
    EXPECT_EQ(run(QStringLiteral("模板管理")),
              QStringList{QStringLiteral("没有添加照片文件！使用模板管理功能,至少添加一张照片文件！")});
    EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, ACommandWithoutItsWindowIsDisabledAndSaysSoUntilItGetsOne) {
    QAction* action = window->command(QStringLiteral("插入视频"));
    auto* button = child<QPushButton>(QStringLiteral("Button_charu_shipin"));
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());
    EXPECT_EQ(action->toolTip(), kLater);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->toolTip(), kLater);
    EXPECT_FALSE(window->command(QStringLiteral("播放"))->isEnabled());

    addPhotos(1);
    int opened = 0;
    window->setWindowOpener(QStringLiteral("插入视频"), [&] { ++opened; });
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(button->toolTip().isEmpty());
    button->click();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, AddingPhotosThroughItsWindowShowsTheFirstPageWithoutASelection) {
    addPhotos(12);
    run(QStringLiteral("下一页"), 0);
    workspace.session.selectPhotoRow(10);
    window->setWindowOpener(QStringLiteral("添加照片"), [this] { addPhotos(1); });
    window->command(QStringLiteral("添加照片"))->trigger();
    EXPECT_EQ(window->page(), 0);
    EXPECT_EQ(workspace.session.selectedPhotoRow(), -1);
}

TEST(MainWindow, TheTotalClockCountsTheFramesOfCompleteTemplatesAndTheEnding) {
    TempTree tree;
    const char* frames[] = {"1000", "500", "350"};
    for (int t = 0; t < 3; ++t) {
        TemplateSpec design;
        design.frames = QString::fromLatin1(frames[t]);
        WriteTemplate(tree, QStringLiteral("t%1").arg(t + 1, 3, 10, QLatin1Char('0')), design);
    }
    const DataPaths paths(tree.path(), tree.file("work"));
    Workspace workspace(paths, TemplateCatalogue::build(paths));
    MainWindow window(workspace);
    auto* total = window.findChild<QLabel*>(QStringLiteral("Label_zongshijian"));
    Album next = workspace.document.album();
    auto addUsed = [&](int number, const QString& matching) {
        QStringList cells(UsedTemplateCol::Count);
        cells[UsedTemplateCol::TemplateNumber] = QString::number(number);
        cells[UsedTemplateCol::Matching] = matching;
        next.usedTemplates.appendRow(cells);
    };
    addUsed(0, Words::Complete);
    addUsed(1, QStringLiteral("未完成"));
    addUsed(2, Words::Complete);
    addUsed(7, Words::Complete); // not in the catalogue: plays nothing
    workspace.document.apply(QStringLiteral("模板"), next);
    // 1000 + 350 + 150 frames at 25 a second: one minute.
    EXPECT_EQ(total->text(), QStringLiteral("00:01:00"));
}

struct ModeCase {
    const char* from;
    const char* to;
};

class TitleBarDoubleClick : public MainWindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(TitleBarDoubleClick, SwitchesBetweenTheDefaultWindowAndFullScreen) {
    window->applyWindowMode(QString::fromLatin1(GetParam().from));
    SendMouse(child(QStringLiteral("Image_zhong1")), QEvent::MouseButtonDblClick, QPoint(20, 10),
              Qt::LeftButton);
    EXPECT_EQ(workspace.session.state.windowMode, QString::fromLatin1(GetParam().to));
    if (workspace.session.state.windowMode == QLatin1String("moren_chuangkou")) {
        EXPECT_EQ(window->size(), QSize(1189, 695));
        EXPECT_TRUE(child(QStringLiteral("Image1"))->isVisible());
    } else {
        EXPECT_EQ(window->geometry(), window->screen()->geometry());
        EXPECT_FALSE(child(QStringLiteral("Image1"))->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, TitleBarDoubleClick,
                         ::testing::Values(ModeCase{"moren_chuangkou", "quanping_chuangkou"},
                                           ModeCase{"quanping_chuangkou", "moren_chuangkou"},
                                           ModeCase{"fangda_chuangkou", "moren_chuangkou"}));

TEST_F(MainWindowTest, TheLargeModesShowThePhotoListInItsAreaWithATilePerPhoto) {
    addPhotos(3);
    auto* list = child<PhotoTileList>(QStringLiteral("ListView1"));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible());
    window->command(QStringLiteral("放大窗口"))->trigger();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->geometry(), window->photoListArea());
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QStringLiteral("photo2.jpg"));
    EXPECT_TRUE(WaitFor([&] { return list->pendingTiles() == 0; }));
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->width(), screen.width() - screen.width() / 20);
    EXPECT_EQ(window->height(), screen.height() - screen.height() / 10);

    // A click on a tile shows its photo; a double click first opens the preview of its templates.
    QList<int> previewed;
    window->setTemplatePreviewOpener([&](int row) { previewed << row; });
    const QPoint tile = list->visualRect(list->model()->index(2, 0)).center();
    SendMouse(list->viewport(), QEvent::MouseButtonPress, tile, Qt::LeftButton);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, tile, Qt::NoButton);
    EXPECT_EQ(workspace.session.selectedPhotoRow(), 2);
    DoubleClickAt(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(previewed, QList<int>{0});
    EXPECT_EQ(workspace.session.selectedPhotoRow(), 0);

    window->command(QStringLiteral("默认窗口"))->trigger();
    EXPECT_FALSE(list->isVisible());
}

TEST_F(MainWindowTest, DeletingFromThePhotoListDeletesTheSelectedPhoto) {
    addPhotos(3);
    workspace.session.selectPhotoRow(1);
    // The deletion asks first; whatever it asks is answered "确定", its messages read.
    Answers answers({"Button3", "Button2", "Button2"});
    window->command(QStringLiteral("删除照片"))->trigger();
    ASSERT_GE(answers.driver->acted(), 1);
    EXPECT_EQ(answers.forms.first(), QStringLiteral("TForm17"));
    ASSERT_EQ(workspace.document.album().photos.rowCount(), 2);
    EXPECT_EQ(workspace.document.album().photos.cell(1, PhotoCol::Name), QStringLiteral("photo3"));
}

TEST_F(MainWindowTest, PreviewFromThePhotoListOpensTheSelectedPhotosTemplatesThenSelectsIt) {
    addPhotos(3);
    QList<int> previewed;
    window->setTemplatePreviewOpener([&](int row) { previewed << row; });
    QMenu* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenu_zhaopian_liebiao"));
    ASSERT_NE(menu, nullptr);
    QAction* preview = menu->actions().first();
    {
        Answers answers({"Button2"});
        preview->trigger();
        EXPECT_EQ(answers.messages, QStringList{kNoSelection});
    }
    workspace.session.selectPhotoRow(2);
    preview->trigger();
    EXPECT_EQ(previewed, QList<int>{2});
    EXPECT_EQ(workspace.session.selectedPhotoRow(), 2);
}

TEST_F(MainWindowTest, TheDeferredCommandOpensTemplateManagementOnlyWhileItIsStillAsked) {
    addPhotos(1);
    int opened = 0;
    window->setWindowOpener(QStringLiteral("模板管理"), [&] { ++opened; });
    workspace.session.state.Edit_zidongkongzhi = QStringLiteral("dakai_mobanguanli_anniu");
    window->scheduleDeferredCommand();
    EXPECT_TRUE(WaitFor([&] { return opened == 1; }));
    workspace.session.state.Edit_zidongkongzhi.clear();
    window->scheduleDeferredCommand();
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, ClearingTheAlbumIsOneStepThatUndoBringsBack) {
    addPhotos(4);
    workspace.document.modify(QStringLiteral("设置"),
                              [](Album& album) { album.settings[QStringLiteral("x")] = "true"; });
    Answers answers({"Button3"});
    window->command(QStringLiteral("清空数据"))->trigger();
    EXPECT_EQ(answers.forms, QStringList{QStringLiteral("TForm17")});
    EXPECT_EQ(workspace.document.album().photos.rowCount(), 0);
    EXPECT_EQ(workspace.document.album().settings.value(QStringLiteral("x")), QStringLiteral("true"));
    workspace.document.undo();
    EXPECT_EQ(workspace.document.album().photos.rowCount(), 4);
}

TEST_F(MainWindowTest, TheTitleNamesTheAlbumAndMarksUnsavedChanges) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumiset - 未命名相册"));
    addPhotos(1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumiset - 未命名相册 *"));
    const QString path = tree.file("mine.lumiset");
    window->setFileChooser(
        [&](QWidget*, bool forSaving) { return forSaving ? tree.file("mine") : QString(); });
    window->command(QStringLiteral("保存文件"))->trigger();
    EXPECT_TRUE(QFileInfo::exists(path)) << "the suffix is added";
    EXPECT_FALSE(window->windowTitle().endsWith(QStringLiteral(" *")));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Lumiset - mine")));
}

TEST_F(MainWindowTest, ADamagedAlbumFileLeavesTheAlbumAsItWasAndSaysWhy) {
    addPhotos(2);
    const QString damaged = tree.write("damaged.lumiset", "this is not an album");
    window->setFileChooser([&](QWidget*, bool) { return damaged; });
    // "不保存" to the unsaved question, then the error is read.
    Answers answers({"Button4", "Button2"});
    window->command(QStringLiteral("打开文件"))->trigger();
    ASSERT_EQ(answers.forms.size(), 2);
    EXPECT_FALSE(answers.messages[1].isEmpty());
    EXPECT_EQ(workspace.document.album().photos.rowCount(), 2);
    EXPECT_TRUE(workspace.document.filePath().isEmpty());
    EXPECT_TRUE(workspace.document.isModified());
}

TEST_F(MainWindowTest, OpeningAnAlbumReplacesItAndNewEmptiesIt) {
    addPhotos(3);
    window->setFileChooser([&](QWidget*, bool) { return tree.file("three.lumiset"); });
    window->command(QStringLiteral("另存文件"))->trigger();
    {
        Answers answers({"Button4"}); // new album: the changes are not kept
        addPhotos(1);
        window->command(QStringLiteral("新建文件"))->trigger();
        EXPECT_EQ(answers.forms, QStringList{QStringLiteral("SaveChangesBox")});
    }
    EXPECT_EQ(workspace.document.album().photos.rowCount(), 0);
    window->command(QStringLiteral("打开文件"))->trigger();
    EXPECT_EQ(workspace.document.album().photos.rowCount(), 3);
    EXPECT_EQ(window->page(), 0);
}

enum class QuitBy { Menu, CloseLabel, SystemClose };

struct QuitCase {
    QuitBy by;
    bool modified;
    QList<const char*> answers; // the unsaved question first when modified, then the exit question
    QStringList forms;
    bool quits;
};

class Quitting : public MainWindowTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(Quitting, AsksAboutChangesThenConfirmsAndCleansUpOrDoesNothing) {
    const QuitCase& c = GetParam();
    if (c.modified)
        addPhotos(1);
    const QString leftOver = tree.write("work/korvel/wj_0_or_6_6/wj_0_or_6_6.jpg", "x");
    window->setFileChooser([&](QWidget*, bool) { return tree.file("kept.lumiset"); });
    QSignalSpy quit(window.get(), &MainWindow::quitConfirmed);
    Answers answers(c.answers);
    switch (c.by) {
    case QuitBy::Menu:
        window->command(QStringLiteral("退出文件"))->trigger();
        break;
    case QuitBy::CloseLabel:
        ClickWidget(child(QStringLiteral("Label_guanbi")));
        break;
    case QuitBy::SystemClose:
        SendSystemClose(window.get());
        break;
    }
    EXPECT_EQ(answers.forms, c.forms);
    EXPECT_EQ(quit.count(), c.quits ? 1 : 0);
    EXPECT_EQ(QFileInfo::exists(leftOver), !c.quits);
    EXPECT_TRUE(window->isVisible());
    if (c.modified && c.answers.first() == QByteArrayLiteral("Button3")) {
        EXPECT_TRUE(QFileInfo::exists(tree.file("kept.lumiset")));
    }
    if (c.quits) { // the program ends by closing the window: nothing more is asked
        Answers none({});
        EXPECT_TRUE(window->close());
        EXPECT_TRUE(none.forms.isEmpty());
    }
}

const QString kSave = QStringLiteral("SaveChangesBox");
const QString kExit = QStringLiteral("TForm16");

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Quitting,
    ::testing::Values(QuitCase{QuitBy::Menu, false, {"Button3"}, {kExit}, true},
                      QuitCase{QuitBy::Menu, false, {"Button4"}, {kExit}, false},
                      QuitCase{QuitBy::CloseLabel, false, {"Button3"}, {kExit}, true},
                      QuitCase{QuitBy::SystemClose, false, {"Button4"}, {kExit}, false},
                      QuitCase{QuitBy::SystemClose, true, {"Button5"}, {kSave}, false},
                      QuitCase{QuitBy::Menu, true, {"Button4", "Button3"}, {kSave, kExit}, true},
                      QuitCase{QuitBy::CloseLabel, true, {"Button3", "Button3"}, {kSave, kExit}, true},
                      QuitCase{QuitBy::Menu, true, {"Button3", "Button4"}, {kSave, kExit}, false}));

struct FitCase {
    QSize photo, display;
    bool moderate;
    QSize expected;
};

class MainViewFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(MainViewFit, FollowsTheDisplaySettings) {
    const FitCase& c = GetParam();
    EXPECT_EQ(MainViewPictureSize(c.photo, c.display, c.moderate), c.expected);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, MainViewFit,
                         ::testing::Values(FitCase{{4000, 3000}, {794, 444}, false, {794, 595}},
                                           FitCase{{4000, 3000}, {794, 444}, true, {592, 444}},
                                           FitCase{{1600, 900}, {794, 444}, true, {789, 444}},
                                           FitCase{{3000, 3000}, {794, 444}, false, {794, 794}},
                                           FitCase{{3000, 4000}, {794, 444}, false, {333, 444}},
                                           FitCase{{100, 4000}, {74, 41}, false, {1, 41}},
                                           FitCase{{1000, 100}, {74, 41}, true, {74, 7}},
                                           FitCase{{0, 0}, {794, 444}, false, QSize()}));

} // namespace
