#include "model/workspace_roots.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace {

using files::model::DirectoryEntry;
using files::model::EntryList;
using files::model::is_hidden_name;
using files::model::is_inside_roots;
using files::model::workspace_roots;
using kavo_testing::TempTree;
using Paths = std::vector<std::filesystem::path>;

// Sets or unsets one environment variable for a test and restores it afterwards.
class EnvScope {
public:
    EnvScope(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~EnvScope()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

bool system_workspace_exists()
{
    struct stat st;
    return ::stat("/var/workspace", &st) == 0;
}

TEST(WorkspaceRoots, VariableListsExistingFoldersInItsOrderAndNothingElse)
{
    TempTree tree;
    auto a = tree.folder("a");
    auto b = tree.folder("b");
    tree.symlink(a, "link-to-a");
    tree.symlink(tree.path("nowhere"), "dangling");
    tree.folder("home/Shared");
    EnvScope home("KAVO_HOME", tree.path("home").string());

    struct Row {
        const char* name;
        std::string value;
        Paths expected;
    };
    const Row rows[] = {
        {"order kept, empty and missing elements dropped",
         ":" + b.string() + "::" + tree.path("missing").string() + ":" + a.string() + ":", {b, a}},
        {"a link to a folder exists, a dangling one does not",
         tree.path("link-to-a").string() + ":" + tree.path("dangling").string(), {tree.path("link-to-a")}},
        {"set but empty gives no roots, not the defaults", "", {}},
        {"only missing elements give no roots", tree.path("missing").string(), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EnvScope roots("KAVO_WORKSPACE_ROOTS", row.value);
        EXPECT_EQ(workspace_roots(), row.expected);
    }
}

TEST(WorkspaceRoots, WithoutTheVariableTheHomeSharedFolderIsARoot)
{
    EnvScope roots("KAVO_WORKSPACE_ROOTS", std::nullopt);
    Paths system = system_workspace_exists() ? Paths {"/var/workspace"} : Paths {};

    TempTree with_shared;
    with_shared.folder("Shared");
    {
        EnvScope home("KAVO_HOME", with_shared.root().string());
        Paths expected = system;
        expected.push_back(with_shared.path("Shared"));
        EXPECT_EQ(workspace_roots(), expected);
    }
    TempTree without_shared;
    {
        EnvScope home("KAVO_HOME", without_shared.root().string());
        EXPECT_EQ(workspace_roots(), system);
    }
}

TEST(WorkspaceRoots, InsideMeansEqualOrBelowComponentByComponent)
{
    struct Row {
        const char* folder;
        Paths roots;
        bool inside;
    };
    const Row rows[] = {
        {"/a/b", {"/a/b"}, true},
        {"/a/b/c/d", {"/a/b"}, true},
        {"/a/bc", {"/a/b"}, false},
        {"/a", {"/a/b"}, false},
        {"/a/b/", {"/a/b"}, true},
        {"/a//b/./c", {"/a/b/"}, true},
        {"/x/y", {"/a", "/x"}, true},
        {"/a/b", {}, false},
        {"a/b", {"/a"}, false},
        {"/", {"/"}, true},
        {"/a/b", {""}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        EXPECT_EQ(is_inside_roots(row.folder, row.roots), row.inside);
    }
}

TEST(HiddenNames, DotFilesAreHiddenAndRemovedInPlaceKeepingOrder)
{
    EXPECT_TRUE(is_hidden_name(".profile"));
    EXPECT_TRUE(is_hidden_name("..double"));
    EXPECT_FALSE(is_hidden_name("name.with.dots"));
    EXPECT_FALSE(is_hidden_name(""));

    EntryList entries;
    for (const char* name : {".a", "b", ".c", "d", "e", ".f"}) {
        DirectoryEntry e;
        e.name = name;
        entries.push_back(std::move(e));
    }
    files::model::remove_hidden(entries);
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string> {"b", "d", "e"}));
}

}
