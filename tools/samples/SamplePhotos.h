// The sample photos shipped with the program: twelve pictures of our own, painted by code so that the
// sample album needs no photographer's files. Landscape and portrait pictures alternate the way an
// album mixes them, and one portrait picture is stored sideways with an EXIF orientation, as phones
// store photos taken upright.
#pragma once

#include "tools/samples/Canvas.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <vector>

namespace lumiset::tools {

// JPEG quality: high enough that grain and fine detail survive, low enough that the set stays a small
// download.
constexpr int kSampleQuality = 88;

struct SamplePhoto {
    QString name;           // the file name without ".jpg"
    QSize size;             // upright
    int orientation = 1;    // the EXIF orientation stored with it; 1 writes no EXIF block
    Canvas (*paint)(QSize); // the scene, upright
};

const std::vector<SamplePhoto>& SamplePhotos();

// The photo's JPEG file, the same bytes on every run.
QByteArray EncodeSamplePhoto(const SamplePhoto& photo, std::uint32_t seed);

} // namespace lumiset::tools
