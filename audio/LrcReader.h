// The LRC lyric reader: one lyric file becomes the lyric timeline that the preview, the album player and
// the video production search once a tick, and the lookup they use.
//
// Text. A lyric file is read as GBK, the encoding the program's files come in, unless it is UTF-8:
//   - it starts with the UTF-8 byte-order mark (which is dropped), or
//   - it is valid UTF-8 and not valid GBK, or
//   - it is valid as both and its UTF-8 reading has no character between U+0080 and U+07FF.
// The last rule settles short texts: Chinese text in UTF-8 is made of three-byte sequences, and a line
// with an even number of them in a row is often valid GBK too, while GBK text that happens to be valid
// UTF-8 reads as two-byte sequences (Latin, Greek, Cyrillic letters). Bytes invalid in the chosen
// encoding are replaced; nothing in a file makes the reader fail.
//
// Lines end at CR LF, LF or CR. A line whose last character is "]" is an information line ([ti:…],
// [offset:…], or a time tag with no text); every other line is a lyric line whose tags are taken from
// right to left: each "[" pairs with the nearest "]" after it, its tag is the text between them and its
// text runs from that "]" to the end of the line as it stands, after which the line is cut before the
// "[". A tag directly followed by the tag found before it shares that tag's text, so
// "[00:01.00][00:05.00]Hello" gives (00:05.00, Hello) then (00:01.00, Hello), and
// "[00:01.00]Hi[00:05.00]Yo" gives (00:05.00, Yo) then (00:01.00, Hi). A "[" with no "]" after it is
// text. Rows whose tag begins with "ti", "ar", "al" or "by" are moved to the information lines; the
// information lines whose second and third characters are one of those give the rows tag/text at the
// end ("[ti:Song]" gives ti / Song). Positions count characters, not bytes.
//
// The timeline is not sorted. Everything here is reentrant: parse and look up from any thread.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace lumiset {

// Lyric files are a few kilobytes; the bound keeps a runaway file from being read whole.
constexpr qint64 kMaxLyricFileSize = 1024 * 1024;

struct LyricTimelineRow {
    QString tag; // "01:23.45", or "ti", "ar", "al", "by" for the information rows
    QString text;
    bool operator==(const LyricTimelineRow&) const = default;
};

struct LyricTimeline {
    // rows[0] is always {"00:00", ""}: at the start of a song the lyric line is emptied.
    QList<LyricTimelineRow> rows;
};

// The text of a lyric file, decoded by the rule above.
QString DecodeLyricText(const QByteArray& fileBytes);

LyricTimeline ParseLyrics(const QByteArray& fileBytes);

// Throws Error naming the file when it is missing, not a regular file, unreadable or larger than
// kMaxLyricFileSize.
LyricTimeline ReadLyricFile(const QString& path);

// The text of the first row whose tag begins with `mmss` ("01:23"), letter case ignored; nullopt when
// none does (the lyric line then keeps what it shows). Only two-digit minutes and seconds are ever
// found, and the information rows never are.
std::optional<QString> LookupLyric(const LyricTimeline& timeline, const QString& mmss);

} // namespace lumiset
