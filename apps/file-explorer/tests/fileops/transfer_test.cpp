#include "fileops/transfer_engine.hpp"
#include "fileops_fixtures.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace files::fileops;
using namespace files::test_support;

constexpr const char* k_into_itself = "cannot copy or move a folder into itself";

const char* mode_name(TransferMode mode) { return mode == TransferMode::Copy ? "copy" : "move"; }

std::string outcome(const std::expected<std::filesystem::path, std::string>& result)
{
    return result ? "placed at " + result->string() : result.error();
}

// A small tree with a file, a private file, a link, an empty folder and a subfolder.
void make_sample_tree(TempTree& tree, const std::filesystem::path& rel)
{
    tree.file(rel / "a.txt", "alpha");
    ::chmod(tree.file(rel / "sub/private.txt", "secret").c_str(), 0600);
    tree.symlink("../a.txt", rel / "sub/link");
    tree.folder(rel / "empty");
}

std::vector<std::string> leftovers_in(const std::filesystem::path& folder)
{
    std::vector<std::string> found;
    for (const auto& name : names_in(folder))
        if (is_transfer_leftover(name))
            found.push_back(name);
    return found;
}

TEST(TransferItem, CopyIntoItsOwnFolderIsNumberedAndMoveThereIsRefused)
{
    TempTree tree;
    auto source = tree.file("notes.txt", "n");
    EXPECT_EQ(transfer_item(source, tree.root(), TransferMode::Copy), tree.path("notes 2.txt"));
    EXPECT_EQ(transfer_item(source, tree.root(), TransferMode::Copy), tree.path("notes 3.txt"));
    EXPECT_EQ(read_all(tree.path("notes 2.txt")), "n");
    EXPECT_EQ(transfer_item(source, tree.root(), TransferMode::Move), std::unexpected(std::string("the item is already in this folder")));
    EXPECT_EQ(names_in(tree.root()), (std::vector<std::string> {"notes 2.txt", "notes 3.txt", "notes.txt"}));
}

TEST(TransferItem, FolderIntoItselfIsRefused)
{
    TempTree tree;
    tree.folder("top/inner/deeper");
    tree.folder("top-sibling");
    tree.symlink("top/inner", "link-to-inner");
    const std::pair<const char*, const char*> refused[] = {
        {"top", "top"}, {"top", "top/inner"}, {"top", "top/inner/deeper"}, {"top", "link-to-inner"}, {"top/", "top/inner/"}};
    for (TransferMode mode : {TransferMode::Copy, TransferMode::Move}) {
        for (const auto& [source, destination] : refused) {
            SCOPED_TRACE(std::string(mode_name(mode)) + " " + source + " into " + destination);
            EXPECT_EQ(transfer_item(tree.path(source), tree.path(destination), mode), std::unexpected(std::string(k_into_itself)));
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("top/inner/deeper")));
    // Only whole components count: top-sibling is not inside top.
    EXPECT_EQ(transfer_item(tree.path("top"), tree.path("top-sibling"), TransferMode::Copy), tree.path("top-sibling/top"));
}

TEST(TransferItem, MoveWithinOneFileSystemIsOneRename)
{
    TempTree tree;
    make_sample_tree(tree, "from/folder");
    tree.file("from/report.txt", "new");
    tree.file("to/report.txt", "old");
    auto before = snapshot(tree.path("from/folder"));
    AppearanceWatch destination(tree.path("to"));
    AppearanceWatch origin(tree.path("from"));

    EXPECT_EQ(transfer_item(tree.path("from/report.txt"), tree.path("to"), TransferMode::Move), tree.path("to/report 2.txt"));
    EXPECT_EQ(transfer_item(tree.path("from/folder"), tree.path("to"), TransferMode::Move), tree.path("to/folder"));

    EXPECT_EQ(destination.names(), (std::vector<std::string> {"report 2.txt", "folder"}));
    EXPECT_TRUE(origin.names().empty());
    EXPECT_EQ(read_all(tree.path("to/report 2.txt")), "new");
    EXPECT_EQ(read_all(tree.path("to/report.txt")), "old");
    EXPECT_EQ(snapshot(tree.path("to/folder")), before);
    EXPECT_TRUE(names_in(tree.path("from")).empty());
}

TEST(TransferItem, MoveAcrossFileSystemsPlacesTheItemAndRemovesTheSource)
{
    TempTree local;
    OtherFileSystemTree other;
    struct Row {
        const char* name;
        TempTree& from;
        TempTree& to;
    };
    const Row rows[] = {{"tmp to shm", local, other.tree()}, {"shm to tmp", other.tree(), local}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        make_sample_tree(row.from, "tree");
        auto file = row.from.file("single.txt", "one");
        ::chmod(file.c_str(), 0640);
        row.to.file("single.txt", "taken");
        auto tree_before = snapshot(row.from.path("tree"));
        auto file_before = snapshot(file);
        AppearanceWatch watch(row.to.root());

        EXPECT_EQ(transfer_item(row.from.path("tree"), row.to.root(), TransferMode::Move), row.to.path("tree"));
        EXPECT_EQ(transfer_item(file, row.to.root(), TransferMode::Move), row.to.path("single 2.txt"));

        EXPECT_EQ(snapshot(row.to.path("tree")), tree_before);
        EXPECT_EQ(snapshot(row.to.path("single 2.txt")), file_before);
        EXPECT_TRUE(names_in(row.from.root()).empty());
        EXPECT_EQ(names_in(row.to.root()), (std::vector<std::string> {"single 2.txt", "single.txt", "tree"}));
        // The copies went through private staging folders, never straight to the final names.
        auto appeared = watch.names();
        ASSERT_EQ(appeared.size(), 4u);
        EXPECT_TRUE(is_transfer_leftover(appeared[0]));
        EXPECT_EQ(appeared[1], "tree");
        EXPECT_TRUE(is_transfer_leftover(appeared[2]));
        EXPECT_EQ(appeared[3], "single 2.txt");
        std::filesystem::remove_all(row.to.path("tree"));
        std::filesystem::remove(row.to.path("single.txt"));
        std::filesystem::remove(row.to.path("single 2.txt"));
    }
}

TEST(TransferItem, ExhaustedNamesFailAndAMoveAcrossFileSystemsRestoresTheSource)
{
    TempTree local;
    OtherFileSystemTree other;
    auto destination = other.tree().root();
    other.tree().file("x.txt");
    for (unsigned n = 2; n <= 9999; ++n)
        other.tree().symlink("nowhere", "x " + std::to_string(n) + ".txt");
    auto source = local.file("x.txt", "keep me");
    ::chmod(source.c_str(), 0604);
    auto before = snapshot(source);
    std::string exhausted = "Too many files named “x.txt” in “" + destination.string() + "”. Choose another name or folder.";

    for (TransferMode mode : {TransferMode::Copy, TransferMode::Move}) {
        SCOPED_TRACE(mode_name(mode));
        EXPECT_EQ(transfer_item(source, destination, mode), std::unexpected(exhausted));
        EXPECT_EQ(snapshot(source), before);
        EXPECT_TRUE(leftovers_in(destination).empty());
        EXPECT_TRUE(leftovers_in(local.root()).empty());
        EXPECT_EQ(names_in(local.root()), std::vector<std::string> {"x.txt"});
    }
}

// The child cannot read one file of a tree that belongs to root: the copy fails, and neither the
// destination nor the source keeps a trace of the attempt.
TEST(TransferItem, UnreadableFileFailsTheTransferWithoutLeftovers)
{
    TempTree local;
    OtherFileSystemTree other;
    local.open_to_everyone();
    other.tree().open_to_everyone();
    make_sample_tree(local, "tree");
    auto before = snapshot(local.path("tree"));
    auto same_fs = local.folder("drop");
    auto other_fs = other.tree().folder("drop");
    ::chmod(same_fs.c_str(), 0777);
    ::chmod(other_fs.c_str(), 0777);

    const std::pair<TransferMode, std::filesystem::path> rows[] = {{TransferMode::Copy, same_fs}, {TransferMode::Move, other_fs}};
    for (const auto& [mode, destination] : rows) {
        SCOPED_TRACE(mode_name(mode));
        auto text = run_unprivileged_text([&] { return outcome(transfer_item(local.path("tree"), destination, mode)); });
        EXPECT_EQ(text, "Permission denied (os error 13)");
        EXPECT_TRUE(names_in(destination).empty());
        EXPECT_EQ(snapshot(local.path("tree")), before);
        EXPECT_TRUE(leftovers_in(local.root()).empty());
    }
}

// A user who copies a read-only folder owns the copy: placing it in another folder, and removing
// the staging copy when the transfer fails, must not trip over the folder's own permissions.
TEST(TransferItem, ReadOnlyFoldersAreCopiedAndCleanedUpByTheirOwner)
{
    TempTree tree;
    tree.open_to_everyone();
    auto work = tree.folder("work");
    ::chmod(work.c_str(), 0777);
    auto report = run_unprivileged_text([&] {
        std::filesystem::create_directories(work / "src/locked/inner");
        std::filesystem::create_directories(work / "dest");
        std::filesystem::create_directories(work / "full");
        ::close(::open((work / "src/locked/inner/file").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        for (const char* folder : {"src/locked/inner", "src/locked", "src"})
            ::chmod((work / folder).c_str(), 0555);
        ::symlink("nowhere", (work / "full/src").c_str());
        for (unsigned n = 2; n <= 9999; ++n)
            ::symlink("nowhere", (work / "full" / ("src " + std::to_string(n))).c_str());
        std::string text = outcome(transfer_item(work / "src", work / "dest", TransferMode::Copy)) + "\n";
        // The copy cannot be placed, so its staging folder, read-only folders and all, must go.
        auto full = transfer_item(work / "src", work / "full", TransferMode::Copy);
        text += (full ? "placed" : "refused") + std::string("\n");
        for (const auto& name : leftovers_in(work / "full"))
            text += name + "\n";
        // Moving the read-only folder to another parent is refused by the system; the source must
        // stay as it is rather than be copied, set aside and restored.
        text += outcome(transfer_item(work / "src", work / "dest", TransferMode::Move)) + "\n";
        for (const auto& name : leftovers_in(work))
            text += name + "\n";
        return text;
    });
    EXPECT_EQ(report, "placed at " + (work / "dest/src").string() + "\nrefused\n" + "Permission denied (os error 13)\n");
    EXPECT_TRUE(exists_here(work / "src/locked/inner/file"));
    EXPECT_EQ(mode_of(work / "dest/src"), 0555u);
    EXPECT_EQ(mode_of(work / "dest/src/locked"), 0555u);
    EXPECT_EQ(mode_of(work / "dest/src/locked/inner"), 0555u);
    EXPECT_TRUE(exists_here(work / "dest/src/locked/inner/file"));
}

TEST(TransferItem, MissingSourceFailsWithTheSystemText)
{
    TempTree tree;
    for (TransferMode mode : {TransferMode::Copy, TransferMode::Move}) {
        SCOPED_TRACE(mode_name(mode));
        EXPECT_EQ(transfer_item(tree.path("missing"), tree.root(), mode), std::unexpected(std::string("No such file or directory (os error 2)")));
    }
}

}
