#include "kavo_testing/temp_tree.hpp"
#include "views/file_view/zoom_file.hpp"

#include <gtest/gtest.h>

#include <fstream>

using namespace files::views;
using kavo_testing::TempTree;

TEST(ZoomFile, ReadsTrimmedSignedNumbersClampedToTheSteps)
{
    TempTree config;
    const std::pair<const char*, int> cases[] = {
        {"0", 0},   {"3", 3},     {" 2\n", 2},  {"+4", 4},  {"-1", -1},   {"-2", -2},   {"-9", -2},   {"42", 6},
        {"abc", 0}, {"", 0},      {"1.5", 0},   {"--1", 0}, {"3 4", 0},   {"+", 0},     {"99999999999999999999999", 6},
    };
    for (auto [text, step] : cases) {
        SCOPED_TRACE(text);
        config.file("zoom", text);
        EXPECT_EQ(read_zoom(config.path()), step);
    }
    EXPECT_EQ(read_zoom(config.path("missing")), 0);
    EXPECT_EQ(read_zoom(std::nullopt), 0);
}

TEST(ZoomFile, WritesDecimalTextWithoutANewline)
{
    TempTree tree;
    auto config = tree.path("new/config");
    write_zoom(config, -2);
    std::ifstream in(config / "zoom");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "-2");
    EXPECT_EQ(read_zoom(config), -2);
    EXPECT_FLOAT_EQ(zoom_factor(6), 1.9f);
    EXPECT_FLOAT_EQ(zoom_factor(-2), 0.7f);
}
