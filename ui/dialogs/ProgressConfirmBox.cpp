#include "ui/dialogs/ProgressConfirmBox.h"

#include "core/Album.h"
#include "ui/dialogs/MessageBox.h"

#include <QProgressBar>
#include <QPushButton>

namespace lumiset::ui {

namespace {

constexpr int kBarHeight = 6;
constexpr int kBarAboveEdge = 5; // the bar sits on the bottom edge picture

} // namespace

ProgressConfirmBox::ProgressConfirmBox(QWidget* parent, ConfirmedWork work)
    : MessageFrame(parent, QSize(731, 234), kBarHeight), work_(std::move(work)),
      ok_(addButton("Button3", QStringLiteral("确定"))),
      cancel_(addButton("Button4", QStringLiteral("取消"))), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("TForm16"));
    ok_->setDefault(true);
    bar_->setObjectName(QStringLiteral("ProgressBar_linshiwenjian_01"));
    bar_->setTextVisible(false);
    bar_->setFixedHeight(kBarHeight);
    bar_->setRange(0, 1); // an empty track; 0…0 would make Qt show a busy animation
    bar_->setValue(0);

    connect(ok_, &QPushButton::clicked, this, &ProgressConfirmBox::startWork);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&runner_, &JobRunner::progress, this, [this](int position, int maximum, const QString&) {
        bar_->setRange(0, qMax(1, maximum));
        bar_->setValue(qBound(0, position, qMax(1, maximum)));
    });
    connect(&runner_, &JobRunner::finished, this, &ProgressConfirmBox::workEnded);
}

void ProgressConfirmBox::resizeEvent(QResizeEvent* event) {
    MessageFrame::resizeEvent(event);
    bar_->setGeometry(0, height() - kBarAboveEdge - kBarHeight, width(), kBarHeight);
    bar_->raise();
}

void ProgressConfirmBox::reject() {
    if (!isWorking())
        MessageFrame::reject();
}

bool ProgressConfirmBox::ask(const QString& caption, const QString& question) {
    confirmed_ = false;
    setWindowTitle(caption);
    setMessage(question);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    exec();
    return confirmed_;
}

void ProgressConfirmBox::startWork() {
    if (isWorking())
        return;
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    const ConfirmedWork work = work_;
    runner_.start(Album(), [work](const Album&, Job& control) {
        if (work)
            work(control);
        return JobOutcome::unchanged();
    });
}

void ProgressConfirmBox::workEnded(const JobOutcome& outcome) {
    confirmed_ = true;
    bar_->setValue(bar_->maximum());
    if (outcome.status == JobOutcome::Status::Failed)
        ShowMessage(this, outcome.messages.join(u'\n'), outcome.caption);
    ok_->setEnabled(true);
    cancel_->setEnabled(true);
    accept();
}

bool ConfirmAndRun(QWidget* parent, const QString& caption, const QString& question, ConfirmedWork work) {
    ProgressConfirmBox box(parent, std::move(work));
    return box.ask(caption, question);
}

} // namespace lumiset::ui
