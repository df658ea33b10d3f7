// The progress confirmation box (TForm16): a question with "确定" (Button3) and "取消" (Button4) whose
// "确定" runs a piece of work (leaving the program: clearing the work folders) and shows its progress on
// the thin bar ProgressBar_linshiwenjian_01 along the bottom edge.
//
// While the work runs, the buttons, the close button, Escape and close() do nothing, and the interface keeps
// answering: the work runs on a worker thread (core/JobRunner.h) and reports through its Job. When it
// ends the box closes; a failure is shown in the message box first.
#pragma once

#include "core/Job.h"
#include "core/JobRunner.h"
#include "ui/dialogs/MessageFrame.h"

#include <functional>

class QProgressBar;
class QPushButton;

namespace lumiset::ui {

// The work behind "确定". Runs on a worker thread; reports (position, maximum) through `control`;
// throws Error when it fails.
using ConfirmedWork = std::function<void(const Job& control)>;

class ProgressConfirmBox : public MessageFrame {
    Q_OBJECT
public:
    ProgressConfirmBox(QWidget* parent, ConfirmedWork work);

    // Shows the question modally. True once the user chose "确定" and the work has ended (its failure,
    // if any, shown); false for "取消", the close button or Escape, with nothing done.
    bool ask(const QString& caption, const QString& question);
    bool isWorking() const { return runner_.isRunning(); }

    // Declines while the work runs: whatever asks (a button, the close button, Escape, close()), the box
    // stays until the work has ended.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void startWork();
    void workEnded(const JobOutcome& outcome);

    ConfirmedWork work_;
    JobRunner runner_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QProgressBar* bar_;
    bool confirmed_ = false;
};

// Asks `question` under `caption`; on "确定" runs `work` with its progress shown, then returns true.
bool ConfirmAndRun(QWidget* parent, const QString& caption, const QString& question, ConfirmedWork work);

} // namespace lumiset::ui
