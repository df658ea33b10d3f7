#include "production/EffectSchedule.h"

#include "core/TextHelpers.h"

#include <algorithm>

namespace lumiset {

namespace {

// The first album frame whose clock reads `start`; -1 when no frame does. Frame 0 is the black frame,
// so an effect at 00:00:00 starts in frame 1.
qint64 StartFrame(const QString& start) {
    const qint64 seconds = ClockToSeconds(start);
    if (seconds < 0)
        return -1;
    const qint64 frame = seconds * kFramesPerSecond;
    if (FramesToClock(frame) != start)
        return -1;
    return std::max<qint64>(frame, 1);
}

constexpr int kMaxEffectFrames = 100000;

} // namespace

EffectSchedule::EffectSchedule(const Album& album, const DataPaths& paths) {
    auto add = [&](ScheduledEffect effect, const QString& start, const QString& frames, const QString& name) {
        effect.firstFrame = StartFrame(start);
        const auto count = WholeNumberIn(frames, 1, kMaxEffectFrames);
        if (effect.firstFrame < 0 || !count) {
            warnings_.append(QStringLiteral("特效“%1”的开始时间“%2”或帧数“%3”无效，制作时不显示。")
                                 .arg(name, start, frames));
            return;
        }
        effect.frames = static_cast<int>(*count);
        effects_.append(std::move(effect));
    };
    const Table& pictures = album.pictureEffects;
    for (int row = 0; row < pictures.rowCount(); ++row) {
        ScheduledEffect effect;
        effect.kind = ScheduledEffect::Kind::Picture;
        const auto index = WholeNumberIn(pictures.cell(row, PictureEffectCol::Index), 0, 1000000);
        if (index)
            effect.folder = paths.pictureEffectFolder(static_cast<int>(*index) + 1);
        add(std::move(effect), pictures.cell(row, PictureEffectCol::Start),
            index ? pictures.cell(row, PictureEffectCol::FrameCount) : QString(),
            pictures.cell(row, PictureEffectCol::Name));
    }
    const Table& texts = album.textEffects;
    for (int row = 0; row < texts.rowCount(); ++row) {
        ScheduledEffect effect;
        effect.kind = ScheduledEffect::Kind::Text;
        const auto index = WholeNumberIn(texts.cell(row, TextEffectCol::Index), 0, 1000000);
        const auto category = WholeNumberIn(texts.cell(row, TextEffectCol::Category), 1, 1000000);
        if (index && category)
            effect.folder = paths.textEffectFolder(static_cast<int>(*category), static_cast<int>(*index) + 1);
        effect.stagePosition = {texts.cell(row, TextEffectCol::X).toDouble(),
                                texts.cell(row, TextEffectCol::Y).toDouble()};
        add(std::move(effect), texts.cell(row, TextEffectCol::Start),
            index && category ? texts.cell(row, TextEffectCol::FrameCount) : QString(),
            texts.cell(row, TextEffectCol::Name));
    }
    std::stable_sort(
        effects_.begin(), effects_.end(),
        [](const ScheduledEffect& a, const ScheduledEffect& b) { return a.firstFrame < b.firstFrame; });
}

QList<EffectInFrame> EffectSchedule::at(qint64 frame) const {
    QList<EffectInFrame> showing;
    for (const ScheduledEffect& effect : effects_) {
        if (effect.firstFrame > frame)
            break;
        if (frame < effect.firstFrame + effect.frames)
            showing.append({&effect, static_cast<int>(frame - effect.firstFrame) + 1});
    }
    return showing;
}

} // namespace lumiset
