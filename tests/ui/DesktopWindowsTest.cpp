#include "ui/DesktopWindows.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "tests/ui/ModalDriver.h"
#include "ui/Workspace.h"
#include "ui/main_window/MainWindow.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

TEST(DesktopWindows, TheBuiltWindowsOpenFromTheMainWindowAndTheOthersWait) {
    TempTree tree;
    Workspace workspace(DataPaths(tree.file("program"), tree.file("work")), TemplateCatalogue());
    const QString path = tree.write(QStringLiteral("a.jpg"), EncodeJpeg(QuadrantScene({40, 30})));
    workspace.document.modify(QStringLiteral("照片"), [&](Album& album) {
        album.photos.appendRow({"1", "a", ".jpg", "40", "30", path, {}});
    });
    std::unique_ptr<QWidget> window(MakeDesktopWindows(workspace));
    auto* main = qobject_cast<MainWindow*>(window.get());
    ASSERT_NE(main, nullptr);
    for (const char* caption : {"添加照片", "系统设置", "照片文件"})
        EXPECT_TRUE(main->command(QString::fromUtf8(caption))->isEnabled()) << caption;
    EXPECT_FALSE(main->command(QStringLiteral("画面特效"))->isEnabled());

    // Each opens its own window; "返回" / "返  回" closes it again.
    const struct {
        const char* caption;
        const char* form;
        const char* back;
    } windows[] = {{"照片文件", "TForm42", "Button4"}, {"系统设置", "TForm18", "Button3"}};
    for (const auto& expected : windows) {
        QString opened;
        ModalDriver driver([&](QWidget* modal) {
            opened = modal->objectName();
            modal->findChild<QPushButton*>(QLatin1String(expected.back))->click();
        });
        main->command(QString::fromUtf8(expected.caption))->trigger();
        EXPECT_EQ(opened, QLatin1String(expected.form)) << expected.caption;
    }
}
