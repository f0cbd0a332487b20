#include "i18n/catalog.hpp"
#include "main/app_state.hpp"
#include "main/build_root.hpp"
#include "main/launch_description.hpp"
#include "main/scenes.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace files::launch;

TEST(LaunchDescription, NamesTheApplicationItsOptionsAndScenes)
{
    auto spec = launch_description();
    EXPECT_EQ(spec.app_id, "so.kavo.file-explorer");
    EXPECT_EQ(spec.value_options, (std::vector<std::string>{"--size", "--path"}));
    EXPECT_EQ(spec.switch_options, std::vector<std::string>{"--open-share-stdin"});
    ASSERT_EQ(spec.scenes.size(), 20u);
    EXPECT_EQ(spec.scenes.front(), "archive");
    EXPECT_EQ(spec.scenes.back(), "undo-trash");
    EXPECT_TRUE(std::is_sorted(spec.scenes.begin(), spec.scenes.end()));
    EXPECT_EQ(spec.default_size(), (kavo_ui::Size{1280, 800}));
    ASSERT_NE(spec.history, nullptr);
    EXPECT_EQ(spec.history->subjects.front().id, "selected-file");
}

TEST(SceneSize, OnlyWellFormedValuesOverrideTheDefault)
{
    const std::pair<const char*, std::optional<kavo_ui::Size>> cases[] = {
        {"800x600", kavo_ui::Size{800, 600}}, {"800X600", kavo_ui::Size{800, 600}}, {" 800 x 600 ", kavo_ui::Size{800, 600}},
        {"800", std::nullopt},                {"axb", std::nullopt},                 {"800x", std::nullopt},
        {"-1x600", std::nullopt},             {"4294967296x10", std::nullopt},       {"800x600x2", std::nullopt},
    };
    for (auto [text, size] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_shot_size(text), size);
        auto args = kavo_ui::launch::parse_args(launch_description(), {"--shot", "grid", "--size", text});
        ASSERT_TRUE(args);
        EXPECT_EQ(scene_size(*args), size.value_or(kavo_ui::Size{1200, 720}));
    }
}

TEST(ActorName, PrefersTheAppIdThenTheUserThenTheDocument)
{
    const std::vector<uint8_t> actor = {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89, 0, 0, 0, 0, 0, 0, 0, 0};
    struct Case {
        std::optional<std::string> quick, user;
        std::string expected;
    } cases[] = {
        {std::nullopt, "u1", "files-u1"},
        {"", "u1", "files-u1"},
        {"quick.app", "u1", "quick.app"},
        {std::string("bad\xff"), std::nullopt, "files-abcdef012345"},
        {std::nullopt, "", "files-abcdef012345"},
        {std::nullopt, std::nullopt, "files-abcdef012345"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(actor_name(c.quick, c.user, actor), c.expected);
    }
}

TEST(FolderArgument, MakesPathsAbsoluteAndDecodesFileUris)
{
    auto cwd = std::filesystem::current_path();
    EXPECT_EQ(folder_argument("docs"), cwd / "docs");
    EXPECT_EQ(folder_argument("/srv"), std::filesystem::path("/srv"));
    EXPECT_EQ(folder_argument("file:///home/u/My%20Files"), std::filesystem::path("/home/u/My Files"));
    EXPECT_EQ(folder_argument("file://localhost/tmp"), std::filesystem::path("/tmp"));
    EXPECT_FALSE(folder_argument(""));
}

namespace {

// Runs build_root with the given arguments and standard input.
std::unique_ptr<files::app::FileExplorerWidget> build_with_stdin(const std::vector<std::string>& argv, const std::string& input)
{
    kavo_testing::TempTree tree;
    auto in = tree.file("stdin", input);
    int saved = ::dup(STDIN_FILENO);
    int fd = ::open(in.c_str(), O_RDONLY);
    ::dup2(fd, STDIN_FILENO);
    ::close(fd);
    auto args = kavo_ui::launch::parse_args(launch_description(), argv);
    auto root = build_root(*args);
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    return root ? std::move(*root) : nullptr;
}

}

TEST(BuildRoot, SharedLinkOutcomeBecomesTheFirstStatus)
{
    kavo_testing::TempTree home;
    setenv("KAVO_HOME", home.path().c_str(), 1);
    struct Case {
        std::vector<std::string> argv;
        std::string input;
        std::string status;
    } cases[] = {
        {{"--open-share-stdin"}, "\n\n", "Shared-file link is empty"},
        {{"/", "--open-share-stdin"}, std::string(16385, 'x'), "Shared-file link exceeds its bound"},
        {{"--open-share-stdin"}, "kavo://share/abc\n", "Received-file service is not available"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        auto root = build_with_stdin(c.argv, c.input);
        ASSERT_TRUE(root);
        EXPECT_EQ(root->status_message(), c.status);
        EXPECT_EQ(root->current_dir(), home.path()) << "the positional folder is ignored with a link";
    }
    auto plain = build_with_stdin({"/"}, "");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->current_dir(), std::filesystem::path("/"));
    EXPECT_FALSE(plain->status_message());
    unsetenv("KAVO_HOME");
}
