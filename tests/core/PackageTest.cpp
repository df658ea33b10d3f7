#include "core/Package.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QtEndian>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using lumiset::test::TempTree;
using ::testing::HasSubstr;

namespace {

QByteArray samplePayload() {
    QByteArray payload;
    for (int i = 0; i < 5000; ++i)
        payload += QByteArray::number(i * 7919 % 1013) + ',';
    return payload;
}

QByteArray withDeclaredSize(QByteArray layer, qint32 size) {
    qToLittleEndian<qint32>(size, layer.data());
    return layer;
}

} // namespace

class PackageRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(PackageRoundTrip, DecodesWhatWasEncodedThroughEveryLayer) {
    const int layers = GetParam();
    TempTree tree;
    const QByteArray payload = samplePayload();
    const QString package = tree.write("korvel/p.rar", EncodePackage(payload, layers));
    const QString out = tree.file("work/deep/payload.ini");

    DecodePackage(package, layers, out);

    EXPECT_EQ(tree.read("work/deep/payload.ini"), payload);
    // One layer short leaves a layer still wrapped, never the payload.
    EXPECT_NE(DecodePackageToMemory(package, layers - 1), payload);
}

INSTANTIATE_TEST_SUITE_P(LayerCounts, PackageRoundTrip, ::testing::Values(3, 6, 13, 16, 20));

TEST(Package, EmptyStreamPassesThroughAndEmptyPayloadRoundTrips) {
    QByteArray empty;
    DecodeLayer(empty, "x");
    EXPECT_TRUE(empty.isEmpty());

    TempTree tree;
    const QString package = tree.write("empty.rar", EncodePackage({}, 13));
    EXPECT_TRUE(DecodePackageToMemory(package, 13).isEmpty());
}

struct BadLayer {
    const char* name;
    QByteArray (*make)();
    const char* reason;
};

class BadPackage : public ::testing::TestWithParam<BadLayer> {};

TEST_P(BadPackage, IsRejectedWithAMessageNamingTheFile) {
    TempTree tree;
    const QString package = tree.write("broken_name.rar", GetParam().make());
    QString payloadPath = tree.file("out.bin");
    try {
        DecodePackage(package, 1, payloadPath);
        FAIL() << "accepted a bad package";
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr("broken_name.rar"));
        EXPECT_THAT(e.message().toStdString(), HasSubstr(GetParam().reason));
    }
    EXPECT_FALSE(QFile::exists(payloadPath)) << "a failed decode must not leave a payload";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadPackage,
    ::testing::Values(
        BadLayer{"ShorterThanHeader", [] { return QByteArray("\x05\x00", 2); }, "截断"},
        BadLayer{"TruncatedStream", [] { return EncodePackage(samplePayload(), 1).left(60); }, "截断"},
        BadLayer{"CorruptStream",
                 [] {
                     QByteArray layer = EncodePackage(samplePayload(), 1);
                     for (int i = 10; i < 30; ++i)
                         layer[i] = static_cast<char>(layer[i] ^ 0x5a);
                     return layer;
                 },
                 "zlib"},
        BadLayer{"NegativeSize", [] { return withDeclaredSize(EncodePackage(samplePayload(), 1), -5); },
                 "负数"},
        BadLayer{"AbsurdSize", [] { return withDeclaredSize(EncodePackage(samplePayload(), 1), 0x7fffffff); },
                 "过大"},
        BadLayer{"SizeBeyondCompressionRatio",
                 [] { return withDeclaredSize(EncodePackage(QByteArray(10, 'a'), 1), 100'000'000); }, "不符"},
        BadLayer{"SizeSmallerThanContent",
                 [] { return withDeclaredSize(EncodePackage(samplePayload(), 1), 100); }, "不符"},
        BadLayer{"SizeLargerThanContent",
                 [] {
                     const QByteArray payload = samplePayload();
                     return withDeclaredSize(EncodePackage(payload, 1),
                                             static_cast<qint32>(payload.size() + 1));
                 },
                 "不符"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Package, MissingFileIsReportedByName) {
    TempTree tree;
    try {
        DecodePackageToMemory(tree.file("nowhere.rar"), 3);
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr("nowhere.rar"));
    }
}

namespace {

struct Bomb {
    const char* name;
    PackageFormat format;
    char filler; // blank lines for a parameter file, braces for a movie
};

class InflationBomb : public ::testing::TestWithParam<Bomb> {};

} // namespace

// A package whose payload is just past its kind's bound is refused by name, while one at the bound
// decodes: the bound sits at the declared size, before the payload is inflated.
TEST_P(InflationBomb, PastTheBoundOfItsKindIsRefusedNamingThePackage) {
    const Bomb& bomb = GetParam();
    TempTree tree;
    const QByteArray atBound(bomb.format.maxPayload, bomb.filler);
    const QString fits = tree.write("fits.rar", EncodePackage(atBound, bomb.format));
    EXPECT_EQ(DecodePackageToMemory(fits, bomb.format).size(), atBound.size());

    const QString package = tree.write("bomb.rar", EncodePackage(atBound + bomb.filler, bomb.format));
    try {
        DecodePackageToMemory(package, bomb.format);
        FAIL() << "inflated a package past its bound";
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr("bomb.rar"));
        EXPECT_THAT(e.message().toStdString(), HasSubstr("过大"));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, InflationBomb,
                         ::testing::Values(Bomb{"ParameterFile", PackageLayers::TemplateParameters, '\n'},
                                           Bomb{"Combination", PackageLayers::Combination, '\n'},
                                           Bomb{"Movie", PackageLayers::TemplateAnimation, '{'}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });
