// Every window test runs in the dressed program, as the user sees it.
#include "ui/Theme.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class ThemeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { lumiset::ui::Theme::apply(*qApp); }
};

const auto* const kTheme = ::testing::AddGlobalTestEnvironment(new ThemeEnvironment);

} // namespace
