#include "support/trash_fixture.hpp"

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashRoundTrip : public TrashFixture { };

// Whether `line` has the shape of `pattern`, where "9" stands for any digit.
bool has_shape(std::string_view line, std::string_view pattern)
{
    if (line.size() != pattern.size())
        return false;
    for (size_t i = 0; i < line.size(); ++i) {
        bool digit = line[i] >= '0' && line[i] <= '9';
        if (pattern[i] == '9' ? !digit : line[i] != pattern[i])
            return false;
    }
    return true;
}

struct NameCase {
    const char* label;
    std::string name;
    std::string encoded; // as it must appear in Path=
};

// Each name is trashed, found in the listing with its exact bytes, and restored.
TEST_F(TrashRoundTrip, NamesSurviveTrashListAndRestore)
{
    const NameCase cases[] = {
        {"plain", "notes.txt", "notes.txt"},
        {"spaces", "my notes.txt", "my%20notes.txt"},
        {"percent sign", "100% done", "100%25%20done"},
        {"newline", "line\nbreak", "line%0Abreak"},
        {"invalid UTF-8", "caf\xE9", "caf%E9"},
        {"UTF-8", "Zo\xC3\xAB", "Zo%C3%AB"},
        {"reserved characters", "a+b&c=d#e?f[1]", "a%2Bb%26c%3Dd%23e%3Ff%5B1%5D"},
        {"longest name", std::string(255, 'n'), std::string(255, 'n')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto original = tree.file(std::filesystem::path("src") / c.name, c.label);

        auto trashed = trash_paths({original});
        ASSERT_TRUE(trashed.has_value()) << trashed.error();
        ASSERT_EQ(trashed->size(), 1u);
        const auto& in_trash = trashed->front();
        EXPECT_EQ(in_trash.parent_path(), trash_files());
        EXPECT_FALSE(exists_no_follow(original));
        EXPECT_EQ(read_file(in_trash), c.label);
        // Both the item and its info file must fit in one name component.
        EXPECT_LE(in_trash.filename().native().size() + std::string(".trashinfo").size(), 255u);

        auto info = read_file(trash_info(in_trash.filename()));
        std::istringstream lines(info);
        std::string group, path_line, date;
        std::getline(lines, group);
        std::getline(lines, path_line);
        std::getline(lines, date);
        EXPECT_EQ(group, "[Trash Info]");
        EXPECT_EQ(path_line, "Path=" + tree.root().native() + "/src/" + c.encoded);
        EXPECT_TRUE(has_shape(date, "DeletionDate=9999-99-99T99:99:99")) << date;

        auto item = listed_from(original);
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->files_path, in_trash);
        EXPECT_EQ(item->info_path, trash_info(in_trash.filename()));
        EXPECT_EQ("DeletionDate=" + item->deletion_date, date);

        auto restored = restore({*item});
        ASSERT_TRUE(restored.has_value()) << restored.error();
        EXPECT_EQ(*restored, 1u);
        EXPECT_EQ(read_file(original), c.label);
        EXPECT_FALSE(exists_no_follow(in_trash));
        EXPECT_FALSE(exists_no_follow(item->info_path));
    }
    EXPECT_TRUE(listed_here().empty());
    for (const auto& folder : {trash(), trash_files(), trash() / "info"}) {
        struct stat st {};
        ASSERT_EQ(::stat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u) << folder;
    }
}

// Folders go whole, links go as links, and paths are taken as the caller wrote them.
TEST_F(TrashRoundTrip, FoldersLinksAndRelativePaths)
{
    tree.file("work/album/photo.jpg", "jpeg");
    tree.file("work/target.txt", "target");
    tree.symlink("target.txt", "work/link");
    auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(tree.path("work"));
    auto trashed = trash_paths({"album/", "link"});
    std::filesystem::current_path(cwd);
    ASSERT_TRUE(trashed.has_value()) << trashed.error();
    EXPECT_EQ(*trashed, (std::vector<std::filesystem::path>{trash_files("album"), trash_files("link")}));
    EXPECT_EQ(read_file(trash_files("album/photo.jpg")), "jpeg");
    EXPECT_TRUE(std::filesystem::is_symlink(trash_files("link")));
    EXPECT_EQ(read_file(tree.path("work/target.txt")), "target");

    auto items = listed_here();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].original_path, tree.path("work/album"));
    EXPECT_EQ(items[1].original_path, tree.path("work/link"));
    auto restored = restore(items);
    ASSERT_TRUE(restored.has_value()) << restored.error();
    EXPECT_EQ(*restored, 2u);
    EXPECT_EQ(read_file(tree.path("work/album/photo.jpg")), "jpeg");
    EXPECT_EQ(std::filesystem::read_symlink(tree.path("work/link")), "target.txt");
}

TEST_F(TrashRoundTrip, RefusesWhatCannotBeTrashed)
{
    tree.file("work/a.txt");
    ASSERT_TRUE(trash_paths({tree.path("work/a.txt")}).has_value());
    struct Case {
        const char* label;
        std::filesystem::path path;
        const char* reason;
    };
    const Case cases[] = {
        {"missing item", tree.path("work/missing"), "No such file or directory"},
        {"root", "/", "cannot be moved"},
        {"dot dot", tree.path("work/.."), "cannot be moved"},
        {"the trash itself", trash(), "in the Trash already"},
        {"an item in the trash", trash_files("a.txt"), "in the Trash already"},
        {"a folder holding the trash", tree.path("data"), "holds the Trash"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto trashed = trash_paths({c.path});
        ASSERT_FALSE(trashed.has_value());
        EXPECT_NE(trashed.error().find(c.reason), std::string::npos) << trashed.error();
        EXPECT_EQ(names_in(trash() / "info"), std::vector<std::string>{"a.txt.trashinfo"});
    }
}

}
