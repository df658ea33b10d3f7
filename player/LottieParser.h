// Reads a Lottie (Bodymovin JSON) document into a LottieMovie. Anything outside the subset we draw
// is rejected with an Error naming the feature and the layer; malformed JSON is an Error too.
#pragma once

#include "player/LottieModel.h"

#include <QByteArray>
#include <QString>

namespace lumiset::lottie {

// `sourceName` names the movie in messages (usually its file name).
LottieMovie ParseLottieMovie(const QByteArray& json, const QString& sourceName);

} // namespace lumiset::lottie
