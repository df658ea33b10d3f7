#include "app/CommandOptions.h"

#include "core/Error.h"

namespace lumiset::app {

CommandOptions::CommandOptions(const QStringList& args, const QStringList& known, const QStringList& flags) {
    QString current;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--"))) {
            current = arg.mid(2);
            if (!known.contains(current) && !flags.contains(current))
                throw Error(QStringLiteral("unknown option %1").arg(arg));
            values_[current]; // present, perhaps without values
            if (flags.contains(current))
                current.clear();
        } else if (current.isEmpty()) {
            positional_.append(arg);
        } else {
            values_[current].append(arg);
        }
    }
    for (auto it = values_.begin(); it != values_.end(); ++it)
        if (it.value().isEmpty() && !flags.contains(it.key()))
            throw Error(QStringLiteral("option --%1 needs a value").arg(it.key()));
}

QString CommandOptions::value(const QString& name, const QString& fallback) const {
    const QStringList v = values_.value(name);
    if (v.size() > 1)
        throw Error(QStringLiteral("option --%1 takes one value").arg(name));
    return v.isEmpty() ? fallback : v.first();
}

QString CommandOptions::required(const QString& name) const {
    const QString v = value(name);
    if (v.isEmpty())
        throw Error(QStringLiteral("option --%1 is required").arg(name));
    return v;
}

QList<int> CommandOptions::integers(const QString& name) const {
    QList<int> out;
    for (const QString& text : values_.value(name)) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || n < 0)
            throw Error(QStringLiteral("option --%1: “%2” is not a whole number").arg(name, text));
        out.append(n);
    }
    return out;
}

QSize CommandOptions::size(const QString& name, QSize fallback) const {
    const QString text = value(name);
    if (text.isEmpty())
        return fallback;
    const QStringList parts = text.split(u'x');
    bool okW = false, okH = false;
    const int w = parts.value(0).toInt(&okW);
    const int h = parts.value(1).toInt(&okH);
    if (parts.size() != 2 || !okW || !okH || w < 16 || h < 16 || w > 7680 || h > 4320)
        throw Error(QStringLiteral("option --%1: “%2” is not a size like 800x450").arg(name, text));
    return {w, h};
}

} // namespace lumiset::app
