#include "ui/startup/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace lumiset::ui {

SingleInstanceLock::SingleInstanceLock(const QString& path) : path_(path), lock_(path) {
    // A running copy holds its lock however long it runs; only a dead holder makes a lock stale.
    lock_.setStaleLockTime(0);
}

QString SingleInstanceLock::defaultPath() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/Lumiset.lock");
    return QDir::tempPath() + QStringLiteral("/Lumiset-%1.lock").arg(getuid());
}

SingleInstanceLock::Outcome SingleInstanceLock::acquire() {
    if (lock_.tryLock(0))
        return Outcome::Acquired;
    return lock_.error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere : Outcome::Unavailable;
}

} // namespace lumiset::ui
