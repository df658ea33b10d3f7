// Renders photos into pictures on worker threads (several at once), so that the interface thread never
// waits for a decoder. Each call of render() is a batch that replaces the one before: pictures of an older
// batch that finish late are dropped, never shown in a newer page.
#pragma once

#include "photos/ThumbnailLoader.h"

#include <QCache>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRect>
#include <QThreadPool>
#include <atomic>
#include <memory>

namespace lumiset::ui {

struct PictureRequest {
    QString path;
    QSize panel; // the picture's size: white, with the photo fitted into `area`
    QRect area;
};

class PictureRenderer : public QObject {
    Q_OBJECT
public:
    explicit PictureRenderer(const ThumbnailLoader& loader, QObject* parent = nullptr);
    // Drops what has not started and waits for what has (a few decodes at most).
    ~PictureRenderer() override;

    // Starts a batch; `rendered` arrives once per request, in any order, on this object's thread.
    void render(const QList<PictureRequest>& requests);
    // Drops the current batch.
    void cancel();
    // Requests of the current batch not yet delivered.
    int pending() const { return pending_; }

signals:
    void rendered(int index, const QImage& picture, const QString& message);
    void batchFinished();

private:
    void deliver(quint64 batch, int index, const QImage& picture, const QString& message, const QString& key);

    const ThumbnailLoader& loader_;
    QThreadPool pool_;
    std::shared_ptr<std::atomic<quint64>> batch_;
    int pending_ = 0;
    static constexpr int kKeptPixels = 4 * 1024 * 1024; // the cache's cost is the pictures' pixels
    QCache<QString, QImage> kept_{kKeptPixels};
};

} // namespace lumiset::ui
