#include "tools/samples/SamplePhotos.h"

#include "core/Error.h"
#include "tools/samples/JpegOutput.h"
#include "tools/samples/Scenes.h"

#include <QTransform>

namespace lumiset::tools {
namespace {

const QSize kLandscape(2400, 1600);
const QSize kPortrait(1600, 2400);

// The pixels a camera stores for an upright picture when it records `orientation` (turns only).
QImage storedPixels(const QImage& upright, int orientation) {
    switch (orientation) {
    case 1:
        return upright;
    case 3:
        return upright.transformed(QTransform().rotate(180));
    case 6: // shown turned a quarter clockwise, so stored a quarter counter-clockwise
        return upright.transformed(QTransform().rotate(-90));
    case 8:
        return upright.transformed(QTransform().rotate(90));
    default:
        throw Error(QStringLiteral("不支持的照片方向 %1").arg(orientation));
    }
}

} // namespace

const std::vector<SamplePhoto>& SamplePhotos() {
    static const std::vector<SamplePhoto> photos = {
        {QStringLiteral("01_sunset"), kLandscape, 1, PaintSunsetSea},
        {QStringLiteral("02_mountain_lake"), kLandscape, 1, PaintMountainLake},
        {QStringLiteral("03_waterfall"), kPortrait, 1, PaintWaterfall},
        {QStringLiteral("04_flower_field"), kLandscape, 1, PaintFlowerField},
        {QStringLiteral("05_city_dusk"), kLandscape, 1, PaintCityDusk},
        {QStringLiteral("06_lighthouse"), kPortrait, 6, PaintLighthouse},
        {QStringLiteral("07_forest_path"), kLandscape, 1, PaintForestPath},
        {QStringLiteral("08_beach"), kLandscape, 1, PaintBeach},
        {QStringLiteral("09_bamboo_grove"), kPortrait, 1, PaintBambooGrove},
        {QStringLiteral("10_snowy_peak"), kLandscape, 1, PaintSnowyPeak},
        {QStringLiteral("11_dunes"), kLandscape, 1, PaintDunes},
        {QStringLiteral("12_pagoda"), kPortrait, 1, PaintPagoda},
    };
    return photos;
}

QByteArray EncodeSamplePhoto(const SamplePhoto& photo, std::uint32_t seed) {
    Finish finish;
    finish.seed = seed;
    const QImage upright = photo.paint(photo.size).toImage(finish);
    const QByteArray jpeg = EncodeBaselineJpeg(storedPixels(upright, photo.orientation), kSampleQuality);
    if (photo.orientation == 1)
        return jpeg;
    return InsertAfterJfifHeader(jpeg, ExifOrientationSegment(photo.orientation));
}

} // namespace lumiset::tools
