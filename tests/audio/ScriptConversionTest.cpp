#include "audio/ScriptConversion.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace lumiset;

namespace {

struct ScriptCase {
    QString text;
    QString scriptWord;
    QString expected;
};

class ScriptConversion : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptConversion, ConvertsToTheNamedScript) {
    const ScriptCase& c = GetParam();
    EXPECT_EQ(ConvertToScript(c.text, c.scriptWord), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, ScriptConversion,
    ::testing::Values(ScriptCase{"简体", "fanti", "簡體"}, ScriptCase{"簡體", "jianti", "简体"},
                      ScriptCase{"头发很长", "fanti", "頭髮很長"}, // by phrase: 发 is 髮 here, not 發
                      ScriptCase{"甜蜜蜜 像糖一样", "jianti", "甜蜜蜜 像糖一样"},
                      ScriptCase{"Love 你 3 次", "fanti", "Love 你 3 次"},
                      ScriptCase{QStringLiteral("简体\0简体"), "fanti", QStringLiteral("簡體\0簡體")},
                      ScriptCase{"", "fanti", ""}, ScriptCase{"简体", "", "简体"},
                      ScriptCase{"简体", "Fanti", "简体"}));

TEST(ScriptConverter, WithoutItsConfigurationLeavesTheTextAsItIs) {
    const ScriptConverter missing("no-such-configuration.json");
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_EQ(missing.convert("简体"), "简体");
}

TEST(ScriptConverter, ConvertsOnSeveralThreadsAtOnce) {
    // The first use from several threads at once loads each converter once.
    std::vector<QString> results(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, i] {
            for (int n = 0; n < 50; ++n)
                results[i] = ToTraditional(ToSimplified("簡體中文歌詞"));
        });
    for (std::thread& t : threads)
        t.join();
    for (const QString& result : results)
        EXPECT_EQ(result, "簡體中文歌詞");
}

} // namespace
