// A reader for the program's INI files (template, combination and effect parameters), written in GBK.
// A UTF-8 file with a byte-order mark is read as UTF-8; CRLF and LF line ends both work. Section and
// key names are matched case-insensitively, as on the system the files come from; a missing section
// or key reads as empty text.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace lumiset {

class IniFile {
public:
    IniFile() = default;
    static IniFile fromBytes(const QByteArray& bytes);
    // Throws Error naming the file when it cannot be read, is not a regular file or passes 1 MiB.
    static IniFile load(const QString& path);

    QString value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;

private:
    static QString slot(const QString& section, const QString& key);
    QHash<QString, QString> values_;
};

// GBK bytes to text (the encoding of the program's INI and LRC files), and back.
QString DecodeGbk(const QByteArray& bytes);
QByteArray EncodeGbk(const QString& text);

} // namespace lumiset
