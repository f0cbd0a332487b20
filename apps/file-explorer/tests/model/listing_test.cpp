#include "model/listing.hpp"
#include "model/sorting.hpp"
#include "model/workspace_roots.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using files::model::DirectoryEntry;
using files::model::EntryList;
using files::model::list_directory;
using kavo_testing::TempTree;

std::map<std::string, DirectoryEntry> by_name(const EntryList& entries)
{
    std::map<std::string, DirectoryEntry> map;
    for (const auto& e : entries)
        map.emplace(e.name, e);
    return map;
}

EntryList list_or_fail(const std::filesystem::path& folder, bool collaborative = false)
{
    auto listed = list_directory(folder, collaborative);
    EXPECT_TRUE(listed.has_value()) << (listed ? "" : listed.error());
    return listed ? *listed : EntryList {};
}

void set_mtime(const std::filesystem::path& path, int64_t seconds, long nanoseconds = 0)
{
    struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// Sets TZ for one test and puts the previous zone back afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

int32_t offset_by_localtime(int64_t seconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm local;
    localtime_r(&t, &local);
    return static_cast<int32_t>(local.tm_gmtoff);
}

TEST(ListDirectory, EmptyFolderGivesNoEntries)
{
    TempTree tree;
    EXPECT_TRUE(list_or_fail(tree.root()).empty());
}

TEST(ListDirectory, ReportsEachItemsOwnStatusAndType)
{
    TempTree tree;
    tree.file("notes.txt", "hello");
    tree.file("x.tar.gz", "0123456789");
    tree.file(".profile", "export A=1\n");
    tree.file(".txt");
    tree.file("..txt");
    tree.file("README");
    tree.file("trailing.");
    tree.folder("sub");
    tree.folder("album.png");
    tree.symlink("sub", "link-to-sub");
    tree.symlink("missing-target", "dangling");

    struct Expected {
        const char* name;
        bool is_folder;
        std::optional<uint64_t> size;  // nullopt: a folder's own size, whatever the file system says
        const char* mime_type;
    };
    const Expected expected[] = {
        {"notes.txt", false, 5, "text/plain"},
        {"x.tar.gz", false, 10, "application/gzip"},
        {".profile", false, 11, "application/octet-stream"},
        // A leading dot alone starts no extension; with a second dot the text after it is one.
        {".txt", false, 0, "application/octet-stream"},
        {"..txt", false, 0, "text/plain"},
        {"README", false, 0, "application/octet-stream"},
        {"trailing.", false, 0, "application/octet-stream"},
        {"sub", true, std::nullopt, "application/octet-stream"},
        {"album.png", true, std::nullopt, "image/png"},
        // Links are not followed: the link's own size is the length of its target text.
        {"link-to-sub", false, 3, "application/octet-stream"},
        {"dangling", false, 14, "application/octet-stream"},
    };

    EntryList entries = list_or_fail(tree.root());
    auto map = by_name(entries);
    EXPECT_EQ(entries.size(), std::size(expected)) << "no \".\" or \"..\", nothing dropped";
    for (const auto& row : expected) {
        SCOPED_TRACE(row.name);
        auto it = map.find(row.name);
        ASSERT_NE(it, map.end());
        const DirectoryEntry& e = it->second;
        EXPECT_EQ(e.path, tree.path(row.name));
        EXPECT_EQ(e.is_folder, row.is_folder);
        struct stat own;
        ASSERT_EQ(::lstat(tree.path(row.name).c_str(), &own), 0);
        EXPECT_EQ(e.size, row.size.value_or(static_cast<uint64_t>(own.st_size)));
        EXPECT_EQ(e.mime_type, row.mime_type);
        EXPECT_TRUE(e.modified.has_value());
        EXPECT_FALSE(e.availability || e.metadata || e.share || e.history || e.content_hash || e.record_id
                     || e.sync_state);
    }
}

TEST(ListDirectory, InvalidUtf8NameIsShownLossilyButThePathKeepsTheBytes)
{
    TempTree tree;
    const std::string raw = "bad\xFF\xFEname.txt";
    tree.file(raw, "still reachable");
    tree.file("odd.\xFF", "x");

    auto map = by_name(list_or_fail(tree.root()));
    // Each of the two invalid bytes is a sequence of its own.
    auto it = map.find("bad\xEF\xBF\xBD\xEF\xBF\xBD" "name.txt");
    ASSERT_NE(it, map.end());
    EXPECT_EQ(it->second.path.native(), (tree.root() / raw).native());
    EXPECT_EQ(it->second.mime_type, "text/plain");

    int fd = ::open(it->second.path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    char buffer[32] = {};
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0), "still reachable");

    auto odd = map.find("odd.\xEF\xBF\xBD");
    ASSERT_NE(odd, map.end());
    EXPECT_EQ(odd->second.mime_type, "application/octet-stream") << "an extension that is not UTF-8 gives no type";
}

TEST(ListDirectory, ModifiedTimeCarriesNanosecondsAndTheLocalOffsetAtThatInstant)
{
    // One spring and one autumn switch each: Berlin switches on the hour in UTC, Lord Howe by half
    // an hour at half past, so one hour of UTC holds two offsets there.
    struct Switch {
        const char* zone;
        int64_t at;  // first second of the new offset
        int32_t before;
        int32_t after;
    };
    const Switch switches[] = {
        {"Europe/Berlin", 1711846800, 3600, 7200},
        {"Europe/Berlin", 1729990800, 7200, 3600},
        {"Australia/Lord_Howe", 1712415600, 39600, 37800},
        {"Australia/Lord_Howe", 1728142200, 37800, 39600},
    };
    const int64_t around[] = {-7200, -3600, -1801, -1800, -60, -1, 0, 1, 59, 1799, 1800, 3599, 3600, 7200};

    for (const auto& s : switches) {
        SCOPED_TRACE(std::string(s.zone) + " at " + std::to_string(s.at));
        ZoneScope zone(s.zone);
        ASSERT_EQ(offset_by_localtime(s.at - 1), s.before) << "zone data missing?";
        ASSERT_EQ(offset_by_localtime(s.at), s.after);

        TempTree tree;
        for (size_t i = 0; i < std::size(around); ++i)
            set_mtime(tree.file("t" + std::to_string(i)), s.at + around[i], 123456789);

        auto map = by_name(list_or_fail(tree.root()));
        for (size_t i = 0; i < std::size(around); ++i) {
            SCOPED_TRACE("offset from switch " + std::to_string(around[i]));
            const auto& modified = map.at("t" + std::to_string(i)).modified;
            ASSERT_TRUE(modified.has_value());
            EXPECT_EQ(modified->unix_seconds, s.at + around[i]);
            EXPECT_EQ(modified->nanoseconds, 123456789u);
            EXPECT_EQ(modified->utc_offset_seconds, around[i] < 0 ? s.before : s.after);
        }
    }
}

TEST(ListDirectory, LocalCivilTimeFollowsTheOffset)
{
    ZoneScope zone("Europe/Berlin");
    TempTree tree;
    set_mtime(tree.file("before"), 1711846799);
    set_mtime(tree.file("after"), 1711846800);
    auto map = by_name(list_or_fail(tree.root()));

    auto before = map.at("before").modified->local();
    auto after = map.at("after").modified->local();
    EXPECT_EQ(before.year, 2024);
    EXPECT_EQ(before.month, 3u);
    EXPECT_EQ(before.day, 31u);
    EXPECT_EQ(before.seconds_of_day, 1 * 3600u + 59 * 60u + 59u);
    EXPECT_EQ(after.seconds_of_day, 3 * 3600u) << "02:00 local does not exist that night";
}

TEST(ListDirectory, FailsWithTheSystemTextWhenTheFolderCannotBeOpened)
{
    TempTree tree;
    tree.file("plain-file");
    struct Row {
        const char* name;
        const char* expected;
    };
    const Row rows[] = {
        {"vanished", "No such file or directory (os error 2)"},
        {"plain-file", "Not a directory (os error 20)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto listed = list_directory(tree.path(row.name), false);
        ASSERT_FALSE(listed.has_value());
        EXPECT_EQ(listed.error(), row.expected);
    }
}

// Permission checks only bite without root, so the listings run in a child that dropped it.
TEST(ListDirectory, UnprivilegedUserGetsTheErrorOrNamesWithoutStatus)
{
    TempTree tree;
    tree.open_to_everyone();
    tree.file("readable/inside");
    tree.file("locked/inside");
    tree.file("names-only/file", "content");
    tree.folder("names-only/folder");
    ::chmod(tree.path("readable").c_str(), 0755);
    ::chmod(tree.path("locked").c_str(), 0000);
    // Readable but not searchable: the names can be enumerated, their statuses not.
    ::chmod(tree.path("names-only").c_str(), 0444);

    auto describe = [](const std::expected<EntryList, std::string>& listed) {
        if (!listed)
            return "error: " + listed.error();
        std::map<std::string, std::string> lines;
        for (const auto& e : *listed)
            lines[e.name] = e.name + (e.is_folder ? " folder " : " file ") + std::to_string(e.size)
                + (e.modified ? " timed" : " untimed");
        std::string text;
        for (const auto& [name, line] : lines)
            text += line + "; ";
        return text;
    };
    auto outcome = kavo_testing::run_unprivileged_text([&] {
        return describe(list_directory(tree.path("readable"), false)) + "| "
            + describe(list_directory(tree.path("locked"), false)) + " | "
            + describe(list_directory(tree.path("names-only"), false));
    });
    ASSERT_TRUE(outcome.has_value()) << "the unprivileged child did not run";
    // The readable sibling shows that the child reaches the tree, so the failure is the folder's.
    EXPECT_EQ(*outcome,
              "inside file 0 timed; | error: Permission denied (os error 13) | "
              "file file 0 untimed; folder file 0 untimed; ");
}

// Big enough that the listing reads statuses on two threads.
TEST(ListDirectory, LargeFolderListsEveryItemOnceWithItsOwnStatus)
{
    TempTree tree;
    constexpr int k_items = 6000;
    for (int i = 0; i < k_items; ++i) {
        std::string name = (i % 10 == 0 ? "." : "") + std::string("item-") + std::to_string(i) + ".txt";
        if (i % 50 == 0)
            tree.folder(name);
        else
            tree.file(name, std::string(static_cast<size_t>(i % 7), 'x'));
    }

    for (bool collaborative : {false, true}) {
        SCOPED_TRACE(collaborative ? "collaborative" : "plain");
        EntryList entries = list_or_fail(tree.root(), collaborative);
        ASSERT_EQ(entries.size(), static_cast<size_t>(k_items));
        auto map = by_name(entries);
        ASSERT_EQ(map.size(), static_cast<size_t>(k_items)) << "a name came twice";
        for (int i = 0; i < k_items; ++i) {
            std::string name = (i % 10 == 0 ? "." : "") + std::string("item-") + std::to_string(i) + ".txt";
            auto it = map.find(name);
            ASSERT_NE(it, map.end()) << name;
            const DirectoryEntry& e = it->second;
            ASSERT_EQ(e.path, tree.path(name));
            ASSERT_EQ(e.is_folder, i % 50 == 0) << name;
            if (!e.is_folder) {
                ASSERT_EQ(e.size, static_cast<uint64_t>(i % 7)) << name;
            }
            ASSERT_EQ(e.mime_type, "text/plain") << name;
            ASSERT_TRUE(e.modified.has_value()) << name;
            // Readers of the collaborative attributes do not exist yet; nothing may appear.
            ASSERT_FALSE(e.availability || e.metadata || e.share || e.history || e.content_hash || e.record_id
                         || e.sync_state);
        }
    }
}

std::vector<std::string> names_of(const EntryList& entries)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    return names;
}

// Files b, A and a and a folder Z: the case tie between A and a keeps the order in which the
// system enumerated them, which the test reads from the unsorted listing.
TEST(ListDirectory, SortedListingKeepsEnumerationOrderForCaseTies)
{
    using files::model::SortBy;
    using files::model::SortOrder;
    TempTree tree;
    tree.file("b");
    tree.file("A");
    tree.file("a");
    tree.folder("Z");
    tree.file(".hidden");

    EntryList listed = list_or_fail(tree.root());
    files::model::remove_hidden(listed);
    auto unsorted = names_of(listed);
    ASSERT_EQ(unsorted.size(), 4u);
    bool upper_first = std::find(unsorted.begin(), unsorted.end(), "A") < std::find(unsorted.begin(), unsorted.end(), "a");
    std::vector<std::string> tie = upper_first ? std::vector<std::string> {"A", "a"} : std::vector<std::string> {"a", "A"};

    EntryList ascending = listed;
    files::model::sort_entries(ascending, SortBy::Name, SortOrder::Ascending);
    EXPECT_EQ(names_of(ascending), (std::vector<std::string> {"Z", tie[0], tie[1], "b"}));

    EntryList descending = listed;
    files::model::sort_entries(descending, SortBy::Name, SortOrder::Descending);
    EXPECT_EQ(names_of(descending), (std::vector<std::string> {"Z", "b", tie[0], tie[1]}));
}

}
