#include "audio/LrcReader.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "core/IniFile.h"

#include <QStringDecoder>
#include <QStringList>
#include <array>

namespace lumiset {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const std::array<QLatin1StringView, 4> kInformationTags{QLatin1StringView("ti"), QLatin1StringView("ar"),
                                                        QLatin1StringView("al"), QLatin1StringView("by")};

// GBK by its byte structure: single bytes up to 0x80 (0x80 is the euro sign), and pairs of a lead byte
// 0x81..0xFE and a trail byte 0x40..0xFE other than 0x7F.
bool isValidGbk(const QByteArray& bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead <= 0x80) {
            ++i;
            continue;
        }
        if (lead == 0xFF || i + 1 == n)
            return false;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF)
            return false;
        i += 2;
    }
    return true;
}

bool hasTwoByteUtf8Characters(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80 && c.unicode() < 0x800)
            return true;
    return false;
}

QStringList splitLines(const QString& text) {
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(u'\r', u'\n');
    QStringList lines = unified.split(u'\n');
    // A line end closes the last line; it does not open another one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isInformationTag(QStringView tag) {
    for (const QLatin1StringView name : kInformationTags)
        if (tag.startsWith(name))
            return true;
    return false;
}

// Appends the tagged rows of one lyric line, right to left.
void takeTags(const QString& line, QList<LyricTimelineRow>& rows) {
    qsizetype end = line.size(); // the line as it stands: cut before every tag taken
    qsizetype close = -1;        // the nearest "]" after the current position, within the line
    qsizetype previousOpen = -1; // the "[" of the tag taken before, with its text
    QString previousText;
    for (qsizetype p = line.size() - 1; p >= 0; --p) {
        if (line[p] == u']') {
            close = p;
            continue;
        }
        if (line[p] != u'[' || close < 0)
            continue;
        const QString tag = line.mid(p + 1, close - p - 1);
        const QString text = close + 1 == previousOpen ? previousText : line.mid(close + 1, end - close - 1);
        rows.append({tag, text});
        end = p;
        close = -1;
        previousOpen = p;
        previousText = text;
    }
}

// An information line such as "[ti:Song]" gives the row ti / Song: the second and third characters
// are the tag, the fifth up to the one before the last the text. Other information lines give none.
std::optional<LyricTimelineRow> informationRow(const QString& line) {
    const QList<uint> chars = line.toUcs4(); // positions count characters, not UTF-16 units
    const auto slice = [&chars](qsizetype from, qsizetype count) {
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()) + from, count);
    };
    if (chars.size() < 3)
        return std::nullopt;
    const QString tag = slice(1, 2);
    if (!isInformationTag(tag))
        return std::nullopt;
    const qsizetype textLength = chars.size() - 5;
    return LyricTimelineRow{tag, textLength > 0 ? slice(4, textLength) : QString()};
}

} // namespace

QString DecodeLyricText(const QByteArray& fileBytes) {
    if (fileBytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(fileBytes.mid(kUtf8Bom.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(fileBytes);
    if (!utf8.hasError() && (!isValidGbk(fileBytes) || !hasTwoByteUtf8Characters(asUtf8)))
        return asUtf8;
    return DecodeGbk(fileBytes);
}

LyricTimeline ParseLyrics(const QByteArray& fileBytes) {
    QStringList informationLines;
    QList<LyricTimelineRow> tagged;
    for (const QString& line : splitLines(DecodeLyricText(fileBytes))) {
        if (line.endsWith(u']'))
            informationLines.append(line);
        else
            takeTags(line, tagged);
    }

    QList<LyricTimelineRow> timeRows;
    for (const QLatin1StringView name : kInformationTags)
        for (const LyricTimelineRow& row : tagged)
            if (row.tag.startsWith(name))
                informationLines.append(u'[' + row.tag + u']');
    for (const LyricTimelineRow& row : tagged)
        if (!isInformationTag(row.tag))
            timeRows.append(row);

    LyricTimeline timeline;
    timeline.rows.append({QStringLiteral("00:00"), QString()});
    timeline.rows.append(timeRows);
    for (const QString& line : informationLines)
        if (const std::optional<LyricTimelineRow> row = informationRow(line))
            timeline.rows.append(*row);
    return timeline;
}

LyricTimeline ReadLyricFile(const QString& path) {
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(path, kMaxLyricFileSize);
    } catch (const Error& e) {
        throw Error(QStringLiteral("歌词文件无法读取: %1").arg(e.message()));
    }
    return ParseLyrics(bytes);
}

std::optional<QString> LookupLyric(const LyricTimeline& timeline, const QString& mmss) {
    if (mmss.isEmpty())
        return std::nullopt;
    for (const LyricTimelineRow& row : timeline.rows)
        if (row.tag.startsWith(mmss, Qt::CaseInsensitive))
            return row.text;
    return std::nullopt;
}

} // namespace lumiset
