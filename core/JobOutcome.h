// What a job hands back: the new album, or that it was stopped, failed or needs an answer first, with
// the messages to show in order. One type for every long job, so the windows and the command line have
// one way to show an outcome and the document one way to apply it.
#pragma once

#include "core/Album.h"
#include "core/Error.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lumiset {

class Job;

// A yes/no question the user answers before a job starts (or before it is run again).
struct Question {
    QString caption;
    QString text;
};

struct JobOutcome {
    enum class Status { Done, Stopped, Failed, NeedsAnswer };

    Status status = Status::Done;
    std::optional<Album> album; // Done: the new album; none when the job had nothing to change
    QStringList messages;       // to show, in order
    QString caption;            // of the failure's message box, when it has one
    std::optional<Question> question;

    static JobOutcome done(Album album, QStringList messages = {}) {
        return {Status::Done, std::move(album), std::move(messages), {}, {}};
    }
    static JobOutcome unchanged(QStringList messages = {}) {
        return {Status::Done, std::nullopt, std::move(messages), {}, {}};
    }
    static JobOutcome stopped(QStringList messages = {}) {
        return {Status::Stopped, std::nullopt, std::move(messages), {}, {}};
    }
    static JobOutcome failed(const Error& error) {
        return {Status::Failed, std::nullopt, {error.message()}, error.caption(), {}};
    }
    static JobOutcome needsAnswer(Question question) {
        return {Status::NeedsAnswer, std::nullopt, {}, {}, std::move(question)};
    }

    bool isDone() const { return status == Status::Done; }
    bool isStopped() const { return status == Status::Stopped; }
};

// What a one-step operation on the interface thread hands back (a deletion after its confirmation, an
// added list row): whether it changed the album, and the messages to show in order.
struct EditResult {
    bool changed = false; // false when the user did not confirm or nothing applied: the album is unchanged
    QStringList messages;
};

// A job: works on its own copy of the album and returns the outcome; it reports progress and looks for
// a stop request through `control`. It never asks the user anything while it runs.
using AlbumJob = std::function<JobOutcome(const Album& album, Job& control)>;

} // namespace lumiset
