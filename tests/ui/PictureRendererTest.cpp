#include "ui/PictureRenderer.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "tests/ui/ModalDriver.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;

namespace {

const QSize kPanel(40, 30);

QByteArray Plain(QColor colour, QSize size = QSize(80, 60)) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return EncodeJpeg(picture);
}

// The pictures of one batch by index, once all have arrived.
QMap<int, QImage> Draw(PictureRenderer& renderer, const QList<PictureRequest>& requests) {
    QMap<int, QImage> pictures;
    auto connection = QObject::connect(
        &renderer, &PictureRenderer::rendered,
        [&](int index, const QImage& picture, const QString&) { pictures[index] = picture; });
    renderer.render(requests);
    EXPECT_TRUE(WaitFor([&] { return renderer.pending() == 0; }));
    QObject::disconnect(connection);
    return pictures;
}

bool Reddish(const QImage& picture) {
    const QColor centre = picture.pixelColor(picture.rect().center());
    return centre.red() > 200 && centre.blue() < 60;
}

} // namespace

TEST(PictureRenderer, DeliversEveryPictureOfTheBatchAtItsIndex) {
    TempTree tree;
    const ThumbnailLoader loader;
    PictureRenderer renderer(loader);
    const QRect area(0, 0, 40, 30);
    const QMap<int, QImage> pictures =
        Draw(renderer, {{tree.write("red.jpg", Plain(Qt::red)), kPanel, area},
                        {tree.write("blue.jpg", Plain(Qt::blue)), kPanel, area}});
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_TRUE(Reddish(pictures[0]));
    EXPECT_FALSE(Reddish(pictures[1]));
    EXPECT_EQ(pictures[1].size(), kPanel);
}

TEST(PictureRenderer, AFileChangedSinceItWasDrawnIsDrawnAgain) {
    TempTree tree;
    const ThumbnailLoader loader;
    PictureRenderer renderer(loader);
    const QString path = tree.write("photo.jpg", Plain(Qt::red));
    const QList<PictureRequest> request{{path, kPanel, QRect(0, 0, 40, 30)}};
    EXPECT_TRUE(Reddish(Draw(renderer, request).value(0)));
    EXPECT_TRUE(Reddish(Draw(renderer, request).value(0))) << "kept";
    tree.write("photo.jpg", Plain(Qt::blue, QSize(90, 60)));
    EXPECT_FALSE(Reddish(Draw(renderer, request).value(0)));
}

TEST(PictureRenderer, ANewBatchDropsThePicturesOfTheOneBefore) {
    TempTree tree;
    const ThumbnailLoader loader;
    PictureRenderer renderer(loader);
    QList<PictureRequest> old;
    for (int i = 0; i < 8; ++i)
        old.append(
            {tree.write(QStringLiteral("old%1.jpg").arg(i), Plain(Qt::red)), kPanel, QRect(0, 0, 40, 30)});
    renderer.render(old);
    const QMap<int, QImage> pictures =
        Draw(renderer, {{tree.write("new.jpg", Plain(Qt::blue)), kPanel, QRect(0, 0, 40, 30)}});
    QSignalSpy late(&renderer, &PictureRenderer::rendered);
    QThread::msleep(100);
    QCoreApplication::processEvents();
    EXPECT_EQ(pictures.keys(), QList<int>{0});
    EXPECT_FALSE(Reddish(pictures.value(0)));
    EXPECT_EQ(late.count(), 0);
}
