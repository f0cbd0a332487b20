#include "fileops/names.hpp"
#include "fileops/transfer_engine.hpp"
#include "fileops_fixtures.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace files::fileops;
using files::test_support::AppearanceWatch;
using files::test_support::exists_here;
using files::test_support::names_in;
using files::test_support::read_all;
using kavo_testing::TempTree;

TEST(NameParts, SplitsAtTheLastDotAndNumbersBeforeTheExtension)
{
    struct Row {
        const char* name;
        const char* stem;
        std::optional<std::string> extension;
        const char* second;
    };
    const Row rows[] = {
        {"notes.txt", "notes", "txt", "notes 2.txt"},
        {"photo.jpeg", "photo", "jpeg", "photo 2.jpeg"},
        {"a.tar.gz", "a.tar", "gz", "a.tar 2.gz"},
        {".hidden", ".hidden", std::nullopt, ".hidden 2"},
        {".profile.bak", ".profile", "bak", ".profile 2.bak"},
        {"draft.", "draft", "", "draft 2."},
        {"README", "README", std::nullopt, "README 2"},
        // Bytes that are not UTF-8 stay as they are in every numbered form.
        {"\xff\xfe.txt", "\xff\xfe", "txt", "\xff\xfe 2.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NameParts parts = NameParts::split(std::filesystem::path("/some/folder") / row.name);
        EXPECT_EQ(parts.full, row.name);
        EXPECT_EQ(parts.stem, row.stem);
        EXPECT_EQ(parts.extension, row.extension);
        EXPECT_EQ(numbered_name(parts, 1), row.name);
        EXPECT_EQ(numbered_name(parts, 2), row.second);
    }
    EXPECT_EQ(numbered_name(NameParts::split("notes.txt"), 9999), "notes 9999.txt");
}

TEST(ValidateName, TrimsUnicodeWhiteSpaceAtBothEnds)
{
    const std::pair<const char*, const char*> rows[] = {
        {"  notes.txt  ", "notes.txt"},
        {"\t\n report \r", "report"},
        // NO-BREAK SPACE, IDEOGRAPHIC SPACE and LINE SEPARATOR around, a space inside.
        {"\u00a0\u3000my file\u2028", "my file"},
        {"\u00e9t\u00e9", "\u00e9t\u00e9"},
    };
    for (const auto& [typed, expected] : rows) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(validate_item_name(typed), expected);
        EXPECT_EQ(validate_folder_name(typed), expected);
    }
}

TEST(ValidateName, RefusesEmptyDotAndSlashNames)
{
    struct Row {
        std::string typed;
        const char* item_error;
        const char* folder_error;
    };
    const Row rows[] = {
        {"", "Name cannot be empty", "Folder name cannot be empty"},
        {" \t\u00a0 ", "Name cannot be empty", "Folder name cannot be empty"},
        {".", "Name cannot contain '/'", "Name cannot contain '/'"},
        {" .. ", "Name cannot contain '/'", "Name cannot contain '/'"},
        {"a/b", "Name cannot contain '/'", "Name cannot contain '/'"},
        {"/", "Name cannot contain '/'", "Name cannot contain '/'"},
        // The system would act on the name cut short at the NUL byte.
        {std::string("a\0b", 3), "Invalid argument (os error 22)", "Invalid argument (os error 22)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.typed + "\"");
        EXPECT_EQ(validate_item_name(row.typed), std::unexpected(std::string(row.item_error)));
        EXPECT_EQ(validate_folder_name(row.typed), std::unexpected(std::string(row.folder_error)));
    }
}

TEST(ProbeDestination, AnythingThereIsTakenAndOnlyNotFoundIsFree)
{
    TempTree tree;
    tree.file("file.txt");
    tree.symlink("nowhere", "dangling");
    EXPECT_EQ(probe_destination(tree.path("missing")), Probe::Free);
    EXPECT_EQ(probe_destination(tree.path("file.txt")), Probe::Taken);
    EXPECT_EQ(probe_destination(tree.path("dangling")), Probe::Taken);
    EXPECT_EQ(probe_destination(tree.path("file.txt/x")),
              std::unexpected("Cannot check “" + tree.path("file.txt/x").string() + "”: Not a directory (os error 20)"));
}

TEST(ChooseFreeDestination, TakesTheFirstFreeNumberAndStopsAfter9999)
{
    TempTree tree;
    tree.symlink("nowhere", "x.txt");
    EXPECT_EQ(choose_free_destination(tree.root(), "x.txt"), tree.path("x 2.txt"));
    for (unsigned n = 2; n <= 9998; ++n)
        tree.symlink("nowhere", "x " + std::to_string(n) + ".txt");
    EXPECT_EQ(choose_free_destination(tree.root(), "x.txt"), tree.path("x 9999.txt"));
    tree.symlink("nowhere", "x 9999.txt");
    EXPECT_EQ(choose_free_destination(tree.root(), "x.txt"),
              std::unexpected("Too many files named “x.txt” in “" + tree.root().string() + "”. Choose another name or folder."));
}

TEST(ChooseFreeDestination, UnsearchableFolderIsAFailureNotANumber)
{
    TempTree tree;
    tree.open_to_everyone();
    auto folder = tree.folder("locked");
    tree.file("locked/a.txt");
    auto source = tree.file("source.txt");
    ::chmod(folder.c_str(), 0666);
    auto texts = kavo_testing::run_unprivileged_text([&] {
        auto chosen = choose_free_destination(folder, "a.txt");
        auto created = create_folder(folder, "New Folder");
        auto copied = transfer_item(source, folder, TransferMode::Copy);
        return (chosen ? "chosen" : chosen.error()) + "\n" + (created ? "created" : created.error()) + "\n"
            + (copied ? "copied" : copied.error());
    });
    ASSERT_TRUE(texts);
    std::string denied = "Permission denied (os error 13)";
    EXPECT_EQ(*texts, "Cannot check “" + (folder / "a.txt").string() + "”: " + denied + "\nCannot check “"
                  + (folder / "New Folder").string() + "”: " + denied + "\n" + "Cannot check “"
                  + (folder / "source.txt").string() + "”: " + denied);
}

TEST(CreateFolder, CreatesTheTrimmedNameWithTheNextFreeNumber)
{
    TempTree tree;
    tree.folder("New Folder");
    tree.folder("New Folder 2");
    EXPECT_EQ(create_folder(tree.root(), "New Folder"), tree.path("New Folder 3"));
    EXPECT_EQ(create_folder(tree.root(), " \u00a0Plans\t"), tree.path("Plans"));
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("New Folder 3")));
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("Plans")));
    EXPECT_EQ(create_folder(tree.root(), "  "), std::unexpected(std::string("Folder name cannot be empty")));
    EXPECT_EQ(create_folder(tree.path("missing"), "A"), std::unexpected(std::string("No such file or directory (os error 2)")));
}

TEST(RenameItem, RenamesToTheTrimmedNameInTheSameFolder)
{
    TempTree tree;
    tree.file("docs/a.txt", "alpha");
    tree.folder("docs/sub");
    EXPECT_EQ(rename_item(tree.path("docs/a.txt"), "  b.txt\u3000"), tree.path("docs/b.txt"));
    EXPECT_EQ(read_all(tree.path("docs/b.txt")), "alpha");
    // A folder written with a trailing separator is still the folder itself.
    EXPECT_EQ(rename_item(tree.path("docs/sub/"), "renamed"), tree.path("docs/renamed"));
    EXPECT_EQ(names_in(tree.path("docs")), (std::vector<std::string> {"b.txt", "renamed"}));
}

TEST(RenameItem, ItsOwnNameInAnySpellingLeavesTheItemUntouched)
{
    TempTree tree;
    tree.file("notes.txt");
    tree.folder("folder");
    AppearanceWatch watch(tree.root());
    EXPECT_EQ(rename_item(tree.path("notes.txt"), "notes.txt"), tree.path("notes.txt"));
    EXPECT_EQ(rename_item(tree.root() / "." / "notes.txt", " notes.txt "), tree.root() / "." / "notes.txt");
    EXPECT_EQ(rename_item(tree.path("folder/"), "folder"), tree.path("folder"));
    EXPECT_TRUE(watch.names().empty());
}

TEST(RenameItem, NeverReplacesAnotherItem)
{
    TempTree tree;
    tree.file("a.txt", "alpha");
    tree.file("other.txt", "other");
    tree.symlink("a.txt", "link-to-a");
    tree.symlink("nowhere", "dangling");
    ASSERT_EQ(::link(tree.path("a.txt").c_str(), tree.path("hard-link").c_str()), 0);
    // Another file, a link to the item itself (links never count as the same item), a dangling
    // link and a second hard link of the same file.
    for (const char* taken : {"other.txt", "link-to-a", "dangling", "hard-link"}) {
        SCOPED_TRACE(taken);
        EXPECT_EQ(rename_item(tree.path("a.txt"), taken), std::unexpected("“" + std::string(taken) + "” already exists"));
    }
    EXPECT_EQ(read_all(tree.path("a.txt")), "alpha");
    EXPECT_EQ(read_all(tree.path("other.txt")), "other");
    EXPECT_EQ(rename_item(tree.path("a.txt"), "a/b"), std::unexpected(std::string("Name cannot contain '/'")));
    EXPECT_EQ(rename_item("/", "x"), std::unexpected(std::string("No parent directory")));
    EXPECT_EQ(rename_item(tree.path("missing"), "x"), std::unexpected(std::string("No such file or directory (os error 2)")));
}

}
