#include "ui/main_window/PictureRenderer.h"

#include <QMetaObject>
#include <QThread>

namespace lumiset::ui {

PictureRenderer::PictureRenderer(const ThumbnailLoader& loader, QObject* parent)
    : QObject(parent), loader_(loader), batch_(std::make_shared<std::atomic<quint64>>(0)) {
    pool_.setMaxThreadCount(qMax(2, QThread::idealThreadCount()));
}

PictureRenderer::~PictureRenderer() {
    ++*batch_;
    pool_.clear();
    pool_.waitForDone();
}

void PictureRenderer::cancel() {
    ++*batch_;
    pool_.clear();
    pending_ = 0;
}

void PictureRenderer::render(const QList<PictureRequest>& requests) {
    cancel();
    const quint64 batch = *batch_;
    pending_ = static_cast<int>(requests.size());
    for (int index = 0; index < requests.size(); ++index) {
        pool_.start([this, batch, index, request = requests[index], current = batch_] {
            if (*current != batch) // superseded before it started
                return;
            ThumbnailStatus status;
            const QImage picture = loader_.renderPanel(request.path, request.panel, request.area, &status);
            // The renderer outlives the pool's tasks (its destructor waits for them), so `this` is valid.
            QMetaObject::invokeMethod(
                this,
                [this, batch, index, picture, message = status.message] {
                    deliver(batch, index, picture, message);
                },
                Qt::QueuedConnection);
        });
    }
    if (requests.isEmpty())
        emit batchFinished();
}

void PictureRenderer::deliver(quint64 batch, int index, const QImage& picture, const QString& message) {
    if (batch != *batch_)
        return;
    --pending_;
    emit rendered(index, picture, message);
    if (pending_ == 0)
        emit batchFinished();
}

} // namespace lumiset::ui
