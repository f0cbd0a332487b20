#include "fileops/archive_kind.hpp"
#include "fileops/archive_limits.hpp"
#include "fileops/archive_names.hpp"
#include "fileops/archive_paths.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

using files::fileops::ArchiveKind;
using kavo_testing::TempTree;

TEST(ArchiveKindTest, ExtensionsDecideAsciiCaseInsensitively)
{
    struct Row {
        const char* name;
        std::optional<ArchiveKind> kind;
    } rows[] = {
        {"photos.zip", ArchiveKind::Zip},     {"PHOTOS.ZIP", ArchiveKind::Zip},  {"src.tar.gz", ArchiveKind::TarGz},
        {"src.TAR.Gz", ArchiveKind::TarGz},   {"data.tgz", ArchiveKind::TarGz},  {"backup.tar", ArchiveKind::Tar},
        {"dir/x.tar", ArchiveKind::Tar},      {"notes.gz", std::nullopt},        {"tar.gz", std::nullopt},
        {".zip", std::nullopt},               {"zip", std::nullopt},             {"a.zip.txt", std::nullopt},
        {"a.tar.bz2", std::nullopt},          {"x.zip/inner.txt", std::nullopt}, {"\xc3\x9c.ZIP", ArchiveKind::Zip},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(files::fileops::archive_kind(row.name), row.kind);
    }
}

TEST(ArchivePathRuleTest, RebuildsOrRefusesEntryNames)
{
    const std::string escapes(files::fileops::k_entry_escapes);
    const std::string empty(files::fileops::k_empty_entry);
    struct Row {
        const char* name;
        const char* rebuilt;  // nullptr: refused with `error`
        std::string error;
    } rows[] = {
        {"a/b.txt", "a/b.txt", ""},   {"./a/./b", "a/b", ""},      {"a//b/", "a/b", ""},
        {"a\\b", "a\\b", ""},         {"..a/b..", "..a/b..", ""},  {"/etc/x", nullptr, escapes},
        {"//x", nullptr, escapes},    {"../x", nullptr, escapes},  {"a/../../x", nullptr, escapes},
        {"a/..", nullptr, escapes},   {"", nullptr, empty},        {".", nullptr, empty},
        {"./", nullptr, empty},       {"././/", nullptr, empty},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto path = files::fileops::sanitize_entry_path(row.name);
        if (row.rebuilt) {
            ASSERT_TRUE(path.has_value()) << path.error();
            EXPECT_EQ(path->native(), row.rebuilt);
            EXPECT_TRUE(path->is_relative());
        } else {
            ASSERT_FALSE(path.has_value()) << path->native();
            EXPECT_EQ(path.error(), row.error);
        }
    }
}

TEST(ArchiveLimitsTest, CountsEntriesAndDeclaredBytes)
{
    using files::fileops::ArchiveLimits;
    {
        SCOPED_TRACE("entry count");
        ArchiveLimits limits;
        for (uint64_t i = 0; i < files::fileops::k_max_archive_entries; ++i)
            ASSERT_TRUE(limits.admit(0).has_value()) << i;
        EXPECT_EQ(limits.admit(0).error(), files::fileops::k_too_many_entries);
    }
    {
        SCOPED_TRACE("exactly 16 GiB, then one byte more");
        ArchiveLimits limits;
        ASSERT_TRUE(limits.admit(files::fileops::k_max_expanded_bytes - 1).has_value());
        ASSERT_TRUE(limits.admit(1).has_value());
        EXPECT_EQ(limits.admit(1).error(), files::fileops::k_expands_too_far);
        EXPECT_EQ(limits.declared_bytes(), files::fileops::k_max_expanded_bytes);
    }
    {
        SCOPED_TRACE("a sum that wraps around 64 bits");
        ArchiveLimits limits;
        ASSERT_TRUE(limits.admit(1).has_value());
        EXPECT_EQ(limits.admit(UINT64_MAX).error(), files::fileops::k_size_overflow);
        EXPECT_EQ(limits.entries(), 1u);
    }
}

TEST(ArchiveNamesTest, ExtractionDestinationStripsArchiveSuffixes)
{
    TempTree t;
    struct Row {
        const char* archive;
        const char* destination;
    } rows[] = {
        {"src.tar.gz", "src"},   {"photos.zip", "photos"},   {"data.tgz", "data.tgz"}, {"a.tar.gz.gz", "a"},
        {"x.zip.tar.gz", "x"},   {"backup.tar", "backup"},   {"notes.gz", "notes"},    {".tar.gz", "Archive"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.archive);
        EXPECT_EQ(files::fileops::extraction_destination(t.path(row.archive)), t.path(row.destination));
    }
    EXPECT_EQ(files::fileops::extraction_destination("photos.zip"), std::filesystem::path("photos"));
    EXPECT_EQ(files::fileops::extraction_destination(t.path() / ""), t.path("Archive"));
}

TEST(ArchiveNamesTest, TakenNamesAreNumbered)
{
    TempTree t;
    t.file("photos.zip");
    t.folder("photos");
    EXPECT_EQ(files::fileops::extraction_destination(t.path("photos.zip")), t.path("photos 2"));
    t.symlink("nowhere", "photos 2");  // a dangling link takes its name too
    t.file("photos 3");
    EXPECT_EQ(files::fileops::extraction_destination(t.path("photos.zip")), t.path("photos 4"));

    t.file("report.txt");
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("report.txt")}), t.path("report.zip"));
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("a"), t.path("b")}), t.path("Archive.zip"));
    t.file("Archive.zip");
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("a"), t.path("b")}), t.path("Archive 2.zip"));
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("Archive")}), t.path("Archive 2.zip"));
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("photos")}), t.path("photos 2.zip"));
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {t.path("bad\xff.txt")}), t.path("Archive 2.zip"));
    EXPECT_EQ(files::fileops::zip_destination(t.path(), {}), t.path("Archive 2.zip"));
}

TEST(ArchivePathRuleTest, SplitsAPathThatRunsThroughAnArchive)
{
    TempTree t;
    t.file("a.zip");
    t.file("b/Photos.TAR.GZ");
    t.folder("folder.zip/inner");
    t.file("folder.zip/inner/c.tar");
    t.file("notes.gz");
    struct Row {
        const char* path;
        const char* archive;  // nullptr: not inside an archive
        const char* inner;
    } rows[] = {
        {"a.zip", "a.zip", ""},
        {"a.zip/docs/img", "a.zip", "docs/img"},
        {"a.zip//docs", "a.zip", "docs"},
        {"b/Photos.TAR.GZ/x", "b/Photos.TAR.GZ", "x"},
        {"folder.zip/inner/c.tar/d", "folder.zip/inner/c.tar", "d"},
        {"folder.zip/inner", nullptr, nullptr},
        {"missing.zip/x", nullptr, nullptr},
        {"notes.gz/x", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        auto split = files::fileops::split_archive_path(t.path() / row.path);
        if (!row.archive) {
            EXPECT_FALSE(split.has_value());
            continue;
        }
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(split->first, t.path(row.archive));
        EXPECT_EQ(split->second, std::filesystem::path(row.inner));
    }
}

}
