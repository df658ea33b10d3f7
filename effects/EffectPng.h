// The effect frames' own kinds of PNG — 8-bit palette or 8-bit RGBA, not interlaced, cropped with an oFFs
// offset — read straight into a premultiplied picture. Production draws several of these full-frame pictures
// into every frame, so their reading is on the hot path: libdeflate inflates several times faster than zlib,
// and each pixel is made premultiplied once (a palette lookup), with no format conversion after.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <optional>

namespace lumiset {

// The picture of `file` (Format_ARGB32_Premultiplied, offset() from its oFFs chunk in pixels), or nullopt
// when the file is a PNG of another kind or no PNG at all (read those another way). Throws Error naming
// `path` when the file is such a PNG but damaged.
std::optional<QImage> DecodeEffectPng(QByteArrayView file, const QString& path);

} // namespace lumiset
