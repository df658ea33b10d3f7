// Folder operations shared by every subsystem: delete a tree, force a folder, scan for packages.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

// Deletes `folder` with everything in it. A missing folder is no error. Throws Error when something
// stays behind.
void DeleteTree(const QString& folder);
// The same, calling `step` once for every entry removed (files and folders, the folder itself last);
// CountTreeEntries gives the number of steps in advance (for a progress bar).
void DeleteTree(const QString& folder, const std::function<void()>& step);
int CountTreeEntries(const QString& folder);

// Creates the whole path. Throws Error when the folder does not exist afterwards.
void ForceFolder(const QString& path);

// Every file below `folder` whose extension is exactly ".rar" or ".RAR", as "<folder>/<name>".
// Entries are taken sorted by name case-insensitively, files and sub-folders interleaved; a
// sub-folder's packages are listed at the sub-folder's position. A missing folder gives no entry.
// Linked folders are followed once: a link to a folder already walked (a loop) is skipped.
QStringList ScanPackages(const QString& folder);

} // namespace lumiset
