#include "core/IniFile.h"

#include "core/Package.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace lumiset {

QString DecodeGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLocal8Bit(bytes);
    return decoder.decode(bytes);
}

QByteArray EncodeGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder.encode(text);
}

QString IniFile::slot(const QString& section, const QString& key) {
    return section.trimmed().toLower() + QChar(0) + key.trimmed().toLower();
}

IniFile IniFile::fromBytes(const QByteArray& bytes) {
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    const QString text =
        bytes.startsWith(kUtf8Bom) ? QString::fromUtf8(bytes.mid(kUtf8Bom.size())) : DecodeGbk(bytes);
    IniFile ini;
    QString section;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close > 0)
                section = line.mid(1, close - 1).toString();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = slot(section, line.left(eq).toString());
        // The first occurrence wins, as with the system's profile functions.
        if (!ini.values_.contains(key))
            ini.values_.insert(key, line.mid(eq + 1).trimmed().toString());
    }
    return ini;
}

IniFile IniFile::load(const QString& path) {
    // Parameter files are a few kilobytes; the bound keeps a runaway file from taking gigabytes to parse.
    return fromBytes(ReadWholeFile(path, kMaxParameterPayload));
}

QString IniFile::value(const QString& section, const QString& key) const {
    return values_.value(slot(section, key));
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return values_.contains(slot(section, key));
}

} // namespace lumiset
