#include "tools/music/Tune.h"

#include "core/Error.h"

#include <QRegularExpression>
#include <cmath>

namespace lumiset::tools {

namespace {

int pitchClass(QChar letter) {
    switch (letter.toUpper().toLatin1()) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        return -1;
    }
}

// "C", "Am", "G7", "Dm7", "F#m": the root in the octave below middle C with its third, fifth (and seventh).
QList<int> chordNotes(const QString& name) {
    static const QRegularExpression form(QStringLiteral("^([A-G])([#b]?)(m?)(7?)$"));
    const auto match = form.match(name);
    if (!match.hasMatch())
        return {};
    int root = 48 + pitchClass(match.captured(1).at(0));
    if (match.captured(2) == QStringLiteral("#"))
        ++root;
    else if (match.captured(2) == QStringLiteral("b"))
        --root;
    const bool minor = !match.captured(3).isEmpty();
    QList<int> notes{root, root + (minor ? 3 : 4), root + 7};
    if (!match.captured(4).isEmpty())
        notes.append(root + 10); // dominant or minor seventh
    return notes;
}

} // namespace

int MidiFromNoteName(const QString& name) {
    static const QRegularExpression form(QStringLiteral("^([A-Ga-g])([#b]?)(-?\\d)$"));
    const auto match = form.match(name);
    if (!match.hasMatch())
        return -1;
    int midi = 12 * (match.captured(3).toInt() + 1) + pitchClass(match.captured(1).at(0));
    if (match.captured(2) == QStringLiteral("#"))
        ++midi;
    else if (match.captured(2) == QStringLiteral("b"))
        --midi;
    return midi;
}

// Format, one item a line ('#' starts a comment):
//   tempo 88
//   bar <chords> | <melody>      chords: one name for the bar or names with beats (F:2 G:2)
//                                melody: notes or rests ('-') with beats (E4:0.5 -:1)
//   a bar line that starts with '>' begins the next lyric line at its first note
Tune ParseTune(const QString& text, const QString& fileName) {
    Tune tune;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString where = QStringLiteral("%1 第 %2 行").arg(fileName).arg(n + 1);
        QString line = lines[n].section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QStringLiteral("tempo "))) {
            bool ok = false;
            tune.tempo = line.mid(6).trimmed().toDouble(&ok);
            if (!ok || tune.tempo < 30 || tune.tempo > 240)
                throw Error(QStringLiteral("%1：速度必须是 30 到 240 之间的数字").arg(where));
            continue;
        }
        const bool phrase = line.startsWith(u'>');
        if (phrase)
            line = line.mid(1).trimmed();
        if (!line.startsWith(QStringLiteral("bar ")))
            throw Error(QStringLiteral("%1：无法识别的内容 %2").arg(where, line));
        const QStringList halves = line.mid(4).split(u'|');
        if (halves.size() != 2)
            throw Error(QStringLiteral("%1：小节需要写成 和弦 | 旋律").arg(where));
        const double barStart = tune.bars * 4.0;

        double beat = 0;
        for (const QString& token : halves[0].split(u' ', Qt::SkipEmptyParts)) {
            const QString name = token.section(u':', 0, 0);
            const double length = token.contains(u':') ? token.section(u':', 1).toDouble() : 4.0;
            const QList<int> notes = chordNotes(name);
            if (notes.isEmpty() || length <= 0)
                throw Error(QStringLiteral("%1：无法识别的和弦 %2").arg(where, token));
            tune.chords.append({notes, barStart + beat, length});
            beat += length;
        }
        if (std::abs(beat - 4) > 1e-6)
            throw Error(QStringLiteral("%1：和弦合计 %2 拍，应为 4 拍").arg(where).arg(beat));

        beat = 0;
        bool phraseMarked = false;
        for (const QString& token : halves[1].split(u' ', Qt::SkipEmptyParts)) {
            const QString name = token.section(u':', 0, 0);
            bool ok = false;
            const double length = token.section(u':', 1).toDouble(&ok);
            const int midi = name == QStringLiteral("-") ? -1 : MidiFromNoteName(name);
            if (!ok || length <= 0 || (name != QStringLiteral("-") && midi < 0))
                throw Error(QStringLiteral("%1：无法识别的音符 %2").arg(where, token));
            if (midi >= 0) {
                tune.melody.append({midi, barStart + beat, length});
                if (phrase && !phraseMarked) {
                    tune.phraseStarts.append(barStart + beat);
                    phraseMarked = true;
                }
            }
            beat += length;
        }
        if (std::abs(beat - 4) > 1e-6)
            throw Error(QStringLiteral("%1：旋律合计 %2 拍，应为 4 拍").arg(where).arg(beat));
        if (phrase && !phraseMarked)
            throw Error(QStringLiteral("%1：歌词开始的小节没有音符").arg(where));
        ++tune.bars;
    }
    if (tune.bars == 0)
        throw Error(QStringLiteral("%1 中没有小节").arg(fileName));
    return tune;
}

} // namespace lumiset::tools
