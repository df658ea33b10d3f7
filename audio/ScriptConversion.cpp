#include "audio/ScriptConversion.h"

#include <QDebug>
#include <QStringList>
#include <opencc/opencc.h>

namespace lumiset {

namespace {

const opencc_t kNotOpened = reinterpret_cast<opencc_t>(-1);

} // namespace

ScriptConverter::ScriptConverter(const QString& config) {
    const opencc_t opened = opencc_open(config.toUtf8().constData());
    if (opened == kNotOpened) {
        // opencc_error() is the one OpenCC call that is not thread-safe, hence not asked here.
        qWarning("Lyrics are shown without script conversion: OpenCC cannot load %s", qUtf8Printable(config));
        return;
    }
    handle_ = opened;
}

ScriptConverter::~ScriptConverter() {
    if (handle_)
        opencc_close(static_cast<opencc_t>(handle_));
}

QString ScriptConverter::convert(const QString& text) const {
    if (!handle_ || text.isEmpty())
        return text;
    // OpenCC works on C strings: convert the pieces between NUL characters, keeping the NULs.
    if (text.contains(QChar(0))) {
        QStringList pieces = text.split(QChar(0));
        for (QString& piece : pieces)
            piece = convert(piece);
        return pieces.join(QChar(0));
    }
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(static_cast<opencc_t>(handle_), utf8.constData(), utf8.size());
    if (!converted)
        return text;
    const QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
}

QString ToSimplified(const QString& text) {
    static const ScriptConverter converter(QStringLiteral("t2s.json"));
    return converter.convert(text);
}

QString ToTraditional(const QString& text) {
    static const ScriptConverter converter(QStringLiteral("s2t.json"));
    return converter.convert(text);
}

QString ConvertToScript(const QString& text, const QString& scriptWord) {
    if (scriptWord == QLatin1String("jianti"))
        return ToSimplified(text);
    if (scriptWord == QLatin1String("fanti"))
        return ToTraditional(text);
    return text;
}

} // namespace lumiset
