// Packages: one payload file wrapped in N nested zlib layers. A layer is a signed 32-bit
// little-endian size of its decoded content followed by one zlib stream. Packages carry no layer
// count; the reader knows N per kind of package (see PackageLayers).
//
// Decoding happens in memory; no intermediate file is written. Every malformed layer is rejected with
// an Error naming the file, and no declared size makes us allocate more than the stream could hold.
// Each kind of package has a bound on its payload far above any real one: a small package that would
// inflate to gigabytes (a "zip bomb") is refused before its content is inflated.
#pragma once

#include "core/Error.h"
#include "core/FileAccess.h"

#include <QByteArray>
#include <QString>

namespace lumiset {

// Largest decoded layer accepted when the kind of package is not known.
constexpr qint64 kMaxLayerSize = 256 * 1024 * 1024;
// Largest payload of a parameter or combination file (real ones are a few kilobytes).
constexpr qint64 kMaxParameterPayload = 1024 * 1024;
// Largest payload of a movie or a background picture (real ones stay below a few megabytes).
constexpr qint64 kMaxMoviePayload = 32 * 1024 * 1024;

// How a kind of package is wrapped: its layer count and the largest payload accepted.
struct PackageFormat {
    int layers;
    qint64 maxPayload;
};

namespace PackageLayers {
constexpr PackageFormat Startup{13, kMaxMoviePayload};
constexpr PackageFormat TemplateParameters{20, kMaxParameterPayload};
constexpr PackageFormat TemplateAnimation{20, kMaxMoviePayload};
constexpr PackageFormat Ending{16, kMaxMoviePayload};
constexpr PackageFormat BackgroundPreview{6, kMaxMoviePayload};
constexpr PackageFormat DefaultBackground{3, kMaxMoviePayload};
constexpr PackageFormat Combination{3, kMaxParameterPayload};
} // namespace PackageLayers

// Replaces `stream` (one layer) by its decoded content. An empty stream stays empty. A layer declaring
// more than `maxSize` bytes is refused before anything is inflated, and inflating stops one byte after
// the declared size. `sourceName` names the package in error messages.
void DecodeLayer(QByteArray& stream, const QString& sourceName, qint64 maxSize = kMaxLayerSize);

// Decodes the package file `source` and returns the payload.
QByteArray DecodePackageToMemory(const QString& source, PackageFormat format);
// The same for a package of `layers` layers of any kind (bounded by kMaxLayerSize).
QByteArray DecodePackageToMemory(const QString& source, int layers);

// Decodes the package file `source` and writes its payload to `payloadPath` (atomically; folders are
// created). Throws Error on any failure, leaving no partial payload behind.
void DecodePackage(const QString& source, PackageFormat format, const QString& payloadPath);
void DecodePackage(const QString& source, int layers, const QString& payloadPath);

// The exact inverse of decoding: wraps `payload` in `layers` layers.
QByteArray EncodePackage(const QByteArray& payload, int layers);
QByteArray EncodePackage(const QByteArray& payload, PackageFormat format);

} // namespace lumiset
