#include "model/folder_items.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using files::model::FolderItems;
using files::model::ItemStatus;
using kavo_testing::TempTree;

std::vector<std::string> readdir_order(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

// Small buffers make the kernel hand the folder over in many batches, so that statuses are read
// on the second thread while the enumeration is still going on.
TEST(FolderItems, ManyBatchesKeepEnumerationOrderAndEveryStatus)
{
    TempTree tree;
    constexpr int k_items = 3 * static_cast<int>(files::model::k_parallel_items);
    for (int i = 0; i < k_items; ++i) {
        std::string name = "entry-" + std::to_string(i);
        if (i % 97 == 0)
            tree.folder(name);
        else
            tree.file(name, std::string(static_cast<size_t>(i % 11), 'y'));
    }
    tree.symlink("entry-1", "link");
    std::vector<std::string> expected_order = readdir_order(tree.root());
    ASSERT_EQ(expected_order.size(), static_cast<size_t>(k_items) + 1);

    for (size_t buffer_bytes : {size_t(4096), size_t(64 * 1024), files::model::k_enumeration_buffer_bytes}) {
        SCOPED_TRACE("buffer of " + std::to_string(buffer_bytes) + " bytes");
        int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        FolderItems items = FolderItems::read(fd, buffer_bytes);
        ::close(fd);

        ASSERT_EQ(items.size(), expected_order.size());
        size_t index = 0;
        items.for_each(0, items.size(), [&](std::string_view name, const ItemStatus& status) {
            ASSERT_EQ(name, expected_order[index]) << "at " << index;
            ++index;
            struct stat own;
            ASSERT_EQ(::lstat(tree.path(std::string(name)).c_str(), &own), 0);
            ASSERT_TRUE(status.readable) << name;
            ASSERT_EQ(status.is_folder, S_ISDIR(own.st_mode)) << name;
            ASSERT_EQ(status.size, static_cast<uint64_t>(own.st_size)) << name;
            ASSERT_TRUE(status.has_time);
            ASSERT_EQ(status.seconds, own.st_mtim.tv_sec);
            ASSERT_EQ(status.nanoseconds, static_cast<uint32_t>(own.st_mtim.tv_nsec));
        });
        EXPECT_EQ(index, expected_order.size());

        // A range that starts and ends inside batches.
        std::vector<std::string> middle;
        items.for_each(1000, 5000, [&](std::string_view name, const ItemStatus&) { middle.emplace_back(name); });
        EXPECT_EQ(middle, std::vector<std::string>(expected_order.begin() + 1000, expected_order.begin() + 5000));
    }
}

}
