// A private folder for one run that needs files on disk (a preview, a production): a unique folder
// below the work root, removed with everything in it when the object goes. Two runs at once, in one
// program or in two, never touch each other's files.
#pragma once

#include "core/DataPaths.h"

#include <QString>
#include <QTemporaryDir>

namespace lumiset {

class WorkFolder {
public:
    // Creates "<work root>/runs/<purpose>-XXXXXX" (`purpose` is a short ASCII word such as "preview").
    // Throws Error when it cannot be created.
    WorkFolder(const DataPaths& paths, const QString& purpose);
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const QString& path() const { return path_; }
    // The absolute path of `relative` inside the folder (not created).
    QString file(const QString& relative) const;

private:
    QTemporaryDir dir_; // removes the folder and its content when destroyed
    QString path_;
};

} // namespace lumiset
