// A temporary folder for test fixtures, removed when the test ends.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace lumiset::test {

class TempTree {
public:
    TempTree();
    QString path() const { return dir_.path(); }
    // Absolute path of a relative name inside the tree.
    QString file(const QString& relative) const;
    // Writes a file (creating its folders) and returns its absolute path.
    QString write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

} // namespace lumiset::test
