// How one element of a movie moves: a resting pose, explicit poses, an entrance and an exit from a
// small set of named styles, a slow drift over the hold (Ken Burns) and gentle repeating motions.
// BuildTrack turns it into one keyed channel per transform value.
#pragma once

#include "tools/templates/Channel.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace lumiset::templates {

constexpr int kFps = 25;
inline double SecondsToFrames(double seconds) {
    return seconds * kFps;
}

// Position is the element's centre (or pivot) on the canvas; scale and opacity in percent.
struct Pose {
    double x = 960.0;
    double y = 540.0;
    double scaleX = 100.0;
    double scaleY = 100.0;
    double rotation = 0.0;
    double opacity = 100.0;
};

// A pose at a moment. Values left out of the first key are the resting pose; values left out of a
// later key follow from the keys around it.
struct PoseKey {
    double seconds = 0.0;
    std::optional<double> x, y, scaleX, scaleY, rotation, opacity;
    Ease ease = Ease::smooth();
};

// An entrance or exit: a named style played from `at` for `seconds`.
struct Phase {
    QString style;
    double at = 0.0;
    double seconds = 1.0;
    double distance = 0.0; // slides: how far; 0 = off the canvas
    std::optional<Ease> ease;
};

// Change over the hold between entrance and exit.
struct Drift {
    double dx = 0.0;
    double dy = 0.0;
    double scale = 0.0; // percent points added
    double rotation = 0.0;
};

// Repeating motions over the hold, one cycle per `period` seconds.
struct Loop {
    double bobX = 0.0;
    double bobY = 0.0;
    double sway = 0.0;    // degrees either way
    double pulse = 0.0;   // percent points either way
    double twinkle = 0.0; // percent of opacity lost at the dim point
    double spin = 0.0;    // degrees per second
    double period = 3.0;
    double phase = 0.0; // 0..1, where in the cycle the hold starts
};

struct Motion {
    Pose rest;
    std::vector<PoseKey> keys;
    std::optional<Phase> in;
    std::optional<Phase> out;
    Drift drift;
    Loop loop;
    std::optional<double> from;  // seconds: first visible moment (default: entrance start or 0)
    std::optional<double> until; // seconds: end of visibility (default: exit end or movie end)
};

struct Track {
    Channel x, y, scaleX, scaleY, rotation, opacity;
    int inFrame = 0;
    int outFrame = 0;
};

// Entrance styles, exit styles and the wipes (played by a matte, not by the element's transform).
bool IsEntranceStyle(const QString& style);
bool IsExitStyle(const QString& style);
bool IsWipe(const QString& style);

// Throws Error naming the style when it is unknown.
Track BuildTrack(const Motion& motion, int movieFrames);

// Moves the resting pose and every keyed position by `offset`.
void ShiftPositions(Motion& motion, QPointF offset);

} // namespace lumiset::templates
