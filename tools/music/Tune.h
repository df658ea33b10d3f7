// The sample song as notes: a tempo, bars with a chord and a melody line, and the bars where sung
// phrases begin. Read from a small text format (see data/music/tune.txt).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lumiset::tools {

struct Note {
    int midi = -1;     // -1 for a rest
    double start = 0;  // beats from the start of the song
    double length = 1; // beats
};

struct ChordSpan {
    QList<int> midi;  // the chord's notes around middle C, root first
    double start = 0; // beats
    double length = 4;
};

struct Tune {
    double tempo = 90; // beats per minute, four beats a bar
    int bars = 0;
    QList<Note> melody;
    QList<ChordSpan> chords;
    QList<double> phraseStarts; // beat of the first sung note of each lyric line

    double secondsPerBeat() const { return 60.0 / tempo; }
    double lengthInBeats() const { return bars * 4.0; }
};

// Throws Error naming the file and line for anything malformed (unknown note or chord, a bar whose
// notes do not add up to four beats).
Tune ParseTune(const QString& text, const QString& fileName);

// "C4" → 60, "F#5" → 78, "Bb3" → 58; -1 for an unknown name.
int MidiFromNoteName(const QString& name);

} // namespace lumiset::tools
