#include "core/TextHelpers.h"

#include "core/Error.h"

namespace lumiset {

QStringList SplitBarList(const QString& value) {
    QStringList tokens;
    qsizetype previous = value.indexOf(u'|');
    while (previous >= 0) {
        const qsizetype next = value.indexOf(u'|', previous + 1);
        if (next < 0)
            break;
        tokens.append(value.mid(previous + 1, next - previous - 1));
        previous = next;
    }
    return tokens;
}

FileNameParts SplitFileName(const QString& path) {
    const QString fileName = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

QString JoinBarList(const QStringList& tokens) {
    QString out(u'|');
    for (const QString& token : tokens)
        out += token + u'|';
    return out;
}

namespace {
QString twoDigits(qint64 n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

QString SecondsToClock(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    const qint64 minutes = seconds / 60;
    return twoDigits(minutes / 60) + u':' + twoDigits(minutes % 60) + u':' +
           twoDigits(seconds - 60 * minutes);
}

QString FramesToClock(qint64 frames) {
    return SecondsToClock(std::max<qint64>(frames, 0) / kFramesPerSecond);
}

QString SecondsToMinutesClock(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    return twoDigits(seconds / 60) + u':' + twoDigits(seconds % 60);
}

qint64 ClockToSeconds(const QString& clock) {
    const QStringList parts = clock.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return -1;
    qint64 total = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const qint64 n = part.toLongLong(&ok);
        if (!ok || n < 0)
            return -1;
        total = total * 60 + n;
    }
    return total;
}

qint64 ParseNumber(const QString& text, const QString& what) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("“%1”不是有效的整数值 (%2)").arg(text, what));
    return n;
}

std::optional<qint64> WholeNumberIn(const QString& text, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

} // namespace lumiset
