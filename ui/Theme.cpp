#include "ui/Theme.h"

#include "core/Fonts.h"
#include "ui/ThemePictures.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPalette>
#include <QPointer>
#include <QStyleFactory>

namespace lumiset::ui {

namespace {

// The painted pictures live as long as the application (a child of it), so none outlives the
// QApplication.
class PictureCache : public QObject {
public:
    using QObject::QObject;
    QHash<int, QPixmap> pictures;
};

PictureCache& pictureCache() {
    static QPointer<PictureCache> cache;
    if (!cache)
        cache = new PictureCache(QCoreApplication::instance());
    return *cache;
}

// The style sheet sets the height of list rows, but only once a view is polished (when its window first
// shows); a view filled and given a current row before that keeps the rows it measured without the
// theme. Every item view therefore lays its rows out again when it is polished.
class RelayoutItemViewsOnPolish : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The filter sees the event before the view takes the style in: lay out once that is done.
        if (event->type() == QEvent::Polish)
            if (auto* view = qobject_cast<QAbstractItemView*>(watched))
                QMetaObject::invokeMethod(
                    view, [view] { view->doItemsLayout(); }, Qt::QueuedConnection);
        return false;
    }
};

QPalette themePalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, colours::kWindow);
    palette.setColor(QPalette::WindowText, colours::kText);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, colours::kWindow);
    palette.setColor(QPalette::Text, colours::kText);
    palette.setColor(QPalette::Button, colours::kWindow);
    palette.setColor(QPalette::ButtonText, colours::kNavy);
    palette.setColor(QPalette::Highlight, colours::kRose);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, colours::kToolTip);
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, colours::kRoseDark);
    palette.setColor(QPalette::PlaceholderText, colours::kMuted);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, colours::kMuted);
    return palette;
}

} // namespace

void Theme::apply(QApplication& app) {
    RegisterFontSubstitutes();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(themePalette());
    QFont font(kChineseFontFamily);
    font.setPixelSize(kFontPixelSize);
    QApplication::setFont(font);
    app.setStyleSheet(styleSheet());
    static QPointer<QObject> relayout;
    if (!relayout) {
        relayout = new RelayoutItemViewsOnPolish(&app);
        app.installEventFilter(relayout);
    }
    for (const auto which :
         {ThemePicture::TitleLeft, ThemePicture::TitleMiddle, ThemePicture::TitleRight,
          ThemePicture::TitleRightHovered, ThemePicture::TitleRightPressed, ThemePicture::BottomEdge})
        picture(which);
}

QPixmap Theme::picture(ThemePicture which) {
    QHash<int, QPixmap>& pictures = pictureCache().pictures;
    const int key = static_cast<int>(which);
    auto found = pictures.find(key);
    if (found == pictures.end())
        found = pictures.insert(key, PaintThemePicture(which, qApp->devicePixelRatio()));
    return *found;
}

} // namespace lumiset::ui
