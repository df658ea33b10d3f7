#include "tests/player/FrameCompare.h"

#include "player/AnimationPlayer.h"

#include <QCryptographicHash>
#include <QDir>
#include <cmath>
#include <rlottie.h>

namespace lumiset::test {

QImage RenderWithPlayer(const QByteArray& json, QSize size, int frame, const QString& folder) {
    AnimationPlayer player;
    player.setMovieData(json, folder, QStringLiteral("test.rar"));
    player.setBackground(Qt::transparent);
    player.setFrameNum(frame);
    return player.grabFrame(size);
}

QImage RenderWithRlottie(const QByteArray& json, QSize size, int frame) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // rlottie keeps parsed movies by key; a key per content keeps movies apart.
    const QByteArray key = QCryptographicHash::hash(json, QCryptographicHash::Sha1).toHex();
    auto animation = rlottie::Animation::loadFromData(json.toStdString(), key.toStdString(), "", false);
    if (!animation)
        return {};
    rlottie::Surface surface(reinterpret_cast<uint32_t*>(image.bits()), size_t(size.width()),
                             size_t(size.height()), size_t(image.bytesPerLine()));
    animation->renderSync(size_t(frame), surface, false);
    return image;
}

double MeanDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col])) + std::abs(qAlpha(p[col]) - qAlpha(q[col]));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

QPointF OpaqueCentroid(const QImage& image) {
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            sx += (x + 0.5) * alpha;
            sy += (y + 0.5) * alpha;
            n += alpha;
        }
    }
    return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

QRect PaintedArea(const QImage& image, QRgb background) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int difference =
                std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                std::abs(qBlue(p) - qBlue(background)) + std::abs(qAlpha(p) - qAlpha(background));
            if (difference > 24)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

void SaveForLooking(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("LUMISET_TEST_FRAMES");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(name + ".png"));
}

} // namespace lumiset::test
