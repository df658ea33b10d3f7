#include "player/AnimationPlayer.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "player/LottieParser.h"
#include "player/LottieRenderer.h"
#include "player/PlayerLimits.h"

#include <QFileInfo>
#include <chrono>
#include <cmath>

namespace lumiset {

struct AnimationPlayer::Loaded {
    Loaded(const QByteArray& json, const PictureProvider& given, const QString& folderName,
           const QString& sourceName)
        : movie(lottie::ParseLottieMovie(json, sourceName)), provided(given), folder(folderName),
          name(sourceName), pictures(movie, folder, provided, name), renderer(movie, pictures) {}

    lottie::LottieMovie movie;
    PictureProvider provided;
    QString folder;
    QString name;
    PictureSet pictures; // the renderer refers to these members: a Loaded never moves
    LottieRenderer renderer;
    int totalFrames() const { return int(std::ceil(movie.outPoint - movie.inPoint - 1e-6)); }
};

qint64 AnimationPlayer::SteadyClockMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

AnimationPlayer::AnimationPlayer(Clock clock) : clock_(std::move(clock)) {}

AnimationPlayer::~AnimationPlayer() = default;

void AnimationPlayer::setMovie(const QString& path) {
    const QByteArray json = ReadWholeFile(path, limits::kMaxMovieFileBytes);
    install(std::make_unique<Loaded>(json, PictureProvider(), QFileInfo(path).absolutePath(), path), path);
}

void AnimationPlayer::setMovieData(const QByteArray& json, const QString& folder, const QString& name) {
    setMovieData(json, PictureProvider(), folder, name);
}

void AnimationPlayer::setMovieData(const QByteArray& json, const PictureProvider& pictures,
                                   const QString& folder, const QString& name) {
    if (json.size() > limits::kMaxMovieFileBytes)
        throw Error(QStringLiteral("动画文件“%1”过大（超过 %2 MB）。")
                        .arg(name)
                        .arg(limits::kMaxMovieFileBytes / (1024 * 1024)));
    install(std::make_unique<Loaded>(json, pictures, folder, name), name);
}

void AnimationPlayer::install(std::unique_ptr<Loaded> loaded, const QString& path) {
    loaded_ = std::move(loaded);
    moviePath_ = path;
    frame_ = 0;
    playing_ = false;
    variables_.clear();
}

void AnimationPlayer::unload() {
    install(nullptr, QString());
}

bool AnimationPlayer::hasMovie() const {
    return loaded_ != nullptr;
}

int AnimationPlayer::totalFrames() const {
    return loaded_ ? loaded_->totalFrames() : 0;
}

int AnimationPlayer::frameNum() const {
    if (!playing_ || !loaded_)
        return frame_;
    const qint64 elapsed = std::max<qint64>(0, clock_() - playStartMs_);
    const qint64 advanced = qint64(std::floor(double(elapsed) * loaded_->movie.frameRate / 1000.0));
    const qint64 total = totalFrames();
    const qint64 frame = playStartFrame_ + advanced;
    return int(looping_ ? frame % total : std::min(frame, total - 1));
}

void AnimationPlayer::setFrameNum(int frame) {
    frame_ = std::clamp(frame, 0, std::max(0, totalFrames() - 1));
    if (playing_) {
        playStartFrame_ = frame_;
        playStartMs_ = clock_();
    }
}

void AnimationPlayer::play() {
    if (playing_ || !loaded_)
        return;
    playStartFrame_ = frame_;
    playStartMs_ = clock_();
    playing_ = true;
}

void AnimationPlayer::stop() {
    frame_ = frameNum();
    playing_ = false;
}

void AnimationPlayer::setVariable(const QString& name, const QString& value) {
    QString stored = value;
    if (name == kNumStopVariable) {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(number))
            throw Error(QStringLiteral("背景透明度“%1”不是 0 到 100 之间的数字。").arg(value));
        stored = QString::number(std::clamp(number, 0.0, 100.0));
    }
    for (auto& [key, text] : variables_) {
        if (key == name) {
            text = stored;
            return;
        }
    }
    variables_.append({name, stored});
}

QString AnimationPlayer::getVariable(const QString& name) const {
    if (name == kMarkerVariable)
        return loaded_ && !loaded_->movie.markers.isEmpty() ? loaded_->movie.markers.front() : QString();
    for (const auto& [key, text] : variables_) {
        if (key == name)
            return text;
    }
    return {};
}

QStringList AnimationPlayer::missingPictures() const {
    return loaded_ ? loaded_->pictures.missing() : QStringList();
}

void AnimationPlayer::reloadPictures() {
    if (!loaded_)
        return;
    loaded_->pictures = PictureSet(loaded_->movie, loaded_->folder, loaded_->provided, loaded_->name);
    loaded_->renderer.forgetRasters();
}

void AnimationPlayer::paint(QImage& surface) {
    surface.fill(background_);
    if (!loaded_)
        return;
    RenderOptions options;
    const QString numStop = getVariable(kNumStopVariable);
    if (!numStop.isEmpty())
        options.numStopOpacity = (100.0 - numStop.toDouble()) / 100.0;
    loaded_->renderer.render(surface, loaded_->movie.inPoint + frameNum(), options);
}

QImage AnimationPlayer::grabFrame(const QSize& size) {
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    paint(frame);
    return frame;
}

} // namespace lumiset
