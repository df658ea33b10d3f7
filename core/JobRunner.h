// Runs one job at a time on a worker thread, for the windows and the command line alike. Progress
// reaches the runner's thread by queued signals; a stop request is seen by the job at its next check.
// The job works on its own copy of the album, so the interface thread may read the document meanwhile.
#pragma once

#include "core/Job.h"
#include "core/JobOutcome.h"

#include <QObject>
#include <memory>
#include <thread>

namespace lumiset {

class JobRunner : public QObject {
    Q_OBJECT
public:
    explicit JobRunner(QObject* parent = nullptr);
    // Stops a running job and waits for it.
    ~JobRunner() override;

    // Starts `job` on `album` (a copy). Throws Error while another job runs.
    void start(Album album, AlbumJob job);
    // Runs `job` to its end while this thread keeps processing events (the command line's way; a window
    // uses start() and the finished signal).
    JobOutcome run(Album album, AlbumJob job);

    bool isRunning() const { return worker_.joinable(); }
    // Thread-safe; the job stops at its next check and finishes with a stopped outcome.
    void requestStop();

signals:
    void progress(int position, int maximum, const QString& text);
    void finished(const lumiset::JobOutcome& outcome);

private:
    void join();

    std::thread worker_;
    std::shared_ptr<Job> control_;
};

// Runs `job` on `album` on the calling thread, turning every exception into a failed outcome (the
// worker's body; also what tests use to run a job directly).
JobOutcome RunJobHere(const Album& album, const AlbumJob& job, Job& control);

} // namespace lumiset

Q_DECLARE_METATYPE(lumiset::JobOutcome)
