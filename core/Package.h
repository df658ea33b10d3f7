// Packages: one payload file wrapped in N nested zlib layers. A layer is a signed 32-bit
// little-endian size of its decoded content followed by one zlib stream. Packages carry no layer
// count; the reader knows N per kind of package (see PackageLayers).
//
// Decoding happens in memory; no intermediate file is written. Every malformed layer is rejected with
// an Error naming the file, and no declared size makes us allocate more than the stream could hold.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumiset {

namespace PackageLayers {
constexpr int Startup = 13;
constexpr int TemplateParameters = 20;
constexpr int TemplateAnimation = 20;
constexpr int Ending = 16;
constexpr int BackgroundPreview = 6;
constexpr int DefaultBackground = 3;
constexpr int Combination = 3;
} // namespace PackageLayers

// Largest decoded layer accepted (a template movie or a background picture is far smaller).
constexpr qint64 kMaxLayerSize = 256 * 1024 * 1024;

// Replaces `stream` (one layer) by its decoded content. An empty stream stays empty.
// `sourceName` names the package in error messages.
void DecodeLayer(QByteArray& stream, const QString& sourceName);

// Decodes the `layers` layers of the package file `source` and returns the payload.
QByteArray DecodePackageToMemory(const QString& source, int layers);

// Decodes the package file `source` and writes its payload to `payloadPath` (atomically; folders are
// created). Throws Error on any failure, leaving no partial payload behind.
void DecodePackage(const QString& source, int layers, const QString& payloadPath);

// The exact inverse of decoding: wraps `payload` in `layers` layers.
QByteArray EncodePackage(const QByteArray& payload, int layers);

// Reads a whole file (bounded by kMaxLayerSize); throws Error naming the file.
QByteArray ReadWholeFile(const QString& path);
// Writes a whole file atomically, creating its folder; throws Error naming the file.
void WriteWholeFile(const QString& path, const QByteArray& content);

} // namespace lumiset
