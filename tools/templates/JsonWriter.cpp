#include "tools/templates/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace lumiset::templates {

namespace {

void write(const QJsonValue& v, QByteArray& out);

void writeString(const QString& s, QByteArray& out) {
    // QJsonDocument escapes; only a string inside an array is a document it can write.
    const QByteArray quoted = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    out.append(quoted.constData() + 1, quoted.size() - 2);
}

void writeObject(const QJsonObject& o, QByteArray& out) {
    out.append('{');
    bool first = true;
    auto member = [&](const QString& key) {
        if (!first)
            out.append(',');
        first = false;
        writeString(key, out);
        out.append(':');
        write(o.value(key), out);
    };
    if (o.contains(QStringLiteral("ty")))
        member(QStringLiteral("ty"));
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != u"ty")
            member(it.key());
    out.append('}');
}

void write(const QJsonValue& v, QByteArray& out) {
    switch (v.type()) {
    case QJsonValue::Object:
        writeObject(v.toObject(), out);
        break;
    case QJsonValue::Array: {
        out.append('[');
        const QJsonArray a = v.toArray();
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (i > 0)
                out.append(',');
            write(a[i], out);
        }
        out.append(']');
        break;
    }
    case QJsonValue::String:
        writeString(v.toString(), out);
        break;
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (std::floor(d) == d && std::abs(d) < 1e15)
            out.append(QByteArray::number(static_cast<qint64>(d)));
        else
            out.append(QByteArray::number(d, 'g', 12));
        break;
    }
    case QJsonValue::Bool:
        out.append(v.toBool() ? "true" : "false");
        break;
    default:
        out.append("null");
        break;
    }
}

} // namespace

QByteArray WriteMovieJson(const QJsonObject& document) {
    QByteArray out;
    write(document, out);
    return out;
}

} // namespace lumiset::templates
