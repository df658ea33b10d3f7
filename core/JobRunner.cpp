#include "core/JobRunner.h"

#include <QEventLoop>
#include <new>

namespace lumiset {

JobOutcome RunJobHere(const Album& album, const AlbumJob& job, Job& control) {
    try {
        JobOutcome outcome = job(album, control);
        // A job that saw the stop request late still changes nothing.
        if (control.stopRequested() && outcome.isDone())
            return JobOutcome::stopped(outcome.messages);
        return outcome;
    } catch (const Error& e) {
        return JobOutcome::failed(e);
    } catch (const std::bad_alloc&) {
        return JobOutcome::failed(Error(QStringLiteral("内存不足, 操作没有完成, 相册没有改变。")));
    } catch (const std::exception& e) {
        return JobOutcome::failed(
            Error(QStringLiteral("内部错误: %1 (相册没有改变)").arg(QString::fromLocal8Bit(e.what()))));
    }
}

JobRunner::JobRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<lumiset::JobOutcome>();
}

JobRunner::~JobRunner() {
    requestStop();
    join();
}

void JobRunner::join() {
    if (worker_.joinable())
        worker_.join();
}

void JobRunner::requestStop() {
    if (control_)
        control_->requestStop();
}

void JobRunner::start(Album album, AlbumJob job) {
    if (isRunning())
        throw Error(QStringLiteral("另一项操作正在进行, 请等它结束。"));
    // Progress hops to this object's thread; the job never waits for the interface.
    control_ = std::make_shared<Job>([this](int position, int maximum, const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, position, maximum, text] { emit progress(position, maximum, text); },
            Qt::QueuedConnection);
    });
    worker_ = std::thread([this, control = control_, album = std::move(album), job = std::move(job)] {
        JobOutcome outcome = RunJobHere(album, job, *control);
        QMetaObject::invokeMethod(
            this,
            [this, outcome = std::move(outcome)] {
                join();
                emit finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

JobOutcome JobRunner::run(Album album, AlbumJob job) {
    QEventLoop loop;
    JobOutcome result;
    const auto connection = connect(this, &JobRunner::finished, &loop, [&](const JobOutcome& outcome) {
        result = outcome;
        loop.quit();
    });
    start(std::move(album), std::move(job));
    loop.exec();
    disconnect(connection);
    return result;
}

} // namespace lumiset
