#include "core/WorkFolder.h"

#include "core/Error.h"
#include "core/Folders.h"

#include <QDir>

namespace lumiset {

namespace {

QString runsFolder(const DataPaths& paths) {
    return paths.workRoot() + QStringLiteral("/runs");
}

QString createdRunsFolder(const DataPaths& paths) {
    ForceFolder(runsFolder(paths));
    return runsFolder(paths);
}

} // namespace

WorkFolder::WorkFolder(const DataPaths& paths, const QString& purpose)
    : dir_(createdRunsFolder(paths) + u'/' + purpose + QStringLiteral("-XXXXXX")), path_(dir_.path()) {
    if (!dir_.isValid())
        throw Error(QStringLiteral("无法创建工作文件夹: %1 (%2)")
                        .arg(QDir::toNativeSeparators(runsFolder(paths)), dir_.errorString()));
}

QString WorkFolder::file(const QString& relative) const {
    return path_ + u'/' + relative;
}

} // namespace lumiset
