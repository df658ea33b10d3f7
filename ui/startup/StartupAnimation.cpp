#include "ui/startup/StartupAnimation.h"

#include "core/DataPaths.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/Session.h"
#include "core/TemplateCatalogue.h"
#include "player/AnimationPlayer.h"

#include <QDir>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <mutex>

namespace lumiset::ui {

namespace {

constexpr int kFrameIntervalMs = 40; // 25 frames a second, the movie's rate

std::unique_ptr<AnimationPlayer> loadStartupMovie(const DataPaths& paths) {
    const QString package = paths.startupPackage();
    const QString name = QDir::toNativeSeparators(package);
    const QByteArray movie = DecodePackageToMemory(package, PackageLayers::Startup);
    auto player = std::make_unique<AnimationPlayer>();
    player->setMovieData(movie, QString(), name);
    if (player->getVariable(kMarkerVariable) != kTemplateMarker)
        throw Error(QStringLiteral("启动动画 %1 不是本软件的文件").arg(name));
    player->setFrameNum(player->totalFrames());
    player->setFrameNum(0);
    player->play();
    return player;
}

} // namespace

// What the box and its renderer share across the two threads.
struct StartupAnimation::Shared {
    std::mutex mutex;
    QSize pixels; // the surface in device pixels
    qreal pixelRatio = 1;
    std::atomic<bool> visible{false};
    std::atomic<bool> frameWaiting{false}; // rendered, not yet taken by the interface thread
};

// The player: draws the latest frame over its whole area.
class StartupAnimation::Surface : public QWidget {
public:
    using QWidget::QWidget;
    void setFrame(const QImage& frame) {
        frame_ = frame;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (frame_.isNull()) {
            p.fillRect(rect(), Qt::black);
            return;
        }
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(rect()), frame_);
    }

private:
    QImage frame_;
};

// Lives on the animation's own thread with the player; renders a frame whenever the movie's clock has
// moved on and the last frame has been taken.
class StartupAnimation::Renderer : public QObject {
public:
    using Deliver = std::function<void(QImage)>;
    Renderer(std::unique_ptr<AnimationPlayer> player, std::shared_ptr<Shared> shared, Deliver deliver)
        : player_(std::move(player)), shared_(std::move(shared)), deliver_(std::move(deliver)) {}

    void begin() {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, &Renderer::renderWhenDue);
        timer->start(kFrameIntervalMs);
        renderWhenDue();
    }

private:
    void renderWhenDue() {
        if (!shared_->visible.load() || shared_->frameWaiting.load())
            return;
        QSize pixels;
        qreal ratio = 1;
        {
            std::lock_guard lock(shared_->mutex);
            pixels = shared_->pixels;
            ratio = shared_->pixelRatio;
        }
        const int frame = player_->frameNum();
        if (pixels.isEmpty() || (frame == lastFrame_ && pixels == lastPixels_))
            return;
        QImage image = player_->grabFrame(pixels);
        image.setDevicePixelRatio(ratio);
        lastFrame_ = frame;
        lastPixels_ = pixels;
        shared_->frameWaiting.store(true);
        deliver_(std::move(image));
    }

    std::unique_ptr<AnimationPlayer> player_;
    std::shared_ptr<Shared> shared_;
    Deliver deliver_;
    int lastFrame_ = -1;
    QSize lastPixels_;
};

StartupAnimation* StartupAnimation::cover(QWidget* view, const DataPaths& paths, Session& session) {
    Q_ASSERT(view);
    std::unique_ptr<AnimationPlayer> player;
    try {
        player = loadStartupMovie(paths);
    } catch (const std::exception& e) {
        // The program works without its welcome; the original closed here, we do not.
        const QString why = dynamic_cast<const Error*>(&e) ? static_cast<const Error&>(e).message()
                                                           : QString::fromLocal8Bit(e.what());
        qWarning("lumiset: no start-up animation: %s", qPrintable(why));
        session.state.Edit_ShockwaveFlash_qi_dong_dong_hua = QStringLiteral("1");
        return nullptr;
    }
    auto* animation = new StartupAnimation(view, session);
    animation->play(std::move(player));
    session.state.Edit_ShockwaveFlash_qi_dong_dong_hua = QStringLiteral("0");
    return animation;
}

StartupAnimation::StartupAnimation(QWidget* view, Session& session)
    : QWidget(view), session_(session), player_(new Surface(this)), shared_(std::make_shared<Shared>()) {
    setObjectName(QStringLiteral("ScrollBox_qi_dong_dong_hua"));
    setFocusPolicy(Qt::NoFocus);
    player_->setObjectName(QStringLiteral("ShockwaveFlash_2"));
    player_->setFocusPolicy(Qt::NoFocus);
    // Clicks on the player reach the box, which keeps them from the view below.
    player_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(view->rect());
    player_->setGeometry(rect());
    view->installEventFilter(this);
    raise();
    show();
}

StartupAnimation::~StartupAnimation() {
    stopRendering();
}

void StartupAnimation::play(std::unique_ptr<AnimationPlayer> player) {
    publishSize();
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("startup animation"));
    auto* renderer = new Renderer(std::move(player), shared_, [this](QImage frame) {
        // The interface thread waits for this thread before the box goes, so `this` outlives the call.
        QMetaObject::invokeMethod(
            this, [this, frame] { showFrame(frame); }, Qt::QueuedConnection);
    });
    renderer->moveToThread(thread_);
    connect(thread_, &QThread::started, renderer, &Renderer::begin);
    connect(thread_, &QThread::finished, renderer, &QObject::deleteLater);
    thread_->start();
}

void StartupAnimation::showFrame(const QImage& frame) {
    shared_->frameWaiting.store(false);
    if (!thread_)
        return;
    player_->setFrame(frame);
    ++framesShown_;
}

void StartupAnimation::stop() {
    stopRendering();
    hide();
    session_.state.Edit_ShockwaveFlash_qi_dong_dong_hua = QStringLiteral("1");
    deleteLater();
}

// Waits at most for the frame being rendered; the renderer and its player are freed on their thread.
void StartupAnimation::stopRendering() {
    if (!thread_)
        return;
    thread_->quit();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

void StartupAnimation::publishSize() {
    std::lock_guard lock(shared_->mutex);
    shared_->pixelRatio = devicePixelRatioF();
    shared_->pixels = (QSizeF(size()) * shared_->pixelRatio).toSize();
}

bool StartupAnimation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        else if (event->type() == QEvent::ChildAdded && static_cast<QChildEvent*>(event)->child() != this)
            // What the view gets later goes under the animation, as long as it plays.
            QMetaObject::invokeMethod(this, &QWidget::raise, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void StartupAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    shared_->visible.store(true);
}

void StartupAnimation::hideEvent(QHideEvent* event) {
    shared_->visible.store(false);
    QWidget::hideEvent(event);
}

void StartupAnimation::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    player_->setGeometry(rect());
    publishSize();
}

void StartupAnimation::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void StartupAnimation::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}
void StartupAnimation::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}
void StartupAnimation::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}
void StartupAnimation::wheelEvent(QWheelEvent* event) {
    event->accept();
}

} // namespace lumiset::ui
