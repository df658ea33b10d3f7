#include "media/PartFile.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>

namespace lumiset {
namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

PartFile::PartFile(const QString& finalPath) {
    const QFileInfo target(finalPath);
    for (int attempt = 0; attempt < 100 && path_.isEmpty(); ++attempt) {
        const QString name = QStringLiteral(".%1.part-%2")
                                 .arg(target.fileName())
                                 .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QChar(u'0'));
        QFile file(target.dir().filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            path_ = file.fileName();
        else if (!file.exists())
            throw Error(QStringLiteral("无法在文件夹“%1”中创建相册文件（%2），请选择其他保存位置。")
                            .arg(native(target.absolutePath()), file.errorString()));
    }
    if (path_.isEmpty())
        throw Error(QStringLiteral("无法在文件夹“%1”中创建相册文件，请选择其他保存位置。")
                        .arg(native(target.absolutePath())));
}

PartFile::~PartFile() {
    if (!path_.isEmpty())
        QFile::remove(path_);
}

void PartFile::moveTo(const QString& finalPath) {
    std::error_code failure;
    std::filesystem::rename(fileSystemPath(path_), fileSystemPath(finalPath), failure);
    if (failure)
        throw Error(QStringLiteral("无法保存相册文件“%1”（%2）。")
                        .arg(native(finalPath), QString::fromStdString(failure.message())));
    path_.clear();
}

} // namespace lumiset
