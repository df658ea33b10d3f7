// The main window in its three modes with the sample photos, and its two title-bar menus open.
#include "ui/PhotoTileList.h"
#include "ui/main_window/MainWindow.h"
#include "ui/screenshots/Shots.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTextStream>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::shots;

namespace {

bool pageShown(const MainWindow& window) {
    return !window.isDrawingPage();
}

// The window with `menu` open under its label, as one picture.
void saveWithMenu(MainWindow& window, const char* label, const char* menu, const QString& name) {
    auto* opener = window.findChild<QWidget*>(QLatin1String(label));
    auto* popup = window.findChild<QMenu*>(QLatin1String(menu));
    if (!opener || !popup) {
        QTextStream(stderr) << "no " << label << " or " << menu << Qt::endl;
        ++failures;
        return;
    }
    popup->popup(opener->mapToGlobal(QPoint(0, opener->height())));
    settle([&] { return popup->isVisible(); }, 500);
    settle();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(popup->geometry().topLeft() - window.geometry().topLeft(), popup->grab());
    painter.end();
    popup->hide();
    const QString path = outDir + u'/' + name;
    if (!picture.save(path)) {
        QTextStream(stderr) << "cannot write " << path << Qt::endl;
        ++failures;
    }
}

bool tilesShown(const MainWindow& window) {
    auto* list = window.findChild<PhotoTileList*>(QStringLiteral("ListView1"));
    return list && list->pendingTiles() == 0;
}

} // namespace

namespace lumiset::shots {

void mainWindowShots() {
    std::unique_ptr<Workspace> workspace = makeWorkspace(true);
    MainWindow window(*workspace);
    window.show();
    settle([&] { return pageShown(window); }, 3000);
    saveWithMenu(window, "Label_chuangkou_suofang", "PopupMenu_chuangkou",
                 QStringLiteral("main-window-menu.png"));
    saveWithMenu(window, "Label_gongneng_caidan", "PopupMenu_gongneng",
                 QStringLiteral("main-function-menu.png"));

    workspace->session.selectPhotoRow(2);
    auto* picture = window.findChild<QLabel*>(QStringLiteral("Image_zhujiemian"));
    settle([&] { return picture && picture->width() != 800; }, 3000);
    save(&window, QStringLiteral("main-default.png"));

    window.applyWindowMode(QStringLiteral("fangda_chuangkou"));
    settle([&] { return tilesShown(window); }, 3000);
    save(&window, QStringLiteral("main-enlarged.png"));
    window.applyWindowMode(QStringLiteral("quanping_chuangkou"));
    settle([&] { return tilesShown(window); }, 3000);
    save(&window, QStringLiteral("main-full-screen.png"));
    window.applyWindowMode(QStringLiteral("moren_chuangkou"));
    window.hide();
}

} // namespace lumiset::shots
