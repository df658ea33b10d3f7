// The style sheet of the whole program, built from the theme's colours.
#include "ui/Theme.h"

#include <QMap>
#include <QRegularExpression>

namespace lumiset::ui {

namespace {

// Buttons: light with a dark-blue label; the default button of a window (its "确定") rose. Bars and
// sliders are thin; list headers dark blue like the title bars; tool tips yellow with black text.
const char* const kStyleSheet = R"(
QPushButton {
    color: @navy; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #efe7eb);
    border: 1px solid @border; border-radius: 4px; padding: 5px 18px; min-width: 56px;
}
QPushButton:hover { border-color: @rose; background: #ffffff; }
QPushButton:pressed { background: @rosePale; border-color: @roseDark; padding: 6px 18px 4px 18px; }
QPushButton:focus { border-color: @rose; }
QPushButton:disabled { color: @muted; background: #ece6e9; border-color: #ddd4d9; }
QPushButton:default {
    color: #ffffff; border-color: @roseDark;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @roseLight, stop:1 @rose);
}
QPushButton:default:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ef98ad, stop:1 @roseLight);
}
QPushButton:default:pressed { background: @roseDark; }
QPushButton:default:disabled { color: #f4eef1; background: #d9bfc7; border-color: #cdb3bb; }

QProgressBar {
    background: #e6dce1; border: none; border-radius: 3px; max-height: 6px; min-height: 6px;
    color: transparent; text-align: center;
}
QProgressBar::chunk {
    border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 @roseLight, stop:1 @rose);
}

QSlider::groove:horizontal { height: 4px; background: #ddd2d7; border-radius: 2px; }
QSlider::sub-page:horizontal { background: @rose; border-radius: 2px; }
QSlider::handle:horizontal {
    width: 14px; height: 14px; margin: -6px 0; border-radius: 8px;
    background: #ffffff; border: 2px solid @rose;
}
QSlider::groove:vertical { width: 4px; background: #ddd2d7; border-radius: 2px; }
QSlider::add-page:vertical { background: @rose; border-radius: 2px; }
QSlider::handle:vertical {
    width: 14px; height: 14px; margin: 0 -6px; border-radius: 8px;
    background: #ffffff; border: 2px solid @rose;
}
QSlider::handle:hover { background: @rosePale; }
QSlider::handle:disabled { border-color: @muted; }
QSlider::sub-page:horizontal:disabled, QSlider::add-page:vertical:disabled { background: @muted; }

QListView, QTreeView, QTableView, QListWidget, QTreeWidget, QTableWidget {
    background: #ffffff; alternate-background-color: #faf5f7; border: 1px solid @border;
    selection-background-color: @rosePale; selection-color: @text; outline: none;
}
QTreeView::item, QTableView::item { padding: 3px 2px; }
QHeaderView::section {
    color: @titleText; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @navyLight, stop:1 @navy);
    border: none; border-right: 1px solid @navyDark; padding: 4px 8px;
}
QHeaderView::section:hover { background: @navyLight; }
QTableCornerButton::section { background: @navy; border: none; }

QLineEdit, QSpinBox, QComboBox, QPlainTextEdit, QTextEdit {
    background: #ffffff; border: 1px solid @border; border-radius: 3px; padding: 3px 5px;
    selection-background-color: @rose; selection-color: #ffffff;
}
QLineEdit:focus, QSpinBox:focus, QComboBox:focus, QPlainTextEdit:focus, QTextEdit:focus { border-color: @rose; }
QLineEdit:disabled, QSpinBox:disabled, QComboBox:disabled { color: @muted; background: #f1ecee; }
QLineEdit:read-only { background: #f9f6f7; }
QComboBox QAbstractItemView { border: 1px solid @border; selection-background-color: @rosePale; }

QScrollBar:vertical { width: 10px; background: transparent; margin: 0; }
QScrollBar:horizontal { height: 10px; background: transparent; margin: 0; }
QScrollBar::handle { background: #cbbfc5; border-radius: 4px; margin: 1px; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::handle:hover { background: @roseLight; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }

QMenu { background: #ffffff; border: 1px solid @navy; padding: 3px 0; }
QMenu::item { padding: 5px 24px 5px 20px; color: @text; }
QMenu::item:selected { background: @rosePale; }
QMenu::item:disabled { color: @muted; }
QMenu::separator { height: 1px; background: @border; margin: 3px 8px; }

QGroupBox { border: 1px solid @border; border-radius: 4px; margin-top: 10px; padding-top: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: @navy; }

QToolTip { color: #000000; background-color: @toolTip; border: 1px solid #8f8a5c; padding: 3px 5px; }
)";

} // namespace

QString Theme::styleSheet() {
    const QMap<QString, QColor> names{
        {"navyDark", colours::kNavyDark}, {"navyLight", colours::kNavyLight},
        {"navy", colours::kNavy},         {"roseLight", colours::kRoseLight},
        {"roseDark", colours::kRoseDark}, {"rosePale", colours::kRosePale},
        {"rose", colours::kRose},         {"border", colours::kBorder},
        {"text", colours::kText},         {"titleText", colours::kTitleText},
        {"muted", colours::kMuted},       {"toolTip", colours::kToolTip},
    };
    QString sheet = QString::fromUtf8(kStyleSheet);
    static const QRegularExpression variable(QStringLiteral("@([A-Za-z]+)"));
    QString out;
    qsizetype last = 0;
    for (auto it = variable.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(sheet).mid(last, m.capturedStart() - last);
        // An unknown name stays as it is, so the sheet's test finds it.
        const auto colour = names.find(m.captured(1));
        out += colour == names.end() ? m.captured(0) : colour->name();
        last = m.capturedEnd();
    }
    out += QStringView(sheet).mid(last);
    return out;
}

} // namespace lumiset::ui
