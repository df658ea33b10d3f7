// Pictures handed to the player from memory, by the file name the movie gives an image asset (its
// folder and file, "u" + "p", e.g. "zp_1.jpg" or "../../pic/picture_0.jpg"). The player draws them
// with their exact pixels, with no file written and read back in between.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>

namespace lumiset {

class PictureProvider {
public:
    // Replaces any picture given before under the same name.
    void insert(const QString& fileName, QImage image);
    // The picture named `fileName`, or a null image when none was given.
    QImage find(const QString& fileName) const;
    bool isEmpty() const { return pictures_.isEmpty(); }

private:
    QHash<QString, QImage> pictures_; // by cleaned name: "./a.jpg" and "a.jpg" are one picture
};

} // namespace lumiset
