// The album file: JSON holding every album table as rows of text cells, and the settings.
//
//   { "format": "lumiset-album", "version": 1,
//     "tables": { "<table name>": [["cell", …], …], … }, "settings": { "<control>": "<value>" } }
#pragma once

#include "core/Album.h"
#include "core/AlbumReferences.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumiset {

inline const QString kAlbumFormat = QStringLiteral("lumiset-album");
constexpr int kAlbumVersion = 1;

QByteArray AlbumToJson(const Album& album);
// Parses and validates; throws Error saying what is wrong. `catalogueSize` (when >= 0) also checks that
// template numbers exist.
Album AlbumFromJson(const QByteArray& json, int catalogueSize = -1);

// Writes atomically: a failed save never replaces a good file. Throws Error naming the file.
void SaveAlbum(const Album& album, const QString& path);
// Returns the album of the file; the caller's current album stays untouched when this throws.
Album OpenAlbum(const QString& path, int catalogueSize = -1);

} // namespace lumiset
