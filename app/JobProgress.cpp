#include "app/JobProgress.h"

#include "app/TextOutput.h"
#include "core/JobRunner.h"

#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace lumiset::app {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

// Ctrl-C and SIGTERM ask the job to stop; the previous handlers come back when the job ends.
class InterruptWatch {
public:
    InterruptWatch()
        : previousInterrupt_(std::signal(SIGINT, onInterrupt)),
          previousTerminate_(std::signal(SIGTERM, onInterrupt)) {
        interrupted.store(false);
    }
    ~InterruptWatch() {
        std::signal(SIGINT, previousInterrupt_);
        std::signal(SIGTERM, previousTerminate_);
    }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    void (*previousInterrupt_)(int);
    void (*previousTerminate_)(int);
};

// On a terminal one line that updates in place; otherwise a plain line for every tenth of each stage.
class ProgressPrinter {
public:
    ProgressPrinter() : terminal_(isatty(STDERR_FILENO) == 1) {}
    ~ProgressPrinter() { endLine(); }

    void show(int position, int maximum, const QString& text) {
        if (maximum <= 0)
            return;
        if (terminal_) {
            const QString line = QStringLiteral("\r[%1/%2] %3 %4%")
                                     .arg(QString::number(position), QString::number(maximum), text,
                                          QString::number(qint64(position) * 100 / maximum));
            if (line != last_) {
                std::fputs(line.toLocal8Bit().constData(), stderr);
                std::fflush(stderr);
                last_ = line;
            }
            return;
        }
        const QString step =
            QStringLiteral("%1/%2/%3").arg(text).arg(maximum).arg(qint64(position) * 10 / maximum);
        if (step == last_)
            return;
        last_ = step;
        printError(QStringLiteral("[%1/%2] %3").arg(position).arg(maximum).arg(text));
    }
    void endLine() {
        if (terminal_ && !last_.isEmpty())
            std::fputs("\n", stderr);
        last_.clear();
    }

private:
    bool terminal_;
    QString last_;
};

} // namespace

Album RunJobWithProgress(const Album& album, const AlbumJob& job) {
    JobRunner runner;
    ProgressPrinter printer;
    QObject::connect(&runner, &JobRunner::progress,
                     [&printer](int position, int maximum, const QString& text) {
                         printer.show(position, maximum, text);
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
    printer.endLine();

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
