#include "fileops/copy_tree_test_api.hpp"
#include "fileops/transfer_engine.hpp"
#include "fileops_fixtures.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

using namespace files::fileops;
using namespace files::test_support;

constexpr const char* k_type_changed = "source type changed during copy";

// Sets the hook for one test and always removes it again.
class HookScope {
public:
    explicit HookScope(CopyTreeTestApi::Hook hook) { CopyTreeTestApi::set_between_status_and_open(std::move(hook)); }
    ~HookScope() { CopyTreeTestApi::set_between_status_and_open({}); }
};

std::string random_bytes(size_t size)
{
    std::mt19937_64 generator(size);
    std::string bytes(size, '\0');
    for (auto& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

void make_socket(const std::filesystem::path& path)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.native().size(), sizeof address.sun_path);
    std::copy(path.native().begin(), path.native().end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(CopyTree, LinksAreCopiedAsLinksAndNeverFollowed)
{
    TempTree tree;
    tree.file("src/file.txt", "f");
    tree.folder("src/folder/inside");
    tree.symlink("file.txt", "src/relative");
    tree.symlink("does/not/exist", "src/dangling");
    tree.symlink(tree.path("src/folder"), "src/to-folder");
    tree.symlink("..", "src/folder/up");
    for (const char* link : {"relative", "dangling", "to-folder"}) {
        SCOPED_TRACE(link);
        auto target = tree.path(std::string("copy-of-") + link);
        ASSERT_TRUE(copy_tree(tree.path("src") / link, target));
        EXPECT_EQ(snapshot(target), snapshot(tree.path("src") / link));
    }
    ASSERT_TRUE(copy_tree(tree.path("src"), tree.path("copy")));
    EXPECT_EQ(snapshot(tree.path("copy")), snapshot(tree.path("src")));
    EXPECT_TRUE(std::filesystem::is_symlink(tree.path("copy/to-folder")));
    EXPECT_TRUE(std::filesystem::is_symlink(tree.path("copy/folder/up")));
}

TEST(CopyTree, ContentIsByteIdenticalAndPermissionBitsAreKept)
{
    TempTree tree;
    OtherFileSystemTree other;
    const std::pair<const char*, mode_t> files[] = {{"private", 0600}, {"tool", 0755}, {"read-only", 0400}, {"sticky", 01644}};
    for (const auto& [name, mode] : files)
        ::chmod(tree.file(std::string("src/") + name, name).c_str(), mode);
    tree.file("src/empty");
    tree.file("src/big.bin", random_bytes((3 << 20) + 12345));
    const std::pair<const char*, mode_t> folders[] = {{"src/open", 0755}, {"src/own", 0700}, {"src/locked", 0555}};
    for (const auto& [name, mode] : folders) {
        tree.file(std::string(name) + "/inner", "i");
        ::chmod(tree.path(name).c_str(), mode);
    }
    auto expected = snapshot(tree.path("src"));
    for (const auto& target : {tree.path("copy"), other.tree().path("copy")}) {
        SCOPED_TRACE(target.string());
        ASSERT_EQ(failure_text(copy_tree(tree.path("src"), target)), "");
        EXPECT_EQ(snapshot(target), expected);
    }
    // A file the kernel reports as empty that still reads, as in /proc.
    ASSERT_TRUE(copy_tree("/proc/version", tree.path("version")));
    EXPECT_EQ(read_all(tree.path("version")), read_all("/proc/version"));
    EXPECT_FALSE(read_all(tree.path("version")).empty());
}

TEST(CopyTree, NeverReplacesAnExistingTarget)
{
    TempTree tree;
    tree.file("src", "new");
    tree.file("target", "old");
    EXPECT_EQ(copy_tree(tree.path("src"), tree.path("target")), std::unexpected(std::string("File exists (os error 17)")));
    EXPECT_EQ(read_all(tree.path("target")), "old");
}

// Pipes and sockets cannot be copied; a pipe must not stall the copy waiting for a writer.
TEST(CopyTree, SpecialFilesFailTheCopyWithoutBlocking)
{
    TempTree tree;
    tree.file("fifo-tree/a.txt", "a");
    ASSERT_EQ(::mkfifo(tree.path("fifo-tree/pipe").c_str(), 0644), 0);
    tree.file("socket-tree/a.txt", "a");
    make_socket(tree.path("socket-tree/socket"));
    tree.folder("drop");
    for (const char* source : {"fifo-tree", "socket-tree"}) {
        SCOPED_TRACE(source);
        EXPECT_EQ(copy_tree(tree.path(source), tree.path(std::string(source) + "-copy")), std::unexpected(std::string(k_type_changed)));
        EXPECT_EQ(transfer_item(tree.path(source), tree.path("drop"), TransferMode::Copy), std::unexpected(std::string(k_type_changed)));
        EXPECT_TRUE(names_in(tree.path("drop")).empty());
    }
}

// Another process swaps an entry after its status was read: the copy fails and nothing behind a
// swapped-in link is read.
TEST(CopyTree, EntrySwappedAfterItsStatusFailsTheCopy)
{
    TempTree tree;
    tree.file("outside/secret.txt", "secret");
    tree.folder("outside/secret-folder");
    tree.file("outside/secret-folder/more.txt", "secret");
    struct Row {
        const char* name;
        std::function<void(const std::filesystem::path&)> make_victim;
        std::function<void(const std::filesystem::path&)> make_replacement;
    };
    auto file = [](const std::filesystem::path& p) { ::close(::open(p.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644)); };
    auto folder = [](const std::filesystem::path& p) { ::mkdir(p.c_str(), 0755); };
    auto secret_link = [&](const std::filesystem::path& p) { ::symlink(tree.path("outside/secret.txt").c_str(), p.c_str()); };
    auto folder_link = [&](const std::filesystem::path& p) { ::symlink(tree.path("outside/secret-folder").c_str(), p.c_str()); };
    auto fifo = [](const std::filesystem::path& p) { ::mkfifo(p.c_str(), 0644); };
    const Row rows[] = {
        {"file becomes a link", file, secret_link},
        {"file becomes a pipe", file, fifo},
        {"folder becomes a link", folder, folder_link},
        {"folder becomes a file", folder, file},
    };
    int row_index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto source = tree.folder("src" + std::to_string(row_index));
        auto spare = tree.path("spare" + std::to_string(row_index));
        auto target = tree.path("copy" + std::to_string(row_index++));
        tree.file(source / "plain.txt", "p");
        row.make_victim(source / "victim");
        row.make_replacement(spare);
        HookScope hook([&](int, const char* name) {
            if (std::string_view(name) != "victim")
                return;
            std::filesystem::remove_all(source / "victim");
            std::filesystem::rename(spare, source / "victim");
        });
        EXPECT_EQ(copy_tree(source, target), std::unexpected(std::string(k_type_changed)));
        for (const auto& [rel, value] : snapshot(target))
            EXPECT_EQ(value.find(content_digest(tree.path("outside/secret.txt"))), std::string::npos) << rel;
    }
}

TEST(CopyTree, SetUserIdStaysOnlyWhereTheOwnerStays)
{
    TempTree tree;
    tree.open_to_everyone();
    auto folder = tree.folder("theirs");
    ::chmod(folder.c_str(), 0777);
    ASSERT_EQ(run_unprivileged([&] {
        auto program = folder / "program";
        ::close(::open(program.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0755));
        return ::chmod(program.c_str(), 04755);
    }),
              0);
    ASSERT_TRUE(copy_tree(folder / "program", tree.path("copy")));
    // Root's copy of someone's set-user-ID program must not run as root.
    EXPECT_EQ(mode_of(tree.path("copy")), ::geteuid() == 0 ? 0755u : 04755u);
}

TEST(CopyTree, DeepTreesAreCopiedWithoutRecursionAndFailCleanlyAtTheOpenFileLimit)
{
    TempTree tree;
    std::filesystem::path deep = "deep";
    for (int level = 0; level < 300; ++level)
        deep /= "d";
    tree.file(deep / "leaf.txt", "leaf");
    ::chmod(tree.path(deep).c_str(), 0750);
    ASSERT_TRUE(copy_tree(tree.path("deep"), tree.path("copy")));
    EXPECT_EQ(snapshot(tree.path("copy")), snapshot(tree.path("deep")));
    ASSERT_TRUE(remove_path(tree.path("copy")));
    EXPECT_FALSE(exists_here(tree.path("copy")));

    // With few descriptors the walk ends with the system's text instead of crashing.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit limited = {64, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limited), 0);
    auto copied = copy_tree(tree.path("deep"), tree.path("limited"));
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(copied, std::unexpected(std::string("Too many open files (os error 24)")));
}

TEST(RemovePath, RemovesTreesAndLinksWithoutFollowingThem)
{
    TempTree tree;
    tree.file("keep/kept.txt", "k");
    tree.file("tree/a/b.txt");
    tree.symlink(tree.path("keep"), "tree/a/link-out");
    tree.symlink(tree.path("keep"), "link-to-keep");
    tree.file("file.txt");
    for (const char* item : {"tree", "link-to-keep", "file.txt", "missing"}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(failure_text(remove_path(tree.path(item))), "");
        EXPECT_FALSE(exists_here(tree.path(item)));
    }
    EXPECT_EQ(names_in(tree.root()), std::vector<std::string> {"keep"});
    EXPECT_EQ(read_all(tree.path("keep/kept.txt")), "k");
}

}
