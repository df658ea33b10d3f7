// The progress window (TForm13): runs one long job (import, matching, thumbnails) on a worker thread
// while it is shown modally, with its caption in the title, a moving bar (ProgressBar1), the job's step
// text (Label_buzhou) and "停止" (Button_tingzhi). The interface keeps answering throughout; a stop is
// seen by the job at its next check and leaves the album as it was. The close button is a picture only:
// the window closes when the job has ended.
#pragma once
#include "core/JobOutcome.h"
#include "core/JobRunner.h"
#include "ui/FramedWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace lumiset::ui {

class ProgressWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    // Runs `job` on a copy of `album` and returns its outcome once it has ended.
    JobOutcome run(const QString& caption, const Album& album, AlbumJob job);
    bool isWorking() const { return runner_.isRunning(); }
    // Asks the job to stop (what "停止" does); the window closes when the job has ended.
    void requestStop();
    // Declines while the job runs: Escape and close requests do not leave a job without its window.
    void reject() override;

private:
    void showProgress(int position, int maximum, const QString& text);
    JobRunner runner_;
    QProgressBar* bar_;
    QLabel* step_;
    QPushButton* stop_;
    JobOutcome outcome_;
};

// Runs `job` in a progress window titled `caption` over `parent`.
JobOutcome RunInProgressWindow(QWidget* parent, const QString& caption, const Album& album, AlbumJob job);

// Shows the outcome's messages in the message box, one after the other; a failure's under its caption.
void ShowOutcomeMessages(QWidget* parent, const JobOutcome& outcome);

} // namespace lumiset::ui
