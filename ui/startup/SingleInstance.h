// One running copy of the program's windows per user: the second copy ends before it shows anything.
// The lock is a QLockFile named "Lumiset.lock" in the user's runtime folder ($XDG_RUNTIME_DIR, private to
// the user and emptied at logout), so two users of one machine never block each other. A lock left by a
// copy that was killed or crashed is recognised by its dead process and taken over.
// Only the windows take the lock; the headless subcommands run alongside a running program.
#pragma once

#include <QLockFile>
#include <QString>

namespace lumiset::ui {

class SingleInstanceLock {
public:
    enum class Outcome {
        Acquired,      // this copy is the only one
        HeldElsewhere, // another copy runs
        Unavailable,   // the lock file cannot be made (no writable runtime folder): run unguarded
    };

    explicit SingleInstanceLock(const QString& path = defaultPath());
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // <runtime folder>/Lumiset.lock; without a runtime folder, the temporary folder with the user's id in
    // the name.
    static QString defaultPath();

    // Tries once, without waiting. Held until this object is destroyed.
    Outcome acquire();
    QString path() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};

} // namespace lumiset::ui
