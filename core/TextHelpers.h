// Small text helpers shared by every subsystem: bar lists, clock texts, the orientation rule and
// numbers read from text cells.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lumiset {

// Tokens of a bar list such as "|heng|shu|": the text between each pair of consecutive bars.
// b bars give b - 1 tokens (possibly empty); text outside the outermost bars is ignored; fewer than two
// bars give no token.
QStringList SplitBarList(const QString& value);
// The inverse: "|a|b|" from {"a", "b"}.
QString JoinBarList(const QStringList& tokens);

// A file's name without extension and its extension with the dot, split at the last dot of the file
// name as the file chooser shows it ("IMG_1.JPG" gives "IMG_1" and ".JPG"; no dot gives no extension).
struct FileNameParts {
    QString name;
    QString extension;
};
FileNameParts SplitFileName(const QString& path);

// The program counts 25 frames per second.
constexpr int kFramesPerSecond = 25;

// "hh:mm:ss" of a frame count (seconds = frames / 25, truncated). Negative counts read as 0.
QString FramesToClock(qint64 frames);
// "hh:mm:ss" of a number of seconds.
QString SecondsToClock(qint64 seconds);
// "mm:ss" of a number of seconds (minutes are not wrapped into hours).
QString SecondsToMinutesClock(qint64 seconds);
// Seconds of a "hh:mm:ss" or "mm:ss" text; -1 when it is not a clock text.
qint64 ClockToSeconds(const QString& clock);

// A photo is landscape when its width exceeds its height; a square photo counts as landscape.
inline bool IsLandscape(qint64 width, qint64 height) {
    return width >= height;
}

// Slot orientation words.
inline const QString kLandscapeWord = QStringLiteral("heng");
inline const QString kPortraitWord = QStringLiteral("shu");
inline const QString kEitherWord = QStringLiteral("shuheng");

// The integer in a table cell or parameter. Throws Error naming `what` when the text is not a whole
// number (the original raised the platform's conversion error).
qint64 ParseNumber(const QString& text, const QString& what);
// Whether `text` is a whole number from `low` to `high` (surrounding blanks allowed), and which.
std::optional<qint64> WholeNumberIn(const QString& text, qint64 low, qint64 high);

} // namespace lumiset
