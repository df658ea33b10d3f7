// The program's Chinese font. Linux has no "黑体" (SimHei), the default font of the albums and of the
// windows the program comes from, and fontconfig no alias for it; it is mapped to WenQuanYi Micro Hei
// (fonts-wqy-microhei: small, clear, and the font the shipped templates were drawn with).
#pragma once

#include <QString>

namespace lumiset {

inline const QString kChineseFontFamily = QStringLiteral("WenQuanYi Micro Hei");

// Maps "黑体" and "SimHei" to kChineseFontFamily for every QFont made afterwards. Thread-safe; the
// registration happens once however often it is called.
void RegisterFontSubstitutes();

} // namespace lumiset
