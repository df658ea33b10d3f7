#include "tests/support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace lumiset::test {

TempTree::TempTree() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempTree::file(const QString& relative) const {
    return dir_.filePath(relative);
}

QString TempTree::write(const QString& relative, const QByteArray& content) const {
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        throw std::runtime_error("cannot write fixture " + path.toStdString());
    return path;
}

QByteArray TempTree::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + relative.toStdString());
    return f.readAll();
}

} // namespace lumiset::test
