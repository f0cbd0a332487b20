#include "files_app/file_explorer_widget.hpp"
#include "files_app/placeholder.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace std::chrono_literals;
using files::app::FileExplorerWidget;
using kavo_testing::TempTree;

namespace {

std::vector<std::string> names(const FileExplorerWidget& w)
{
    std::vector<std::string> out;
    for (const auto& e : w.entries())
        out.push_back(e.name);
    return out;
}

kavo_ui::FrameContext frame_at(kavo_ui::Clock::time_point t)
{
    static const kavo_ui::Theme theme = kavo_ui::shot_theme();
    return {t, theme};
}

}

TEST(PollInterval, GrowsWithTheFolder)
{
    const std::pair<size_t, kavo_ui::Clock::duration> cases[] = {
        {0, 750ms}, {511, 750ms}, {512, 3s}, {4095, 3s}, {4096, 12s}, {19999, 12s}, {20000, 30s}, {1000000, 30s},
    };
    for (auto [n, interval] : cases) {
        SCOPED_TRACE(n);
        EXPECT_EQ(files::app::poll_interval(n), interval);
    }
}

TEST(ExplorerLoading, ListsFoldersFirstWithoutHiddenNamesAndCountsThem)
{
    TempTree tree;
    tree.file("b.txt");
    tree.file(".hidden");
    tree.folder("Zeta");
    tree.file("a.txt");
    auto w = FileExplorerWidget::create(std::nullopt, tree.path());
    EXPECT_EQ(names(*w), (std::vector<std::string>{"Zeta", "a.txt", "b.txt"}));
    EXPECT_EQ(w->status_line_text(), "3 items");
    w->selection().apply_click(1, false, false);
    w->selection().apply_click(2, true, false);
    EXPECT_EQ(w->status_line_text(), "3 items  ·  2 selected");
    w->set_show_hidden(true);
    EXPECT_EQ(names(*w).size(), 4u);
    EXPECT_TRUE(w->selection().empty()) << "a load clears the selection";
}

TEST(ExplorerLoading, SilentRefreshPicksUpNewFilesAndKeepsTheSelection)
{
    TempTree tree;
    tree.file("b.txt");
    tree.file("d.txt");
    auto t0 = kavo_ui::Clock::now();
    auto w = FileExplorerWidget::create(std::nullopt, tree.path(), t0);
    EXPECT_EQ(w->next_poll_at(), t0 + 750ms);
    w->selection().apply_click(1, false, false);  // d.txt
    (void)w->take_structure_dirty();

    w->sync(frame_at(t0 + 100ms));
    EXPECT_FALSE(w->take_structure_dirty()) << "no refresh before its time";

    tree.file("a.txt");
    w->sync(frame_at(t0 + 800ms));
    EXPECT_EQ(names(*w), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"}));
    EXPECT_EQ(w->selection().selected(), std::vector<size_t>{2});
    EXPECT_EQ(w->selection().focused(), 2u);
    EXPECT_TRUE(w->take_structure_dirty());
    EXPECT_EQ(w->next_poll_at(), t0 + 800ms + 750ms);

    const auto* before = w->entries().data();
    w->sync(frame_at(t0 + 2s));
    EXPECT_FALSE(w->take_structure_dirty()) << "an unchanged folder causes no relayout";
    EXPECT_EQ(w->entries().data(), before) << "and keeps its list";
}

TEST(ExplorerLoading, AVanishedFolderKeepsItsListUntilRefreshed)
{
    TempTree tree;
    tree.file("gone/x.txt");
    auto t0 = kavo_ui::Clock::now();
    auto w = FileExplorerWidget::create(std::nullopt, tree.path("gone"), t0);
    std::filesystem::remove_all(tree.path("gone"));
    w->sync(frame_at(t0 + 1s));
    EXPECT_EQ(names(*w), std::vector<std::string>{"x.txt"});
    EXPECT_FALSE(w->load_error());
    w->reload();
    EXPECT_TRUE(w->entries().empty());
    ASSERT_TRUE(w->load_error());
    EXPECT_EQ(*w->load_error(), "Could not open this folder: No such file or directory (os error 2)");
}

TEST(ExplorerLoading, AnUnreadableFolderShowsTheErrorPlaceholder)
{
    TempTree tree;
    tree.open_to_everyone();
    auto locked = tree.folder("locked");
    tree.file("locked/secret.txt");
    ::chmod(locked.c_str(), 0700);
    auto detail = kavo_testing::run_unprivileged_text([&] {
        auto w = FileExplorerWidget::create(std::nullopt, locked);
        files::app::PlaceholderState state{w->loading(), &w->load_error(), w->entries().size(), false, &w->current_dir()};
        auto p = files::app::placeholder_for(state);
        return p ? p->title + "|" + p->detail : std::string("none");
    });
    ASSERT_TRUE(detail);
    EXPECT_EQ(*detail, "Couldn’t open this folder|Permission denied (os err… · …" + locked.string().substr(locked.string().size() - 21));
}

TEST(ExplorerStatus, LongTextsAreCutTo512Characters)
{
    TempTree tree;
    auto w = FileExplorerWidget::create(std::nullopt, tree.path());
    w->set_status(std::string(600, 'x'));
    EXPECT_EQ(w->status_message()->size(), 512u);
    std::string umlauts;
    for (int i = 0; i < 600; ++i)
        umlauts += "ü";
    w->set_status(umlauts);
    EXPECT_EQ(w->status_message()->size(), 1024u) << "512 characters of two bytes each";
    EXPECT_EQ(w->status_line_text(), *w->status_message());
    w->reload();
    EXPECT_FALSE(w->status_message()) << "a load clears the status";
}

TEST(Placeholder, ErrorAndPathAreShortened)
{
    using files::app::short_display_path;
    using files::app::short_error_text;
    const std::pair<const char*, const char*> errors[] = {
        {"Could not open this folder: Permission denied (os error 13)", "Permission denied (os err…"},
        {"e: abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwxyz"},
        {"e: abcdefghijklmnopqrstuvwxyz0", "abcdefghijklmnopqrstuvwxy…"},
        {"no colon at all here but long enough", "no colon at all here but …"},
        {"a: b: c", "b: c"},
        {"Öffnen: Zugriff verweigert – äöü äöü äöü", "Zugriff verweigert – äöü …"},
    };
    for (auto [in, out] : errors) {
        SCOPED_TRACE(in);
        EXPECT_EQ(short_error_text(in), out);
    }
    EXPECT_EQ(short_display_path("/home/user/docs"), "/home/user/docs");
    EXPECT_EQ(short_display_path("/home/user/abcdefghijk"), "/home/user/abcdefghijk") << "22 characters stay";
    EXPECT_EQ(short_display_path("/home/user/abcdefghijkl"), "…ome/user/abcdefghijkl");
}
