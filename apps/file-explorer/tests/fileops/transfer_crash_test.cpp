#include "fileops/transfer_engine.hpp"
#include "fileops_fixtures.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>

namespace {

using namespace files::fileops;
using namespace files::test_support;
using std::filesystem::path;

constexpr size_t k_big_size = size_t(256) << 20;

// Every 8-byte word holds its own offset, so a copy cut short or shifted is never complete.
void write_pattern(const path& file, size_t size)
{
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    std::vector<uint64_t> words((size_t(1) << 20) / sizeof(uint64_t));
    for (size_t offset = 0; offset < size; offset += words.size() * sizeof(uint64_t)) {
        for (size_t i = 0; i < words.size(); ++i)
            words[i] = offset + i * sizeof(uint64_t);
        ASSERT_EQ(::write(fd, words.data(), words.size() * sizeof(uint64_t)), ssize_t(words.size() * sizeof(uint64_t)));
    }
    ::close(fd);
}

std::optional<path> staging_payload(const path& folder)
{
    for (const auto& name : names_in(folder))
        if (name.starts_with(".kavo-transfer-") && exists_here(folder / name / "payload"))
            return folder / name / "payload";
    return std::nullopt;
}

bool has_name_starting(const path& folder, std::string_view prefix)
{
    for (const auto& name : names_in(folder))
        if (name.starts_with(prefix))
            return true;
    return false;
}

struct Killed {
    bool by_signal = false;
};

// Runs the transfer in a child and kills it with SIGKILL as soon as `reached` holds; a child that
// finishes first simply exits.
Killed run_and_kill(const path& source, const path& destination, TransferMode mode, const std::function<bool()>& reached)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(transfer_item(source, destination, mode) ? 0 : 1);
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (reached() || std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return {WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL};
}

// Whatever the destination shows under an ordinary name is a complete copy.
void expect_only_complete_items(const path& destination, const TreeSnapshot& complete)
{
    for (const auto& name : names_in(destination)) {
        SCOPED_TRACE(name);
        if (!is_transfer_leftover(name)) {
            EXPECT_EQ(snapshot(destination / name), complete);
        }
    }
}

TEST(TransferItemKilled, CopyCutShortLeavesOnlyHiddenPartialData)
{
    TempTree tree;
    write_pattern(tree.path("big.bin"), k_big_size);
    auto destination = tree.folder("drop");
    auto before = snapshot(tree.path("big.bin"));
    Killed killed = run_and_kill(tree.path("big.bin"), destination, TransferMode::Copy, [&] {
        auto payload = staging_payload(destination);
        return payload && std::filesystem::file_size(*payload) > 0;
    });
    EXPECT_TRUE(killed.by_signal);
    EXPECT_EQ(snapshot(tree.path("big.bin")), before);
    expect_only_complete_items(destination, before);
    EXPECT_FALSE(exists_here(destination / "big.bin"));
}

TEST(TransferItemKilled, MoveAcrossFileSystemsNeverLosesTheSource)
{
    struct Row {
        const char* name;
        bool expect_killed;
        std::function<bool(const path& origin, const path& destination)> reached;
    };
    const Row rows[] = {
        {"while the payload is written", true,
         [](const path&, const path& destination) {
             auto payload = staging_payload(destination);
             return payload && exists_here(*payload / "big.bin") && std::filesystem::file_size(*payload / "big.bin") > 0;
         }},
        // Deleting a tmpfs tree is quick, so the child may finish first; then it must be complete.
        {"while the source is deleted", false,
         [](const path& origin, const path&) { return has_name_starting(origin, ".kavo-transfer-source-"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OtherFileSystemTree other;
        TempTree local;
        auto source = other.tree().folder("tree");
        write_pattern(source / "big.bin", k_big_size);
        for (int i = 0; i < 2000; ++i)
            other.tree().file("tree/small/" + std::to_string(i), std::to_string(i));
        auto before = snapshot(source);
        auto destination = local.folder("drop");

        Killed killed = run_and_kill(source, destination, TransferMode::Move,
                                     [&] { return row.reached(other.tree().root(), destination); });
        if (row.expect_killed) {
            EXPECT_TRUE(killed.by_signal);
        }

        expect_only_complete_items(destination, before);
        bool intact = exists_here(source) && snapshot(source) == before;
        auto payload = staging_payload(destination);
        bool staged = payload && snapshot(*payload) == before;
        bool placed = exists_here(destination / "tree");
        EXPECT_TRUE(intact || staged || placed);
        for (const auto& name : names_in(other.tree().root()))
            EXPECT_TRUE(name == "tree" || name.starts_with(".kavo-transfer-source-")) << name;
    }
}

}
