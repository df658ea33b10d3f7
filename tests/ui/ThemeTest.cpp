#include "ui/Theme.h"
#include "ui/WrappingLabel.h"
#include "ui/dialogs/MessageBox.h"

#include "core/Fonts.h"
#include "tests/ui/ModalDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <string>

using namespace lumiset;
using namespace lumiset::ui;

TEST(Theme, ChineseTextIsInTheChineseFontEverywhere) {
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), kChineseFontFamily);
    MessageBox box;
    for (const char* name : {"Label_xianshi_xiaoxi", "Label_xianshi_chuangkou_biaoti", "Button2"}) {
        auto* widget = box.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(widget, nullptr) << name;
        widget->ensurePolished();
        EXPECT_EQ(QFontInfo(widget->font()).family(), kChineseFontFamily) << name;
    }
    // Albums name "黑体", which Linux does not have.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("黑体"))).family(), kChineseFontFamily);
}

// Qt drops a whole style sheet it cannot parse, with only a warning: every styled widget must polish
// without one, and every colour name must be known.
TEST(Theme, StyleSheetIsWholeAndParses) {
    EXPECT_FALSE(Theme::styleSheet().contains(u'@'));

    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            if (m.contains(QLatin1String("stylesheet"), Qt::CaseInsensitive))
                warnings.append(m);
        });
    qApp->setStyleSheet(Theme::styleSheet());
    QWidget window;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             new QPushButton(&window), new QProgressBar(&window), new QSlider(Qt::Horizontal, &window),
             new QSlider(Qt::Vertical, &window), new QTreeView(&window), new QTableView(&window),
             new QLineEdit(&window), new QComboBox(&window), new QMenu(&window)})
        widget->ensurePolished();
    window.show();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
}

TEST(Theme, ToolTipsAreBlackOnYellow) {
    QPushButton anchor(QStringLiteral("确定"));
    anchor.show();
    QToolTip::showText(anchor.mapToGlobal(QPoint(5, 5)), QStringLiteral("鼠标双击预览模板效果。"), &anchor);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
            tip = w;
    ASSERT_NE(tip, nullptr);
    const QImage picture = tip->grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(3, 3)), colours::kToolTip);
    EXPECT_EQ(tip->palette().color(tip->foregroundRole()), QColor(Qt::black));
    QToolTip::hideText();
}

TEST(Theme, TitleBarPiecesMatchAndTheCloseStatesDiffer) {
    const QPixmap left = Theme::picture(ThemePicture::TitleLeft);
    const QPixmap middle = Theme::picture(ThemePicture::TitleMiddle);
    const QPixmap right = Theme::picture(ThemePicture::TitleRight);
    for (const QPixmap& piece : {left, middle, right})
        EXPECT_EQ(piece.deviceIndependentSize().height(), Theme::kTitleBarHeight);
    EXPECT_EQ(Theme::picture(ThemePicture::BottomEdge).deviceIndependentSize().height(),
              Theme::kBottomEdgeHeight);
    // The middle stretches between the ends: its edge columns must match theirs, or seams show.
    const QImage l = left.toImage(), m = middle.toImage(), r = right.toImage();
    for (int y = 0; y < m.height(); ++y) {
        EXPECT_EQ(l.pixel(l.width() - 1, y), m.pixel(0, y)) << y;
        EXPECT_EQ(r.pixel(0, y), m.pixel(m.width() - 1, y)) << y;
    }
    const QImage hovered = Theme::picture(ThemePicture::TitleRightHovered).toImage();
    const QImage pressed = Theme::picture(ThemePicture::TitleRightPressed).toImage();
    EXPECT_NE(r, hovered);
    EXPECT_NE(r, pressed);
    EXPECT_NE(hovered, pressed);
}

// --- the wrapping label never cuts text at its side

struct WrapCase {
    const char* name;
    QString text;
};

class Wrapping : public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrapping, EveryCharacterIsPaintedInsideTheLabel) {
    WrappingLabel label;
    QFont font = label.font();
    font.setPixelSize(14);
    label.setFont(font);
    label.setText(GetParam().text);
    const int width = 160;
    label.resize(width, label.heightForWidth(width));

    // Painted at its width and again much wider: the wide one's ink must all appear in the narrow one,
    // however it is wrapped; a cut line loses ink.
    auto ink = [](const QImage& image) {
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qGray(image.pixel(x, y));
        return sum;
    };
    auto paint = [&](int w) {
        label.resize(w, label.heightForWidth(w));
        QImage image(label.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren); // the text alone
        return image;
    };
    const qint64 narrow = ink(paint(width));
    const qint64 wide = ink(paint(4000));
    EXPECT_GT(wide, 0);
    EXPECT_NEAR(double(narrow), double(wide), double(wide) * 0.05);
    EXPECT_GT(label.heightForWidth(width), label.fontMetrics().height());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Wrapping,
    ::testing::Values(
        WrapCase{"Chinese", QStringLiteral("请检查文件所在的文件夹是否可以读取, 然后再打开相册文件。")},
        WrapCase{"OneLongWord", QStringLiteral("averyveryverylongfilenamewithoutanyspaces.rar")},
        WrapCase{"Path", QStringLiteral("/home/user/.cache/lumiset/korvel/wj_0_or_2/wjj_00_j_y")},
        WrapCase{"Lines", QStringLiteral("第一行\n第二行是一行比较长的文字\n第三行")}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A list filled and given a current row before its window shows still gets the theme's row height.
TEST(Theme, ListsFilledBeforeShowingGetTheThemesRows) {
    QStandardItemModel model(0, 2);
    for (const char* name : {"甜蜜蜜", "小城故事"})
        model.appendRow(
            {new QStandardItem(QString::fromUtf8(name)), new QStandardItem(QStringLiteral("03:32"))});
    QWidget window;
    auto* list = new QTreeView;
    list->setModel(&model);
    (new QVBoxLayout(&window))->addWidget(list);
    list->setCurrentIndex(model.index(1, 0));
    window.show();
    ASSERT_TRUE(lumiset::test::WaitFor([&] { return list->visualRect(model.index(1, 0)).isValid(); }));
    QApplication::processEvents();

    const int themed = list->sizeHintForRow(0);
    EXPECT_GT(themed, list->fontMetrics().height() + 4); // the padding of the style sheet
    EXPECT_EQ(list->visualRect(model.index(1, 0)).height(), themed);
}
