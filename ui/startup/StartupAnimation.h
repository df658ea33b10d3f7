// The start-up animation: the start-up movie (the 13-layer start-up package, a Lottie movie) playing in
// a loop over the main view until the user first opens the photo window. The box
// ScrollBox_qi_dong_dong_hua covers the view exactly and follows its size; inside it the player
// ShockwaveFlash_2 shows the frames. It takes no input: clicks on it reach neither it nor the view below.
//
// Frames are rendered on a worker thread of its own at the movie's rate and shown by the interface
// thread, which only draws the finished picture. A frame is rendered only when the last one has been
// shown, so a busy interface never piles frames up.
#pragma once

#include <QWidget>
#include <memory>

class QThread;

namespace lumiset {
class AnimationPlayer;
class DataPaths;
class Session;
} // namespace lumiset

namespace lumiset::ui {

class StartupAnimation : public QWidget {
    Q_OBJECT
public:
    // Covers `view` with the playing start-up movie and sets the session's
    // Edit_ShockwaveFlash_qi_dong_dong_hua to "0". A start-up package that is missing, damaged or not
    // ours gives no animation: a warning in the log, the flag "1", and null.
    static StartupAnimation* cover(QWidget* view, const DataPaths& paths, Session& session);
    ~StartupAnimation() override;

    // Stops the movie, hides the box and frees it (later, from the event loop), and sets
    // Edit_ShockwaveFlash_qi_dong_dong_hua to "1". Holders of the pointer must drop it.
    void stop();

    // Frames shown since the movie started.
    int framesShown() const { return framesShown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    class Surface;
    class Renderer;
    struct Shared;
    StartupAnimation(QWidget* view, Session& session);
    void play(std::unique_ptr<AnimationPlayer> player);
    void showFrame(const QImage& frame);
    void stopRendering();
    void publishSize();

    Session& session_;
    Surface* player_; // ShockwaveFlash_2
    std::shared_ptr<Shared> shared_;
    QThread* thread_ = nullptr;
    int framesShown_ = 0;
};

} // namespace lumiset::ui
