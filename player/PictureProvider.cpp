#include "player/PictureProvider.h"

#include <QDir>

namespace lumiset {

void PictureProvider::insert(const QString& fileName, QImage image) {
    pictures_.insert(QDir::cleanPath(fileName), std::move(image));
}

QImage PictureProvider::find(const QString& fileName) const {
    return pictures_.value(QDir::cleanPath(fileName));
}

} // namespace lumiset
