// Every shipped package decodes with exactly its layer count to the payload its kind needs.
#include "core/Folders.h"
#include "core/Package.h"
#include "tests/data/ShippedData.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

enum class Payload { Movie, Ini, Jpeg };

struct PackageKind {
    const char* what;
    QStringList (*packages)(const DataPaths&);
    int layers;
    Payload payload;
};

bool looksLike(const QByteArray& bytes, Payload payload) {
    switch (payload) {
    case Payload::Movie:
        return QJsonDocument::fromJson(bytes).isObject();
    case Payload::Ini:
        return bytes.startsWith('[');
    case Payload::Jpeg:
        return bytes.startsWith("\xFF\xD8\xFF");
    }
    return false;
}

const PackageKind kKinds[] = {
    {"start-up movie", [](const DataPaths& p) { return QStringList{p.startupPackage()}; }, 13,
     Payload::Movie},
    {"ending movie", [](const DataPaths& p) { return QStringList{p.endingPackage()}; }, 16, Payload::Movie},
    {"background preview movie", [](const DataPaths& p) { return QStringList{p.backgroundPreviewPackage()}; },
     6, Payload::Movie},
    {"default background", [](const DataPaths& p) { return QStringList{p.defaultBackgroundPackage()}; }, 3,
     Payload::Jpeg},
    {"template parameters", [](const DataPaths& p) { return ScanPackages(p.templateParameterTree()); }, 20,
     Payload::Ini},
    {"template movies", [](const DataPaths& p) { return ScanPackages(p.templateAnimationTree()); }, 20,
     Payload::Movie},
    {"combinations", [](const DataPaths& p) { return ScanPackages(p.combinationFolder()); }, 3, Payload::Ini},
};

class ShippedPackages : public ::testing::TestWithParam<PackageKind> {};

} // namespace

TEST_P(ShippedPackages, DecodeWithTheirLayerCountOnly) {
    const PackageKind& kind = GetParam();
    const QStringList packages = kind.packages(ShippedPaths());
    ASSERT_FALSE(packages.isEmpty()) << kind.what;
    for (const QString& package : packages) {
        SCOPED_TRACE(package.toStdString());
        const QByteArray payload = DecodePackageToMemory(package, kind.layers);
        EXPECT_TRUE(looksLike(payload, kind.payload));
        // One layer fewer leaves a zlib layer, one more tries to inflate the payload: neither is the payload.
        EXPECT_FALSE(looksLike(DecodePackageToMemory(package, kind.layers - 1), kind.payload));
        EXPECT_ANY_THROW(DecodePackageToMemory(package, kind.layers + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, ShippedPackages, ::testing::ValuesIn(kKinds), [](const auto& testInfo) {
    QString name = QString::fromLatin1(testInfo.param.what);
    name.replace(u' ', u'_').replace(u'-', u'_');
    return name.toStdString();
});

TEST(SpecialMovies, CarryTheMarkerAndTheirFrameCounts) {
    const DataPaths paths = ShippedPaths();
    const struct {
        QString package;
        int layers;
        int minFrames, maxFrames;
    } movies[] = {{paths.startupPackage(), 13, 75, 125},
                  {paths.endingPackage(), 16, 150, 150},
                  {paths.backgroundPreviewPackage(), 6, 25, 250}};
    for (const auto& m : movies) {
        SCOPED_TRACE(m.package.toStdString());
        const QJsonObject movie = LoadMovie(m.package, m.layers);
        EXPECT_TRUE(CarriesMarker(movie, "k_r_v_t_s_y_l_x"));
        EXPECT_EQ(movie.value("fr").toInt(), 25);
        EXPECT_GE(movie.value("op").toInt(), m.minFrames);
        EXPECT_LE(movie.value("op").toInt(), m.maxFrames);
        EXPECT_EQ(SubsetProblems(movie), QStringList());
    }
}

TEST(SpecialMovies, BackgroundPreviewShowsTheWorkPictureInLayerNumStop) {
    const QJsonObject movie = LoadMovie(ShippedPaths().backgroundPreviewPackage(), 6);
    const auto layers = LayersNamed(movie, "num_stop");
    ASSERT_EQ(layers.size(), 1u);
    const QJsonObject asset = FindAsset(movie, layers[0].value("refId").toString());
    EXPECT_EQ(asset.value("p").toString(), "wj_y_l_b_j.jpg");
    EXPECT_EQ(asset.value("u").toString(), "");
}

TEST(DefaultBackground, IsAFullFrameJpeg) {
    const QImage image =
        QImage::fromData(DecodePackageToMemory(ShippedPaths().defaultBackgroundPackage(), 3), "JPEG");
    EXPECT_EQ(image.size(), QSize(1920, 1080));
}
