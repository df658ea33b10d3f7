// What an automatic effect placement reports back to the window, the photo import or the command line.
// A run either completes and its effects are in the album, or it changes nothing at all.
#pragma once

#include "core/Job.h"
#include "core/JobOutcome.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

struct AutomaticRunResult {
    bool started = false;   // false when a start check refused the run (the messages say why)
    bool completed = false; // the run went through and its effects are in the album
    bool stopped = false;   // stopped on request; the album is unchanged
    QString failure;        // why the run ended early; the album is unchanged
    QStringList messages;   // to show the user, in order (a hidden run shows none)
    QStringList notes;      // what the run had to leave out and why, for a summary
    int effectsAdded = 0;

    // A manual run ends with its completion message, or with the reason it ended early.
    void addEndMessage(const QString& completionMessage) {
        if (completed)
            messages.append(completionMessage);
        else if (!failure.isEmpty())
            messages.append(failure);
    }
};

// A run as a job for the job runner: `run` places effects into a copy of the album, and the copy is the
// outcome only when the run completed; a refused or failed run is a failed outcome with its messages.
inline AlbumJob AutomaticRunJob(std::function<AutomaticRunResult(Album&, const Job&)> run) {
    return [run = std::move(run)](const Album& album, Job& control) {
        Album work = album;
        const AutomaticRunResult result = run(work, control);
        if (result.stopped)
            return JobOutcome::stopped(result.messages);
        if (result.completed)
            return JobOutcome::done(std::move(work), result.messages);
        JobOutcome failed;
        failed.status = JobOutcome::Status::Failed;
        failed.messages = result.messages.isEmpty() && !result.failure.isEmpty() ? QStringList{result.failure}
                                                                                 : result.messages;
        return failed;
    };
}

} // namespace lumiset
