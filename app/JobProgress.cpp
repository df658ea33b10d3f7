#include "app/JobProgress.h"

#include "app/TextOutput.h"
#include "core/JobRunner.h"

#include <QTimer>
#include <atomic>
#include <csignal>

namespace lumiset::app {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

// Restores the previous Ctrl-C handler when the job ends.
class InterruptWatch {
public:
    InterruptWatch() : previous_(std::signal(SIGINT, onInterrupt)) { interrupted.store(false); }
    ~InterruptWatch() { std::signal(SIGINT, previous_); }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    void (*previous_)(int);
};

} // namespace

Album RunJobWithProgress(const Album& album, const AlbumJob& job) {
    JobRunner runner;
    // One line for every tenth of the way of each stage.
    QString last;
    QObject::connect(&runner, &JobRunner::progress, [&last](int position, int maximum, const QString& text) {
        if (maximum <= 0)
            return;
        const QString step = QStringLiteral("%1/%2/%3").arg(text).arg(maximum).arg(position * 10 / maximum);
        if (step == last)
            return;
        last = step;
        printError(QStringLiteral("[%1/%2] %3").arg(position).arg(maximum).arg(text));
    });
    InterruptWatch watch;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&runner] {
        if (interrupted.load())
            runner.requestStop();
    });
    poll.start(50);
    const JobOutcome outcome = runner.run(album, job);
    poll.stop();

    switch (outcome.status) {
    case JobOutcome::Status::Done:
        for (const QString& m : outcome.messages)
            printError(m);
        return outcome.album ? *outcome.album : album;
    case JobOutcome::Status::NeedsAnswer:
        throw Error(outcome.question->text, outcome.question->caption);
    case JobOutcome::Status::Stopped:
    case JobOutcome::Status::Failed:
        break;
    }
    throw Error(outcome.messages.join(u'\n'), outcome.caption);
}

} // namespace lumiset::app
