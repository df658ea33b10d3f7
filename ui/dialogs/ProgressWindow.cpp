#include "ui/dialogs/ProgressWindow.h"

#include "core/Album.h"
#include "ui/dialogs/MessageBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lumiset::ui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : FramedWindow(parent), bar_(new QProgressBar(body())), step_(new QLabel(body())),
      stop_(new QPushButton(QStringLiteral("停止"), body())) {
    setObjectName(QStringLiteral("TForm13"));
    setCloseAction({});
    setCursor(Qt::BusyCursor);
    resize(480, heightForBody(110));

    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setTextVisible(false);
    bar_->setFixedHeight(8);
    step_->setObjectName(QStringLiteral("Label_buzhou"));
    step_->setAlignment(Qt::AlignCenter);
    stop_->setObjectName(QStringLiteral("Button_tingzhi"));
    stop_->setFixedSize(75, 24);
    stop_->setCursor(Qt::ArrowCursor);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(24, 14, 24, 12);
    layout->addWidget(step_);
    layout->addWidget(bar_);
    layout->addStretch();
    layout->addWidget(stop_, 0, Qt::AlignHCenter);

    connect(stop_, &QPushButton::clicked, this, &ProgressWindow::requestStop);
    connect(&runner_, &JobRunner::progress, this, &ProgressWindow::showProgress);
    connect(&runner_, &JobRunner::finished, this, [this](const JobOutcome& outcome) {
        outcome_ = outcome;
        bar_->setValue(bar_->maximum());
        accept();
    });
}

void ProgressWindow::showProgress(int position, int maximum, const QString& text) {
    bar_->setRange(0, qMax(1, maximum));
    bar_->setValue(qBound(0, position, qMax(1, maximum)));
    if (!text.isEmpty())
        step_->setText(text);
}

void ProgressWindow::requestStop() {
    if (!isWorking())
        return;
    stop_->setEnabled(false);
    step_->setText(QStringLiteral("正在停止…"));
    runner_.requestStop();
}

void ProgressWindow::reject() {
    if (!isWorking())
        FramedWindow::reject();
}

JobOutcome ProgressWindow::run(const QString& caption, const Album& album, AlbumJob job) {
    setWindowTitle(caption);
    step_->setText(caption);
    bar_->setRange(0, 1); // an empty track; 0…0 would make Qt show a busy animation
    bar_->setValue(0);
    stop_->setEnabled(true);
    outcome_ = JobOutcome::stopped();
    // The job starts once the window is up, so even a job that ends at once finds the window to close.
    QTimer::singleShot(
        0, this, [this, album, job = std::move(job)]() mutable { runner_.start(album, std::move(job)); });
    exec();
    return outcome_;
}

JobOutcome RunInProgressWindow(QWidget* parent, const QString& caption, const Album& album, AlbumJob job) {
    ProgressWindow window(parent);
    return window.run(caption, album, std::move(job));
}

void ShowOutcomeMessages(QWidget* parent, const JobOutcome& outcome) {
    const bool failed = outcome.status == JobOutcome::Status::Failed;
    for (const QString& message : outcome.messages)
        ShowMessage(parent, message, failed ? outcome.caption : QString());
}

} // namespace lumiset::ui
