// Scripts the user of modal windows in a test. Each showing of a modal window while the driver lives
// gets the next action, run as soon as the window is the active modal widget (the window stays open
// until the action closes it; a window shown again counts as a new showing). Whatever is still modal when the
// time limit runs out is closed and the test fails, so a broken check fails instead of hanging the run.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

namespace lumiset::test {

class ModalDriver : public QObject {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalDriver(QList<Action> actions, std::chrono::milliseconds limit = std::chrono::seconds(10));
    explicit ModalDriver(Action action) : ModalDriver(QList<Action>{std::move(action)}) {}

    // How many showings got their action.
    int acted() const { return acted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();
    void closeWhatIsLeft();

    QList<Action> actions_;
    int acted_ = 0;
    QList<QPointer<QWidget>> open_; // acted on and still shown
    std::chrono::milliseconds limit_;
    QElapsedTimer clock_;
    QTimer timer_;
};

// Runs the event loop until `done` holds or `ms` milliseconds have passed; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

} // namespace lumiset::test
