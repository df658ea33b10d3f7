// The shipped movies as the player shows them: each loads, starts exactly on the previous page,
// shows every photo of its slots at some point, and shows its background where "num_stop" reaches it.
#include "core/TextHelpers.h"
#include "player/AnimationPlayer.h"
#include "tests/data/ShippedData.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

const QSize kSurface(192, 108);
const QColor kPrevious(255, 128, 0);
const QColor kBackground(200, 30, 30);
// Saturated colours no design uses, one per photo slot.
const QColor kPhotoColours[] = {QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 0, 255),
                                QColor(0, 255, 255)};

QByteArray solidJpeg(const QColor& colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 100);
    return bytes;
}

// Photos may lie under a light tint (an old-film flicker, a light sweep), hence the wide tolerance.
bool near(QRgb pixel, const QColor& colour, int tolerance = 110) {
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <=
           tolerance;
}

double shareOf(const QImage& frame, const QColor& colour) {
    int hits = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            hits += near(frame.pixel(x, y), colour) ? 1 : 0;
    return double(hits) / (frame.width() * frame.height());
}

// A movie's folder as the preparation leaves it: one picture per slot name, the background, and the
// hand-over picture in the pic folder two levels up.
class PreparedMovie {
public:
    PreparedMovie(const QJsonObject& movie, const QStringList& pictures, const QString& name) {
        int photo = 0;
        for (const QString& picture : pictures)
            tree_.write("a/b/" + picture + ".jpg", solidJpeg(kPhotoColours[photo++ % 4], {64, 64}));
        tree_.write("a/b/wj_y_l_b_j.jpg", solidJpeg(kBackground, {64, 36}));
        tree_.write("pic/picture_0.jpg", solidJpeg(kPrevious, {64, 36}));
        player_.setMovieData(QJsonDocument(movie).toJson(), tree_.file("a/b"), name);
    }
    explicit PreparedMovie(const ShippedTemplate& t)
        : PreparedMovie(t.movie, SplitBarList(t.parameters.value("1", "xpjpgmc")), t.animationPackage) {}
    AnimationPlayer& player() { return player_; }
    QImage frame(int n) {
        player_.setFrameNum(n);
        return player_.grabFrame(kSurface).convertToFormat(QImage::Format_RGB32);
    }

private:
    TempTree tree_;
    AnimationPlayer player_;
};

class ShippedPlayback : public ::testing::Test {
protected:
    static void SetUpTestSuite() { templates_ = new std::vector<ShippedTemplate>(LoadShippedTemplates()); }
    static void TearDownTestSuite() { delete templates_; }
    static const std::vector<ShippedTemplate>& templates() { return *templates_; }

private:
    static std::vector<ShippedTemplate>* templates_;
};

std::vector<ShippedTemplate>* ShippedPlayback::templates_ = nullptr;

} // namespace

TEST_F(ShippedPlayback, LoadsWithEveryPictureAndTheMarker) {
    ASSERT_FALSE(templates().empty());
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        PreparedMovie prepared(t);
        EXPECT_EQ(prepared.player().missingPictures(), QStringList());
        EXPECT_EQ(prepared.player().getVariable(kMarkerVariable), "k_r_v_t_s_y_l_x");
        EXPECT_EQ(QString::number(prepared.player().totalFrames()), t.parameters.value("1", "mbdx"));
    }
}

TEST_F(ShippedPlayback, StartsOnThePreviousPageAndShowsEveryPhoto) {
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        PreparedMovie prepared(t);
        // The hand-over: no jump between the previous page's last frame and this first one.
        EXPECT_GT(shareOf(prepared.frame(0), kPrevious), 0.99);
        const int photos = t.parameters.value("1", "xpsl").toInt();
        std::vector<double> seen(photos, 0.0);
        const int frames = prepared.player().totalFrames();
        for (int f = 0; f < frames; f += 12) {
            const QImage frame = prepared.frame(f);
            for (int p = 0; p < photos; ++p)
                seen[p] = std::max(seen[p], shareOf(frame, kPhotoColours[p % 4]));
        }
        for (int p = 0; p < photos; ++p)
            EXPECT_GT(seen[p], 0.04) << "photo " << p + 1 << " is never shown large enough";
    }
}

TEST_F(ShippedPlayback, BackgroundTransparencyReachesTheBackgroundLayer) {
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        PreparedMovie prepared(t);
        const int last = prepared.player().totalFrames() - 1;
        prepared.player().setVariable(kNumStopVariable, "0");
        const QImage opaque = prepared.frame(last);
        prepared.player().setVariable(kNumStopVariable, "100");
        EXPECT_NE(opaque, prepared.frame(last)) << "the background is hidden on the last frame";
    }
}

TEST(SpecialPlayback, StartUpEndingAndBackgroundPreviewPlay) {
    const DataPaths paths = ShippedPaths();
    PreparedMovie startup(LoadMovie(paths.startupPackage(), 13), {}, paths.startupPackage());
    EXPECT_EQ(startup.player().getVariable(kMarkerVariable), "k_r_v_t_s_y_l_x");
    EXPECT_NE(startup.frame(0), startup.frame(startup.player().totalFrames() - 1)) << "the logo appears";

    // The ending takes over the album's last frame and closes on black.
    PreparedMovie ending(LoadMovie(paths.endingPackage(), 16), {}, paths.endingPackage());
    EXPECT_EQ(ending.player().totalFrames(), 150);
    EXPECT_EQ(ending.player().missingPictures(), QStringList());
    EXPECT_GT(shareOf(ending.frame(0), kPrevious), 0.99);
    EXPECT_GT(shareOf(ending.frame(149), Qt::black), 0.99);

    PreparedMovie preview(LoadMovie(paths.backgroundPreviewPackage(), 6), {},
                          paths.backgroundPreviewPackage());
    EXPECT_EQ(preview.player().missingPictures(), QStringList());
    preview.player().setVariable(kNumStopVariable, "0");
    EXPECT_GT(shareOf(preview.frame(0), kBackground), 0.9);
    preview.player().setVariable(kNumStopVariable, "100");
    EXPECT_LT(shareOf(preview.frame(0), kBackground), 0.1);
}
