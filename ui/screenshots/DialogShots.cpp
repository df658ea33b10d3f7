// The dialogs and the theme's controls side by side.
#include "ui/Theme.h"
#include "ui/dialogs/ConfirmBox.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/ProgressConfirmBox.h"
#include "ui/screenshots/Shots.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTextStream>
#include <QThread>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>
#include <atomic>
#include <functional>

using namespace lumiset::ui;
using namespace lumiset::shots;

namespace {

void messages() {
    MessageBox box;
    box.setMessage(QStringLiteral("没有找到背景图片文件！"));
    save(&box, QStringLiteral("message.png"));
    box.hide();

    MessageBox long_;
    long_.setWindowTitle(QStringLiteral("相册文件"));
    long_.setMessage(
        QStringLiteral("无法打开相册文件 /home/li/文档/相册/2024年春节全家福旅行纪念相册_最终版本_"
                       "第三次修改.lumiset: 没有权限。\n请检查文件所在的文件夹是否可以读取, "
                       "或者把相册文件复制到自己的文件夹后再打开。"));
    save(&long_, QStringLiteral("message-long.png"));
}

void confirmation() {
    ConfirmBox box;
    box.setWindowTitle(QStringLiteral("删除照片"));
    box.setMessage(QStringLiteral("是否删除当前选中的照片?"));
    hoverCloseButton(&box);
    save(&box, QStringLiteral("confirm.png"));
}

void progressConfirmation() {
    std::atomic<bool> release{false};
    ProgressConfirmBox box(nullptr, [&](const lumiset::Job& control) {
        control.report(0, 10);
        control.report(6, 10);
        while (!release.load())
            QThread::msleep(5);
        control.report(10, 10);
    });
    box.setWindowTitle(QStringLiteral("退出软件"));
    box.setMessage(QStringLiteral("是否退出软件?"));
    save(&box, QStringLiteral("progress-confirm.png"));

    auto* bar = box.findChild<QProgressBar*>(QStringLiteral("ProgressBar_linshiwenjian_01"));
    box.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    settle([&] { return bar->value() == 6; }, 3000);
    save(&box, QStringLiteral("progress-confirm-working.png"));
    release = true;
    settle([&] { return !box.isWorking() && !box.isVisible(); }, 3000);
}

// The controls of the theme side by side: buttons in their states, a bar, a slider, a list with its
// header, and a tool tip.
void themeSampler() {
    FramedWindow window;
    window.setWindowTitle(QStringLiteral("界面样式"));
    window.resize(520, FramedWindow::heightForBody(330));
    auto* layout = new QVBoxLayout(window.body());
    layout->setContentsMargins(18, 14, 18, 16);
    layout->setSpacing(12);

    auto* buttons = new QHBoxLayout;
    auto* primary = new QPushButton(QStringLiteral("确定"));
    primary->setDefault(true);
    auto* disabled = new QPushButton(QStringLiteral("停止"));
    disabled->setEnabled(false);
    for (QPushButton* b : {primary, new QPushButton(QStringLiteral("取消")), disabled})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* bar = new QProgressBar;
    bar->setTextVisible(false);
    bar->setValue(62);
    layout->addWidget(bar);
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setValue(35);
    layout->addWidget(slider);

    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral("序号"), QStringLiteral("歌曲名称"), QStringLiteral("时间")});
    const char* songs[][2] = {
        {"甜蜜蜜", "03:32"}, {"月亮代表我的心", "03:28"}, {"小城故事", "02:51"}, {"但愿人长久", "04:05"}};
    int number = 1;
    for (const auto& song : songs)
        model.appendRow({new QStandardItem(QString::number(number++)),
                         new QStandardItem(QString::fromUtf8(song[0])),
                         new QStandardItem(QString::fromUtf8(song[1]))});
    auto* list = new QTreeView;
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setModel(&model);
    list->setColumnWidth(0, 60);
    list->setColumnWidth(1, 260);
    layout->addWidget(list, 1);
    list->setCurrentIndex(model.index(1, 1));
    list->selectionModel()->select(model.index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    save(&window, QStringLiteral("theme.png"));

    QToolTip::showText(primary->mapToGlobal(QPoint(10, 10)), QStringLiteral("鼠标双击预览模板效果。"),
                       primary);
    settle();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
            w->grab().save(outDir + QStringLiteral("/tooltip.png"));
}

} // namespace

namespace lumiset::shots {

void dialogShots() {
    messages();
    confirmation();
    progressConfirmation();
    themeSampler();
}

} // namespace lumiset::shots
