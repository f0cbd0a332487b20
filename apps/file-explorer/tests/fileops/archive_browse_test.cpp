#include "fileops/archive_browse.hpp"
#include "support/archive_corpus.hpp"
#include "kavo_testing/temp_tree.hpp"

#include "kavo_services/mime.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using files::fileops::list_archive_folder;
using files::model::DirectoryEntry;
using files::model::EntryList;
using files::test_support::RawTar;
using files::test_support::RawZip;
using kavo_testing::TempTree;

// name → "folder" or the size, in listing order.
std::vector<std::pair<std::string, std::string>> shape(const EntryList& entries)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const DirectoryEntry& e : entries)
        out.emplace_back(e.name, e.is_folder ? "folder" : std::to_string(e.size));
    return out;
}

using Shape = std::vector<std::pair<std::string, std::string>>;

// Members that each declare almost 4 GiB in both headers and hold one byte.
std::string four_gib_members(int count)
{
    RawZip zip;
    for (int i = 0; i < count; ++i)
        zip.add({.name = "part" + std::to_string(i), .data = "x", .central_size = 0xFFFF'FFF0, .local_size = 0xFFFF'FFF0});
    return zip.bytes();
}

class ArchiveBrowseTest : public testing::Test {
protected:
    EntryList list(const std::filesystem::path& archive, const std::filesystem::path& inner)
    {
        auto listed = list_archive_folder(archive, inner);
        EXPECT_TRUE(listed.has_value()) << (listed ? "" : listed.error());
        return listed ? *listed : EntryList {};
    }

    TempTree m_tree;
};

TEST_F(ArchiveBrowseTest, ListsEachLevelWithImplicitFolders)
{
    auto zip = m_tree.file("x.zip", RawZip()
                                        .file("docs/readme.md", "12345")
                                        .file("docs/img/a.png", "png")
                                        .folder("docs/")
                                        .file("top.txt", "abc")
                                        .symlink("link", "/etc")
                                        .file("a/b/c/d.txt", "d")
                                        .folder("docs/img/")
                                        .file("./docs/./notes", "")
                                        .bytes());
    auto tar = m_tree.file("x.tar", RawTar()
                                        .folder("./")
                                        .file("./docs/readme.md", "12345")
                                        .hard_link("docs/copy.md", "docs/readme.md")
                                        .symlink("docs/link", "readme.md")
                                        .add({.name = "docs/fifo", .type = '6'})
                                        .bytes());
    // Browsing reads headers only, so data that a header declares but the file lacks is never read.
    auto sparse = m_tree.file("sparse.zip", RawZip().add({.name = "big.iso", .data = "x", .central_size = 0xFFFF'FFF0, .local_size = 0xFFFF'FFF0}).bytes());
    struct Row {
        const char* label;
        std::filesystem::path archive;
        const char* inner;
        Shape children;
    } rows[] = {
        {"zip top", zip, "", {{"docs", "folder"}, {"top.txt", "3"}, {"a", "folder"}}},
        {"zip folder", zip, "docs", {{"readme.md", "5"}, {"img", "folder"}, {"notes", "0"}}},
        {"zip folder, spelled loosely", zip, "./docs//", {{"readme.md", "5"}, {"img", "folder"}, {"notes", "0"}}},
        {"zip implicit folders", zip, "a/b", {{"c", "folder"}}},
        {"zip folder without members", zip, "docs/img/nothing", {}},
        {"tar folder: links and a fifo left out", tar, "docs", {{"readme.md", "5"}}},
        {"tar top", tar, "", {{"docs", "folder"}}},
        {"declared size", sparse, "", {{"big.iso", "4294967280"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(shape(list(row.archive, row.inner)), row.children);
    }
}

TEST_F(ArchiveBrowseTest, ChildrenCarryPathsTypesAndTimes)
{
    auto tar = m_tree.file("photos.tar", RawTar().file("2024/summer/beach.jpg", "jpeg").folder("2024/").bytes());
    EntryList top = list(tar, "");
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].path, tar / "2024");
    EXPECT_TRUE(top[0].is_folder);
    EXPECT_EQ(top[0].size, 0u);
    ASSERT_TRUE(top[0].modified.has_value());  // from the folder's own member
    EXPECT_EQ(top[0].modified->unix_seconds, 1'735'689'600);

    EntryList summer = list(tar, "2024");
    ASSERT_EQ(summer.size(), 1u);
    EXPECT_EQ(summer[0].path, tar / "2024/summer");
    EXPECT_FALSE(summer[0].modified.has_value());  // a folder only implied by a deeper member

    EntryList files = list(tar, summer[0].path.lexically_relative(tar));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "beach.jpg");
    EXPECT_EQ(files[0].path, tar / "2024/summer/beach.jpg");
    EXPECT_EQ(files[0].mime_type, kavo_services::mime_type_for_extension("jpg"));
    EXPECT_EQ(files[0].size, 4u);
    ASSERT_TRUE(files[0].modified.has_value());
    EXPECT_EQ(files[0].modified->unix_seconds, 1'735'689'600);
    time_t t = 1'735'689'600;
    struct tm local;
    ASSERT_TRUE(::localtime_r(&t, &local));
    EXPECT_EQ(files[0].modified->utc_offset_seconds, local.tm_gmtoff);
}

TEST_F(ArchiveBrowseTest, RefusesWhatExtractionRefuses)
{
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i <= 100'000; ++i)
        many.emplace_back("f" + std::to_string(i), "");
    struct Row {
        const char* label;
        const char* name;
        std::string bytes;
        const char* inner;
        std::string error;
    } rows[] = {
        {"a member climbing out", "x.zip", RawZip().file("ok").file("docs/../../x").bytes(), "", "archive entry escapes its destination"},
        {"an empty member name", "x.tar", RawTar().file("").bytes(), "docs", "empty archive entry"},
        {"an inner folder climbing out", "x.zip", RawZip().file("ok").bytes(), "../x", "archive entry escapes its destination"},
        {"too many members", "x.zip", files::test_support::libarchive_zip(many, "zip:compression=store"), "", "archive has too many entries"},
        {"declared sizes past the limit", "x.zip", four_gib_members(5), "", "archive expands beyond the safety limit"},
        {"not an archive", "x.zip", "plain text", "", "Unrecognized archive format"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto listed = list_archive_folder(m_tree.file(row.name, row.bytes), row.inner);
        ASSERT_FALSE(listed.has_value());
        EXPECT_EQ(listed.error(), row.error);
    }
    EXPECT_EQ(list_archive_folder(m_tree.path("missing.zip"), "").error(), "No such file or directory (os error 2)");
}

}
