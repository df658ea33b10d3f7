// What every fuzz target shares: a quiet Qt application and the input as Qt bytes.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace lumiset::fuzz {

// Starts a Qt GUI application on the offscreen platform (fonts and painting need one) and silences
// Qt's messages: the readers report bad input by throwing, and warnings per input would only slow the
// run and bury the sanitizer's report.
void StartQt();

// The fuzzer's input without a copy; valid for the current call only.
inline QByteArray InputBytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace lumiset::fuzz
