#include "tests/ui/ModalDriver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <gtest/gtest.h>

namespace lumiset::test {

ModalDriver::ModalDriver(QList<Action> actions, std::chrono::milliseconds limit)
    : actions_(std::move(actions)), limit_(limit) {
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(5);
}

void ModalDriver::poll() {
    open_.removeAll(nullptr);
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !open_.contains(modal) && acted_ < actions_.size()) {
        open_.append(modal);
        modal->installEventFilter(this);
        actions_[acted_++](modal);
        return;
    }
    if (clock_.elapsed() > limit_.count())
        closeWhatIsLeft();
}

// A window hidden and shown again (a dialog reused between two questions) is a new showing.
bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide)
        open_.removeAll(watched);
    return false;
}

void ModalDriver::closeWhatIsLeft() {
    timer_.stop();
    for (int left = 10; left > 0 && QApplication::activeModalWidget(); --left) {
        QWidget* modal = QApplication::activeModalWidget();
        ADD_FAILURE() << "a modal window was left open: " << modal->objectName().toStdString() << " \""
                      << modal->windowTitle().toStdString() << "\"";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        if (modal->isVisible())
            modal->hide();
    }
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace lumiset::test
