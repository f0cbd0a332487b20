#pragma once

#include "kavo_trash/trash.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kavo_trash::test_support {

using namespace kavo_testing;

inline std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline bool exists_no_follow(const std::filesystem::path& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in a folder, sorted; none when it is missing.
inline std::vector<std::string> names_in(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A private tree per test whose "data" folder is the XDG data home, so the home trash is
// <tree>/data/Trash on the same file system as the items the test makes.
class TrashFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_saved_data_home = old;
        ::setenv("XDG_DATA_HOME", tree.path("data").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_saved_data_home)
            ::setenv("XDG_DATA_HOME", m_saved_data_home->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    std::filesystem::path trash() const { return tree.path("data/Trash"); }
    std::filesystem::path trash_files(const std::string& name = {}) const { return name.empty() ? trash() / "files" : trash() / "files" / name; }
    std::filesystem::path trash_info(const std::string& name) const { return trash() / "info" / (name + ".trashinfo"); }

    // The items listed from the home trash of this test.
    std::vector<TrashedItem> listed_here() const
    {
        auto all = list_trashed();
        EXPECT_TRUE(all.has_value()) << (all ? "" : all.error());
        std::vector<TrashedItem> here;
        for (auto& item : all.value_or(std::vector<TrashedItem>{})) {
            if (item.trash_root == trash())
                here.push_back(std::move(item));
        }
        return here;
    }

    std::optional<TrashedItem> listed_from(const std::filesystem::path& original) const
    {
        for (auto& item : listed_here()) {
            if (item.original_path == original)
                return item;
        }
        return std::nullopt;
    }

    TempTree tree;

private:
    std::optional<std::string> m_saved_data_home;
};

}
