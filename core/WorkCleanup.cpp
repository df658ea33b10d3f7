#include "core/WorkCleanup.h"

#include "core/Error.h"
#include "core/Folders.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace lumiset {

void ClearWorkFiles(const DataPaths& paths, const Job& control) {
    const QStringList folders = paths.workFoldersToClear();
    QStringList files;
    for (const QString& file : paths.workFilesToClear())
        if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
            files.append(file);
    int total = int(files.size());
    for (const QString& folder : folders)
        total += CountTreeEntries(folder);

    int removed = 0;
    const auto step = [&] {
        removed = qMin(removed + 1, total);
        control.report(removed, total);
    };
    std::optional<Error> firstFailure;
    control.report(0, total);
    for (const QString& folder : folders) {
        try {
            DeleteTree(folder, step);
        } catch (const Error& e) {
            if (!firstFailure)
                firstFailure = e;
        }
    }
    for (const QString& file : files) {
        try {
            DeleteTree(file, step);
        } catch (const Error& e) {
            if (!firstFailure)
                firstFailure = e;
        }
    }
    control.report(total, total);
    if (firstFailure)
        throw *firstFailure;
}

} // namespace lumiset
