#include "ui/PictureRenderer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

namespace lumiset::ui {

namespace {

// What a picture depends on: the request and the file as it is now.
QString KeyOf(const PictureRequest& request) {
    const QFileInfo file(request.path);
    return QStringLiteral("%1|%2|%3|%4x%5|%6,%7,%8x%9")
        .arg(request.path)
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch())
        .arg(request.panel.width())
        .arg(request.panel.height())
        .arg(request.area.x())
        .arg(request.area.y())
        .arg(request.area.width())
        .arg(request.area.height());
}

} // namespace

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
        const QString key = KeyOf(requests[index]);
        if (const QImage* kept = kept_.object(key)) {
            // Delivered like a rendered picture, after render() has returned.
            QMetaObject::invokeMethod(
                this, [this, batch, index, picture = *kept] { deliver(batch, index, picture, {}, {}); },
                Qt::QueuedConnection);
            continue;
        }
        pool_.start([this, batch, index, key, request = requests[index], current = batch_] {
            if (*current != batch) // superseded before it started
                return;
            ThumbnailStatus status;
            const QImage picture = loader_.renderPanel(request.path, request.panel, request.area, &status);
            // The renderer outlives the pool's tasks (its destructor waits for them), so `this` is valid.
            QMetaObject::invokeMethod(
                this,
                [this, batch, index, picture, key, message = status.message] {
                    deliver(batch, index, picture, message, key);
                },
                Qt::QueuedConnection);
        });
    }
    if (requests.isEmpty())
        emit batchFinished();
}

void PictureRenderer::deliver(quint64 batch, int index, const QImage& picture, const QString& message,
                              const QString& key) {
    // Only pictures that show their photo are kept: a placeholder is tried again next time.
    if (!key.isEmpty() && message.isEmpty())
        kept_.insert(key, new QImage(picture),
                     qMax<qsizetype>(1, qsizetype(picture.width()) * picture.height()));
    if (batch != *batch_)
        return;
    --pending_;
    emit rendered(index, picture, message);
    if (pending_ == 0)
        emit batchFinished();
}

} // namespace lumiset::ui
