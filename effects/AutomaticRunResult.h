// What an automatic effect placement reports back to the window, the photo import or the command line.
// A run either completes and its effects are in the album, or it changes nothing at all.
#pragma once

#include <QString>
#include <QStringList>

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

} // namespace lumiset
