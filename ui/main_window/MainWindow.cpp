// Construction, layout in the three window modes and the window's own title bar.
#include "ui/main_window/MainWindow.h"

#include "core/AlbumTableModel.h"
#include "ui/PhotoTileList.h"
#include "ui/PictureRenderer.h"
#include "ui/Theme.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace lumiset::ui {

namespace {

constexpr QSize kDefaultSize(1189, 695);
constexpr QSize kViewSize(800, 450);
constexpr int kCellCount = 9;
constexpr QSize kCellSize(127, 106);
constexpr QRect kCellPicture(5, 5, 118, 80);
constexpr int kCellStep = 128;
constexpr int kCellsLeft = 14;
constexpr int kCellsTop = 560;
constexpr int kPlayRowTop = 522;
constexpr int kContentTop = 58;
constexpr int kSideLeft = 8;
constexpr int kSideWidth = 168;
constexpr QSize kFunctionButton(86, 28);
constexpr int kFunctionColumnWidth = 2 * kFunctionButton.width() + 6;

const QString kModeDefault = QStringLiteral("moren_chuangkou");
const QString kModeEnlarged = QStringLiteral("fangda_chuangkou");
const QString kModeFullScreen = QStringLiteral("quanping_chuangkou");

QLabel* chromePicture(QWidget* parent, const char* name, ThemePicture picture) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(Theme::picture(picture));
    label->setScaledContents(true);
    return label;
}

QLabel* titleBarText(QWidget* parent, const char* name, const QString& text, int pixelSize, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colours::kTitleText);
    label->setPalette(palette);
    return label;
}

// The program's mark: a rose disc with a white note-and-frame sign, painted at the screen's pixel ratio.
QPixmap ProgramIcon(int size, qreal ratio) {
    QPixmap icon(QSize(size, size) * ratio);
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours::kRose);
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    painter.setPen(QPen(Qt::white, size / 12.0));
    painter.setBrush(Qt::NoBrush);
    const qreal s = size;
    painter.drawRoundedRect(QRectF(s * 0.24, s * 0.3, s * 0.52, s * 0.4), s * 0.05, s * 0.05);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(s * 0.42, s * 0.56), s * 0.06, s * 0.05);
    painter.drawLine(QPointF(s * 0.47, s * 0.56), QPointF(s * 0.47, s * 0.38));
    painter.drawLine(QPointF(s * 0.47, s * 0.38), QPointF(s * 0.6, s * 0.43));
    return icon;
}

// What the main view shows while no photo is selected and nothing plays: the program's start picture.
QPixmap IdlePicture(QSize size, qreal ratio) {
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, colours::kNavyDark);
    sky.setColorAt(0.6, colours::kNavy);
    sky.setColorAt(1, colours::kRoseDark);
    painter.fillRect(QRect(QPoint(0, 0), size), sky);
    // A loose row of photo frames, as on a table.
    painter.setPen(QPen(QColor(255, 255, 255, 70), 2));
    for (int i = 0; i < 5; ++i) {
        painter.save();
        painter.translate(150 + i * 125, 300 + (i % 2) * 18);
        painter.rotate(-8 + i * 4);
        painter.setBrush(QColor(255, 255, 255, 18 + i * 6));
        painter.drawRoundedRect(QRectF(-48, -36, 96, 72), 4, 4);
        painter.restore();
    }
    QFont name = painter.font();
    name.setPixelSize(64);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(colours::kTitleText);
    painter.drawText(QRect(0, 90, size.width(), 90), Qt::AlignCenter, QStringLiteral("Lumiset"));
    QFont line = painter.font();
    line.setPixelSize(20);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(colours::kRosePale);
    painter.drawText(QRect(0, 180, size.width(), 40), Qt::AlignCenter,
                     QStringLiteral("添加照片，配上音乐与歌词，做成您的音乐相册"));
    return picture;
}

} // namespace

MainWindow::MainWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), workspace_(workspace),
      cellRenderer_(new PictureRenderer(workspace.thumbnails, this)),
      viewRenderer_(new PictureRenderer(workspace.thumbnails, this)) {
    setObjectName(QStringLiteral("TForm2"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The window's own buttons have fixed places, some of them narrow; dialogs over it keep the theme's.
    setStyleSheet(QStringLiteral("QWidget#TForm2 > QPushButton { min-width: 0px; padding: 2px 4px; }"
                                 "QWidget#TForm2 > QPushButton:pressed { padding: 3px 4px 1px 4px; }"));
    buildChrome();
    buildMainView();
    buildCells();
    buildSideLists();
    buildCommands();
    buildButtons();

    connect(cellRenderer_, &PictureRenderer::rendered, this,
            [this](int cell, const QImage& picture, const QString&) { cellRendered(cell, picture); });
    connect(cellRenderer_, &PictureRenderer::batchFinished, this, [this] {
        if (drawingCommand_)
            drawingCommand_->setEnabled(true);
        drawingCommand_ = nullptr;
    });
    connect(viewRenderer_, &PictureRenderer::rendered, this,
            [this](int, const QImage& picture, const QString&) { viewPictureRendered(picture); });

    AlbumDocument& document = workspace_.document;
    connect(&document, &AlbumDocument::tablesChanged, this, &MainWindow::albumTablesChanged);
    connect(&document, &AlbumDocument::modifiedChanged, this, &MainWindow::updateTitle);
    connect(&document, &AlbumDocument::filePathChanged, this, &MainWindow::updateTitle);
    connect(&workspace_.session, &Session::selectionChanged, this, [this] {
        resetDisplaySize();
        showSelectedPhoto();
    });

    updateTitle();
    updateTotalClock();
    showIdlePicture();
    applyWindowMode(kModeDefault);
    if (photoCount() > 0)
        drawPage();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildChrome() {
    titleLeft_ = chromePicture(this, "Image_zuo1", ThemePicture::TitleLeft);
    titleMiddle_ = chromePicture(this, "Image_zhong1", ThemePicture::TitleMiddle);
    titleRight_ = chromePicture(this, "Image_you1", ThemePicture::TitleRight);
    bottomEdge_ = chromePicture(this, "Image_xia", ThemePicture::BottomEdge);
    titleLeft_->installEventFilter(this);
    titleMiddle_->installEventFilter(this);

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("Image_ico"));
    icon_->setPixmap(ProgramIcon(26, devicePixelRatioF()));
    icon_->installEventFilter(this);

    title_ = titleBarText(this, "Label_biaoti", {}, Theme::kMessagePixelSize, true);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    version_ = titleBarText(this, "Label_banben",
                            QStringLiteral("Lumiset %1").arg(QStringLiteral(LUMISET_VERSION)), 12, false);
    version_->setAttribute(Qt::WA_TransparentForMouseEvents);

    windowMenuLabel_ = titleBarText(this, "Label_chuangkou_suofang", QStringLiteral("窗口 ▾"), 13, false);
    windowMenuLabel_->setToolTip(QStringLiteral("窗口缩放"));
    functionMenuLabel_ = titleBarText(this, "Label_gongneng_caidan", QStringLiteral("功能 ▾"), 13, false);
    functionMenuLabel_->setToolTip(QStringLiteral("功能菜单"));
    for (QLabel* label : {windowMenuLabel_, functionMenuLabel_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    close_ = new QLabel(this);
    close_->setObjectName(QStringLiteral("Label_guanbi"));
    close_->setToolTip(QStringLiteral("关闭软件"));
    close_->installEventFilter(this);
}

void MainWindow::buildMainView() {
    view_ = new QWidget(this);
    view_->setObjectName(QStringLiteral("ScrollBox_zhujiemian"));
    view_->setAutoFillBackground(true);
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    view_->setPalette(palette);
    view_->resize(kViewSize);

    viewPicture_ = new QLabel(view_);
    viewPicture_->setObjectName(QStringLiteral("Image_zhujiemian"));
    viewPicture_->installEventFilter(this);
    idlePicture_ = IdlePicture(kViewSize, devicePixelRatioF());

    auto makeLyric = [this](const char* name, int top) {
        auto* label = new QLabel(view_);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont font = label->font();
        font.setPixelSize(20);
        font.setBold(true);
        label->setFont(font);
        QPalette lyricPalette = label->palette();
        lyricPalette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(lyricPalette);
        label->setGeometry(0, top, kViewSize.width(), 28);
        return label;
    };
    lyric_ = makeLyric("Label_LRC", kViewSize.height() - 64);
    lyric2_ = makeLyric("Label_LRC_2", kViewSize.height() - 34);
}

void MainWindow::buildCells() {
    for (int k = 0; k < kCellCount; ++k) {
        auto* cell = new QFrame(this);
        cell->setObjectName(QStringLiteral("Panel_zhaopian_%1").arg(k + 1));
        cell->setFrameShape(QFrame::StyledPanel);
        cell->resize(kCellSize);
        auto* picture = new QLabel(cell);
        picture->setObjectName(QStringLiteral("Image%1").arg(k + 1));
        picture->setGeometry(kCellPicture);
        picture->setAlignment(Qt::AlignCenter);
        picture->setContextMenuPolicy(Qt::PreventContextMenu);
        picture->installEventFilter(this);
        auto* caption = new QLabel(cell);
        caption->setObjectName(QStringLiteral("Label_mingcheng_%1").arg(k + 1, 3, 10, QLatin1Char('0')));
        caption->setGeometry(5, kCellPicture.bottom() + 3, kCellPicture.width(), 16);
        caption->setAlignment(Qt::AlignCenter);
        cells_ << cell;
        cellPictures_ << picture;
        cellCaptions_ << caption;
    }
    // The large modes show the photos as a thumbnail list where the default mode has its cells.
    photoList_ = new PhotoTileList(workspace_, this);
    photoList_->hide();
    connect(photoList_, &PhotoTileList::photoClicked, this, &MainWindow::selectPhoto);
    connect(photoList_, &PhotoTileList::photoDoubleClicked, this, &MainWindow::openPreviewAndSelect);
    connect(photoList_, &QWidget::customContextMenuRequested, this, &MainWindow::showPhotoListMenu);
}

void MainWindow::buildSideLists() {
    const struct {
        const char* name;
        QString caption;
        TableId table;
        int column;
    } lists[] = {
        {"ListView_daoru_moban", QStringLiteral("使用模板"), TableId::UsedTemplates, UsedTemplateCol::Name},
        {"ListView_daoru_yinyue", QStringLiteral("音乐文件"), TableId::Music, MusicCol::Name},
        {"ListView_daoru_geci", QStringLiteral("歌词文件"), TableId::Lyrics, LyricCol::Name},
    };
    for (const auto& list : lists) {
        auto* caption = new QLabel(list.caption, this);
        sideCaptions_ << caption;
        auto* view = new QListView(this);
        view->setObjectName(QLatin1String(list.name));
        view->setModel(new AlbumTableModel(workspace_.document, list.table, view));
        view->setModelColumn(list.column);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        sideLists_ << view;
    }
}

void MainWindow::bindButton(QAbstractButton* button, QAction* action) {
    connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        // A disabled button says why; an enabled one keeps its own hint.
        if (!action->isEnabled())
            button->setToolTip(action->toolTip());
        else if (button->property("hint").isValid())
            button->setToolTip(button->property("hint").toString());
        else
            button->setToolTip({});
    };
    connect(action, &QAction::changed, button, follow);
    follow();
}

QAbstractButton* MainWindow::addButton(const QString& caption, const char* objectName) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(objectName));
    button->setFocusPolicy(Qt::NoFocus);
    bindButton(button, command(caption.trimmed()));
    return button;
}

void MainWindow::buildButtons() {
    const struct {
        const char* caption;
        const char* name;
    } functions[] = {
        {"添加照片", "Button_tianjia_zhaopian"},
        {"添加音乐", "Button_tianjia_yinyue"},
        {"添加歌词", "Button_tianjia_geci"},
        {"照片剪裁", "Button_zhaopian_jiancai"},
        {"画面质量", "Button_huamian_zhiliang"},
        {"同步效果", "Button_tongbu_xiaoguo"},
        {"模板管理", "Button_moban_guanli"},
        {"插入视频", "Button_charu_shipin"},
        {"文字特效", "Button_wenzi_texiao"},
        {"背景图片", "Button_beijing_tupian"},
        {"系统设置", "Button_xitong_shezhi"},
        {"软件简介", "Button_ruanjian_jianjie"},
        {"VCD", "Button_VCD"},
        {"SVCD", "Button_SVCD"},
        {"DVD", "Button_DVD"},
        {"AVI", "Button_AVI"},
        {"放大", "Button_fangda"},
        {"缩小", "Button_suoxiao"},
        {"默认", "Button_moren"},
        {"全屏窗口", "Button_quanping_chuangkou"},
    };
    for (const auto& function : functions)
        functionButtons_ << addButton(QString::fromUtf8(function.caption), function.name);

    const struct {
        const char* caption;
        const char* name;
    } pages[] = {{"第一页", "Button_diyiye"},
                 {"上一页", "Button_shangyiye"},
                 {"下一页", "Button_xiayiye"},
                 {"末一页", "Button_moyiye"}};
    for (const auto& page : pages)
        pageButtons_ << addButton(QString::fromUtf8(page.caption), page.name);

    previousArrow_ = new QPushButton(QStringLiteral("←"), this);
    previousArrow_->setObjectName(QStringLiteral("Button_zuo_jiantou"));
    bindButton(previousArrow_, command(QStringLiteral("上一页")));
    nextArrow_ = new QPushButton(QStringLiteral("→"), this);
    nextArrow_->setObjectName(QStringLiteral("Button_you_jiantou"));
    bindButton(nextArrow_, command(QStringLiteral("下一页")));
    for (QAbstractButton* arrow : {previousArrow_, nextArrow_})
        arrow->setFocusPolicy(Qt::NoFocus);

    play_ = addButton(QStringLiteral(" 播放"), "Button_bofang");
    stop_ = addButton(QStringLiteral(" 停止"), "Button_tingzhi");

    elapsedClock_ = new QLabel(QStringLiteral("00:00:00"), this);
    elapsedClock_->setObjectName(QStringLiteral("Label_danqianshijian"));
    elapsedClock_->setToolTip(QStringLiteral("已播放时间"));
    totalClock_ = new QLabel(QStringLiteral("00:00:00"), this);
    totalClock_->setObjectName(QStringLiteral("Label_zongshijian"));
    totalClock_->setToolTip(QStringLiteral("相册总时间"));

    photoFilesButton_ = new QPushButton(QStringLiteral("⋯"), this);
    photoFilesButton_->setObjectName(QStringLiteral("SpeedButton_zhaopian_wenjian"));
    photoFilesButton_->setProperty("hint", QStringLiteral("照片在大窗口显示"));
    photoFilesButton_->setFocusPolicy(Qt::NoFocus);
    photoFilesButton_->setStyleSheet(QStringLiteral("padding: 0px; min-height: 0px;"));
    bindButton(photoFilesButton_, command(QStringLiteral("照片文件")));
}

QMenu* MainWindow::makeMenu(const QStringList& captions) {
    auto* menu = new QMenu(this);
    menu->setToolTipsVisible(true);
    for (const QString& caption : captions) {
        if (caption.isEmpty())
            menu->addSeparator();
        else
            menu->addAction(command(caption));
    }
    return menu;
}

QAction* MainWindow::command(const QString& caption) const {
    return commands_.value(caption, nullptr);
}

QWidget* MainWindow::mainView() const {
    return view_;
}

bool MainWindow::isLargeMode() const {
    return workspace_.session.state.windowMode != kModeDefault;
}

QRect MainWindow::photoListArea() const {
    const int top = kCellsTop - 2;
    return {12, top, qMax(0, width() - 20), qMax(0, height() - 24 - top)};
}

void MainWindow::applyWindowMode(const QString& mode) {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect whole = screen ? screen->geometry() : QRect(QPoint(0, 0), kDefaultSize);
    const QRect available = screen ? screen->availableGeometry() : whole;
    workspace_.session.state.windowMode = mode;
    QRect frame;
    if (mode == kModeFullScreen) {
        frame = whole;
    } else if (mode == kModeEnlarged) {
        frame = QRect(0, 0, whole.width() - whole.width() / 20, whole.height() - whole.height() / 10);
        frame.moveCenter(whole.center());
    } else {
        workspace_.session.state.windowMode = kModeDefault;
        frame = QRect(QPoint(0, 0), kDefaultSize);
        frame.moveCenter(available.center());
    }
    setGeometry(frame);
    layOut();
    // The tiles are made afresh on every entry into a large mode, as the files may have changed meanwhile.
    if (isLargeMode())
        photoList_->reload();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void MainWindow::layOut() {
    const int w = width();
    const int h = height();
    const int bar = Theme::kTitleBarHeight;
    titleLeft_->setGeometry(0, 0, Theme::kTitleLeftWidth, bar);
    titleRight_->setGeometry(w - Theme::kTitleRightWidth, 0, Theme::kTitleRightWidth, bar);
    titleMiddle_->setGeometry(Theme::kTitleLeftWidth, 0, qMax(0, titleRight_->x() - Theme::kTitleLeftWidth),
                              bar);
    close_->setGeometry(titleRight_->geometry());
    bottomEdge_->setGeometry(0, h - Theme::kBottomEdgeHeight, w, Theme::kBottomEdgeHeight);
    icon_->setGeometry(7, (bar - 26) / 2, 26, 26);
    functionMenuLabel_->setGeometry(titleRight_->x() - 70, 6, 62, bar - 12);
    windowMenuLabel_->setGeometry(functionMenuLabel_->x() - 66, 6, 62, bar - 12);
    const int versionWidth = version_->sizeHint().width();
    version_->setGeometry(windowMenuLabel_->x() - versionWidth - 16, 0, versionWidth, bar);
    title_->setGeometry(40, 0, qMax(0, version_->x() - 48), bar);
    updateTitle();

    const bool large = isLargeMode();
    // Left: the side lists; right: the function buttons; between them the play background with the view.
    int top = kContentTop;
    const int listHeights[] = {150, 118, 118};
    for (int i = 0; i < sideLists_.size(); ++i) {
        sideCaptions_[i]->setGeometry(kSideLeft, top, kSideWidth, 18);
        sideLists_[i]->setGeometry(kSideLeft, top + 18, kSideWidth, listHeights[i]);
        top += 18 + listHeights[i] + 4;
    }
    const int functionLeft = w - kFunctionColumnWidth - 8;
    for (int i = 0; i < functionButtons_.size(); ++i)
        functionButtons_[i]->setGeometry(functionLeft + (i % 2) * (kFunctionButton.width() + 6),
                                         kContentTop + (i / 2) * (kFunctionButton.height() + 6),
                                         kFunctionButton.width(), kFunctionButton.height());

    const int backgroundLeft = large ? (w - 808) / 2 : 182;
    playBackground_ = QRect(backgroundLeft, kContentTop, 808, 462);
    view_->setGeometry(backgroundLeft + 4, kContentTop + 4, kViewSize.width(), kViewSize.height());

    play_->setGeometry(backgroundLeft + 1, kPlayRowTop, 75, 22);
    stop_->setGeometry(backgroundLeft + 79, kPlayRowTop, 75, 22);
    elapsedClock_->setGeometry(backgroundLeft + 166, kPlayRowTop, 70, 22);
    totalClock_->setGeometry(backgroundLeft + 240, kPlayRowTop, 70, 22);
    for (int i = 0; i < pageButtons_.size(); ++i) {
        pageButtons_[i]->setGeometry(backgroundLeft + 808 - 4 * 70 + i * 70, kPlayRowTop, 66, 22);
        pageButtons_[i]->setVisible(!large);
    }
    previousArrow_->setGeometry(kSideLeft + 60, kPlayRowTop, 36, 22);
    nextArrow_->setGeometry(kSideLeft + 100, kPlayRowTop, 36, 22);
    previousArrow_->setVisible(!large);
    nextArrow_->setVisible(!large);
    photoFilesButton_->setGeometry(w - 25 - 10, 538, 25, 15);

    for (int k = 0; k < cells_.size(); ++k) {
        cells_[k]->move(kCellsLeft + k * kCellStep, kCellsTop);
        cells_[k]->setVisible(!large);
    }
    if (photoList_) {
        photoList_->setGeometry(photoListArea());
        photoList_->setVisible(large);
    }
    close_->raise();
    update();
}

void MainWindow::updateTitle() {
    const AlbumDocument& document = workspace_.document;
    QString text = QStringLiteral("Lumiset - %1").arg(document.displayName());
    if (document.isModified())
        text += QStringLiteral(" *");
    setWindowTitle(text);
    title_->setText(title_->fontMetrics().elidedText(text, Qt::ElideRight, title_->width()));
    title_->setToolTip(title_->text() == text ? QString() : text);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colours::kWindow);
    painter.fillRect(playBackground_, colours::kNavyDark);
    painter.setPen(colours::kNavy);
    const int top = Theme::kTitleBarHeight;
    const int bottom = height() - Theme::kBottomEdgeHeight - 1;
    painter.drawLine(0, top, 0, bottom);
    painter.drawLine(width() - 1, top, width() - 1, bottom);
}

void MainWindow::popUpBelow(QMenu* menu, QWidget* label) {
    menu->popup(label->mapToGlobal(QPoint(0, label->height())));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == close_)
        return closeButton_.handle(event, close_, titleRight_, [this] { requestQuit(); });
    if (watched == titleLeft_ || watched == titleMiddle_ || watched == icon_)
        return titleBarEvent(watched, event);
    if (watched == windowMenuLabel_ || watched == functionMenuLabel_) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            popUpBelow(watched == windowMenuLabel_ ? windowMenu_ : functionMenu_,
                       static_cast<QWidget*>(watched));
            return true;
        }
        return false;
    }
    if (watched == viewPicture_)
        return viewPictureEvent(event);
    const int cell = cellPictures_.indexOf(static_cast<QLabel*>(watched));
    if (cell >= 0)
        return cellEvent(cell, event);
    return QWidget::eventFilter(watched, event);
}

// A double click switches between the default window and full screen; a press drags the window.
bool MainWindow::titleBarEvent(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        applyWindowMode(isLargeMode() ? kModeDefault : kModeFullScreen);
        return true;
    }
    return drag_.handle(this, event);
}

} // namespace lumiset::ui
