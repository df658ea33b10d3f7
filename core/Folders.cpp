#include "core/Folders.h"

#include "core/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace lumiset {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void deleteEntries(const QString& folder, const std::function<void()>& step) {
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return;
    if (info.isDir() && !info.isSymLink()) {
        const QDir dir(folder);
        const auto entries =
            dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries)
            deleteEntries(entry.filePath(), step);
        if (!QDir().rmdir(folder))
            throw Error(QStringLiteral("无法删除文件夹: %1").arg(native(folder)));
    } else if (!QFile::remove(folder)) {
        throw Error(QStringLiteral("无法删除文件: %1").arg(native(folder)));
    }
    if (step)
        step();
}

// Name order of the original file system: case-insensitive, then by exact spelling for stability.
bool nameLess(const QFileInfo& a, const QFileInfo& b) {
    const int c = QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.fileName() < b.fileName();
}

// `visited` holds the real path of every folder entered: a link back to one of them (a loop) or a
// second link to the same folder is skipped, so the walk ends and lists each package once.
void scanInto(const QString& folder, QStringList& list, QSet<QString>& visited) {
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || visited.contains(real))
        return;
    visited.insert(real);
    QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), nameLess);
    for (const QFileInfo& entry : entries) {
        const QString path = folder + u'/' + entry.fileName();
        if (entry.isDir()) {
            scanInto(path, list, visited);
        } else {
            const QString name = entry.fileName();
            if (name.endsWith(QLatin1String(".rar")) || name.endsWith(QLatin1String(".RAR")))
                list.append(path);
        }
    }
}

} // namespace

void DeleteTree(const QString& folder) {
    deleteEntries(folder, {});
}

void DeleteTree(const QString& folder, const std::function<void()>& step) {
    deleteEntries(folder, step);
}

int CountTreeEntries(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists())
        return 0;
    int count = 1;
    if (info.isDir() && !info.isSymLink()) {
        const auto entries =
            QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries)
            count += CountTreeEntries(entry.filePath());
    }
    return count;
}

void ForceFolder(const QString& path) {
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir())
        throw Error(QStringLiteral("无法创建文件夹: %1").arg(native(path)));
}

QStringList ScanPackages(const QString& folder) {
    QStringList list;
    QSet<QString> visited;
    scanInto(folder, list, visited);
    return list;
}

} // namespace lumiset
