// Compact JSON for movies with "ty" written first in every object: streaming Lottie readers (rlottie
// among them) decide an item's kind from its first key, and QJsonDocument sorts keys alphabetically.
#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace lumiset::templates {

QByteArray WriteMovieJson(const QJsonObject& document);

} // namespace lumiset::templates
