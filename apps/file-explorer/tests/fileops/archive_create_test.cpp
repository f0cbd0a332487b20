#include "fileops/archive_browse.hpp"
#include "fileops/archive_create.hpp"
#include "fileops/archive_extract.hpp"
#include "fileops/archive_names.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using files::fileops::create_zip;
using files::fileops::list_archive_folder;
using files::fileops::zip_destination;
using kavo_testing::TempTree;

std::set<std::string> names_in(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().native());
    return names;
}

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Member names in archive order with their compression, as libarchive reads them back.
std::vector<std::string> members_of(const std::filesystem::path& zip)
{
    std::vector<std::string> members;
    struct archive* a = archive_read_new();
    archive_read_support_format_zip_seekable(a);
    if (archive_read_open_filename(a, zip.c_str(), 65536) != ARCHIVE_OK) {
        ADD_FAILURE() << archive_error_string(a);
        archive_read_free(a);
        return members;
    }
    struct archive_entry* e;
    while (archive_read_next_header(a, &e) == ARCHIVE_OK) {
        std::string format = archive_format_name(a);
        bool deflated = format.find("deflation") != std::string::npos;
        members.push_back(std::string(archive_entry_pathname(e)) + (archive_entry_filetype(e) == AE_IFREG && deflated ? " (deflated)" : ""));
    }
    archive_read_free(a);
    return members;
}

class ArchiveCreateTest : public testing::Test {
protected:
    void make_project()
    {
        m_tree.file("report.txt", std::string(50'000, 'r'));
        m_tree.file("project/a.txt", "aaa");
        m_tree.file("project/sub/b.bin", std::string(1000, 'b'));
        m_tree.folder("project/empty");
        m_tree.symlink("a.txt", "project/link");
        ASSERT_EQ(::mkfifo(m_tree.path("project/pipe").c_str(), 0644), 0);
    }

    TempTree m_tree;
};

TEST_F(ArchiveCreateTest, CompressesFoldersAndFilesAndListsThemBack)
{
    make_project();
    std::vector sources {m_tree.path("project"), m_tree.path("report.txt")};
    auto zip = zip_destination(m_tree.path(), sources);
    EXPECT_EQ(zip, m_tree.path("Archive.zip"));
    auto created = create_zip(zip, sources);
    ASSERT_TRUE(created.has_value()) << created.error();
    EXPECT_FALSE(std::filesystem::exists(m_tree.path("Archive.zip.part")));
    EXPECT_LT(std::filesystem::file_size(zip), 10'000u);

    std::vector<std::string> members = members_of(zip);
    std::multiset<std::string> member_set(members.begin(), members.end());
    EXPECT_EQ(member_set, (std::multiset<std::string> {"project/", "project/a.txt (deflated)", "project/sub/", "project/sub/b.bin (deflated)",
                                                        "project/empty/", "report.txt (deflated)"}));
    EXPECT_EQ(members.front(), "project/");
    EXPECT_EQ(members.back(), "report.txt (deflated)");

    auto top = list_archive_folder(zip, "");
    ASSERT_TRUE(top.has_value()) << top.error();
    ASSERT_EQ(top->size(), 2u);
    EXPECT_EQ((*top)[0].path, zip / "project");
    EXPECT_TRUE((*top)[0].is_folder);
    EXPECT_EQ((*top)[1].name, "report.txt");
    EXPECT_EQ((*top)[1].size, 50'000u);
    auto inner = list_archive_folder(zip, "project/sub");
    ASSERT_TRUE(inner.has_value()) << inner.error();
    ASSERT_EQ(inner->size(), 1u);
    EXPECT_EQ((*inner)[0].name, "b.bin");
    EXPECT_EQ((*inner)[0].size, 1000u);

    auto extracted = files::fileops::extract_archive(zip, m_tree.path("back"));
    ASSERT_TRUE(extracted.has_value()) << extracted.error();
    EXPECT_EQ(extracted->size(), 3u);
    EXPECT_EQ(read_file(m_tree.path("back/project/sub/b.bin")), std::string(1000, 'b'));
    EXPECT_EQ(read_file(m_tree.path("back/report.txt")), std::string(50'000, 'r'));
    EXPECT_EQ(names_in(m_tree.path("back/project")), (std::set<std::string> {"a.txt", "sub", "empty"}));

    auto second = zip_destination(m_tree.path(), sources);
    EXPECT_EQ(second, m_tree.path("Archive 2.zip"));
    ASSERT_TRUE(create_zip(second, sources).has_value());
}

TEST_F(ArchiveCreateTest, OneFileIsNamedAfterIt)
{
    m_tree.file("report.txt", "quarterly");
    auto zip = zip_destination(m_tree.path(), {m_tree.path("report.txt")});
    EXPECT_EQ(zip, m_tree.path("report.zip"));
    ASSERT_TRUE(create_zip(zip, {m_tree.path("report.txt")}).has_value());
    EXPECT_EQ(members_of(zip), std::vector<std::string> {"report.txt (deflated)"});
}

TEST_F(ArchiveCreateTest, FailuresLeaveNoPartFileAndReplaceNothing)
{
    m_tree.file("report.txt", "new");
    m_tree.file("taken.zip", "someone else's");
    m_tree.file("stale.zip.part", "someone else's part");
    m_tree.symlink("report.txt", "selected-link");
    struct Row {
        const char* label;
        const char* zip;
        std::vector<std::filesystem::path> sources;
        std::string error;
    } rows[] = {
        {"final name taken", "taken.zip", {m_tree.path("report.txt")}, m_tree.path("taken.zip").native() + ": File exists (os error 17)"},
        {"part file there already", "stale.zip", {m_tree.path("report.txt")},
         m_tree.path("stale.zip.part").native() + ": File exists (os error 17)"},
        {"source without a name", "noname.zip", {m_tree.path("report.txt"), m_tree.path() / ""}, "path has no file name"},
        {"missing source", "missing.zip", {m_tree.path("nothing-here")}, "nothing-here: No such file or directory (os error 2)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::set<std::string> before = names_in(m_tree.path());
        auto created = create_zip(m_tree.path(row.zip), row.sources);
        ASSERT_FALSE(created.has_value());
        EXPECT_EQ(created.error(), row.error);
        EXPECT_EQ(names_in(m_tree.path()), before);
    }
    EXPECT_EQ(read_file(m_tree.path("taken.zip")), "someone else's");
    EXPECT_EQ(read_file(m_tree.path("stale.zip.part")), "someone else's part");

    // A selected link is left out like any other; the archive is then only its end record.
    ASSERT_TRUE(create_zip(m_tree.path("link.zip"), {m_tree.path("selected-link")}).has_value());
    EXPECT_EQ(std::filesystem::file_size(m_tree.path("link.zip")), 22u);
}

TEST_F(ArchiveCreateTest, UnreadableSourceLeavesNoPartFile)
{
    m_tree.file("docs/open.txt", "open");
    m_tree.file("docs/secret.txt", "secret");
    m_tree.folder("out");
    ::chmod(m_tree.path("docs/secret.txt").c_str(), 0);
    ::chmod(m_tree.path("out").c_str(), 0777);
    m_tree.open_to_everyone();
    auto error = kavo_testing::run_unprivileged_text([&] {
        auto created = create_zip(m_tree.path("out/docs.zip"), {m_tree.path("docs")});
        return created ? std::string("created") : created.error();
    });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "docs/secret.txt: Permission denied (os error 13)");
    EXPECT_TRUE(names_in(m_tree.path("out")).empty());
}

}
