#include "kavo_ui/launch.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;

namespace {

LaunchSpec spec()
{
    LaunchSpec s;
    s.app_id = "test.app";
    s.value_options = {"--size", "--path"};
    s.switch_options = {"--open-share-stdin"};
    s.scenes = {"grid", "menu"};
    return s;
}

}

TEST(LaunchArgs, ValuesSwitchesAndPositionalsInAnyOrder)
{
    auto args = launch::parse_args(spec(), {"/home/u", "--size", "800x600", "--open-share-stdin", "--path=/tmp", "--", "--literal"});
    ASSERT_TRUE(args) << args.error().message;
    EXPECT_EQ(args->value("--size"), "800x600");
    EXPECT_EQ(args->value("--path"), "/tmp");
    EXPECT_EQ(args->value("--missing"), std::nullopt);
    EXPECT_TRUE(args->has_switch("--open-share-stdin"));
    EXPECT_EQ(args->positional(), (std::vector<std::string>{"/home/u", "--literal"}));
    EXPECT_EQ(args->raw().size(), 7u);
    EXPECT_FALSE(args->scene());
}

TEST(LaunchArgs, ScreenshotOptions)
{
    auto args = launch::parse_args(spec(), {"--shot", "menu", "--shot-size", "640x480"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->scene(), "menu");
    EXPECT_EQ(args->shot_output(), std::filesystem::path("./menu.png"));
    EXPECT_EQ(args->requested_size(), (Size{640, 480}));
    args = launch::parse_args(spec(), {"--shot", "grid", "--shot-out", "/tmp/x.png"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->shot_output(), std::filesystem::path("/tmp/x.png"));
}

TEST(LaunchArgs, BadCommandLinesAreErrorsNotGuesses)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--unknown"}, {"--size"}, {"--open-share-stdin=yes"}, {"--shot", "nope"}, {"--shot-size", "axb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.front());
        EXPECT_FALSE(launch::parse_args(spec(), c));
    }
}
