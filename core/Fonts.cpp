#include "core/Fonts.h"

#include <QFont>

namespace lumiset {

void RegisterFontSubstitutes() {
    static const bool registered = [] {
        QFont::insertSubstitution(QStringLiteral("黑体"), kChineseFontFamily);
        QFont::insertSubstitution(QStringLiteral("SimHei"), kChineseFontFamily);
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace lumiset
