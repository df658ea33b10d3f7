// Edits of the background table: the default background picture for templates without one, replacing
// a template's picture with another landscape picture, and saving or resetting the transparency.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "photos/PhotoRows.h"

#include <QString>

namespace lumiset {

namespace BackgroundText {
inline const QString NoRows = QStringLiteral("没有找到背景图片文件！");
inline const QString NoSelection = QStringLiteral("没有选中背景图片文件！");
inline const QString NoPicture = QStringLiteral("没有添加背景图片文件！");
inline const QString NotLandscape = QStringLiteral("此张照片不是横照片,请重新更换一张横照片!");
inline const QString Saved = QStringLiteral("保存设置完成！");
inline const QString DefaultsRestored = QStringLiteral("默认设置完成！");
} // namespace BackgroundText

// Refuses an operation on background row `row` (-1 = none selected) with "没有找到背景图片文件！" or
// "没有选中背景图片文件！".
void CheckBackgroundSelection(const Album& album, int row);

// A click on background row `row` (-1 = none): refuses with "没有选中背景图片文件！" or, when the row has no
// picture path, "没有添加背景图片文件！"; otherwise returns the row to show.
const QStringList& BackgroundRowToShow(const Album& album, int row);

// Gives every background row without a picture the default background picture, decoded from its
// package into the work folder. Rows that have a picture keep it. Returns a message when the default
// picture cannot be had (the rows then stay without one), else empty text.
QString ApplyDefaultBackground(Album& album, const DataPaths& paths);

// "更换背景图片": the picture of `file` becomes row `row`'s background; its transparency stays. Throws
// Error "此张照片不是横照片,请重新更换一张横照片!" for a portrait picture (a square one is accepted), and an
// Error naming the file when it is not a readable JPEG; the row is then unchanged.
void ReplaceBackgroundPicture(Album& album, int row, const QString& file, const PhotoReader& read);

// "保存设置": `transparency` (0..100) into row `row`, or into every row when `allRows` (rows without a
// picture too). Returns "保存设置完成！".
QString SaveBackgroundTransparency(Album& album, int row, int transparency, bool allRows);

// "默认设置": transparency "0" into row `row`, or into every row when `allRows`. Returns "默认设置完成！".
QString ResetBackgroundTransparency(Album& album, int row, bool allRows);

} // namespace lumiset
