#include "support/trash_fixture.hpp"

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashListing : public TrashFixture { };

struct InfoCase {
    const char* name;
    std::string info; // written as info/NAME.trashinfo, next to a files/NAME entry
    bool listed;
};

// Info files written by anyone: those that do not describe an item are passed over one by one,
// the rest of the trash still lists, and tolerable variations are read.
TEST_F(TrashListing, SkipsMalformedAndOrphanedInfoFiles)
{
    const std::string good = tree.path("docs/x").native();
    const InfoCase cases[] = {
        {"no-group", "Path=" + good + "\n", false},
        {"wrong-group", "[Desktop Entry]\nPath=" + good + "\n", false},
        {"no-path", "[Trash Info]\nDeletionDate=2024-01-02T03:04:05\n", false},
        {"empty-path", "[Trash Info]\nPath=\n", false},
        {"bad-escape", "[Trash Info]\nPath=" + good + "%zz\n", false},
        {"truncated-escape", "[Trash Info]\nPath=" + good + "%2\n", false},
        {"nul-byte", "[Trash Info]\nPath=" + good + "%00y\n", false},
        {"relative-in-home", "[Trash Info]\nPath=docs/x\n", false},
        {"parent-component", "[Trash Info]\nPath=" + good + "/../../etc/passwd\n", false},
        {"two-paths", "[Trash Info]\nPath=" + good + "\nPath=/etc/passwd\n", false},
        {"oversized", "[Trash Info]\nPath=" + good + "\n#" + std::string(70000, 'c') + "\n", false},
        {"well-formed", "[Trash Info]\nPath=" + good + "\nDeletionDate=2024-01-02T03:04:05\n", true},
        {"crlf-and-spaces", "# written elsewhere\r\n[Trash Info]\r\nPath = " + good + "\r\nDeletionDate = 2024-01-02T03:04:05\r\n", true},
        {"unescaped-bytes", "[Trash Info]\nPath=" + good + "\xE9!\nDeletionDate=2024-01-02T03:04:05\n", true},
        {"bad-date", "[Trash Info]\nPath=" + good + "\nDeletionDate=yesterday\n", true},
        {"later-group", "[Trash Info]\nPath=" + good + "\nDeletionDate=2024-01-02T03:04:05\n[Other]\nPath=/etc/passwd\n", true},
    };
    for (const auto& c : cases) {
        tree.file(trash_files(c.name).lexically_relative(tree.root()), c.name);
        tree.file(trash_info(c.name).lexically_relative(tree.root()), c.info);
    }
    // An info file without its item, an item without info, and info names that are no files.
    tree.file(trash_info("orphan").lexically_relative(tree.root()), "[Trash Info]\nPath=" + good + "\n");
    tree.file(trash_files("stray").lexically_relative(tree.root()), "stray");
    tree.folder(trash_info("folder-info").lexically_relative(tree.root()));
    tree.folder(trash_files("folder-info").lexically_relative(tree.root()));
    tree.file("elsewhere.trashinfo", "[Trash Info]\nPath=" + good + "\n");
    tree.symlink(tree.path("elsewhere.trashinfo"), trash_info("linked").lexically_relative(tree.root()));
    tree.file(trash_files("linked").lexically_relative(tree.root()));
    tree.file(trash_info(".").lexically_relative(tree.root()), "[Trash Info]\nPath=" + good + "\n");

    auto items = listed_here();
    std::vector<std::string> listed;
    for (const auto& item : items)
        listed.push_back(item.files_path.filename());
    EXPECT_EQ(listed, (std::vector<std::string>{"bad-date", "crlf-and-spaces", "later-group", "unescaped-bytes", "well-formed"}));
    for (const auto& item : items) {
        SCOPED_TRACE(item.files_path.native());
        bool dated = item.files_path.filename() != "bad-date";
        EXPECT_EQ(item.deletion_date, dated ? "2024-01-02T03:04:05" : "");
        EXPECT_EQ(item.original_path, item.files_path.filename() == "unescaped-bytes" ? good + "\xE9!" : good);
    }

    // A listed item still restores, however its info was written.
    auto crlf = std::find_if(items.begin(), items.end(), [](const TrashedItem& i) { return i.files_path.filename() == "crlf-and-spaces"; });
    ASSERT_NE(crlf, items.end());
    ASSERT_EQ(restore({*crlf}).value_or(0), 1u);
    EXPECT_EQ(read_file(good), "crlf-and-spaces");
}

TEST_F(TrashListing, MissingTrashIsEmptyAndUnreadableHomeTrashIsAnError)
{
    auto empty = list_trashed();
    ASSERT_TRUE(empty.has_value()) << empty.error();
    EXPECT_TRUE(listed_here().empty());

    // A home trash whose info folder is no folder cannot be read; that must not look empty.
    tree.file("data/Trash/info", "not a folder");
    tree.folder("data/Trash/files");
    auto broken = list_trashed();
    ASSERT_FALSE(broken.has_value());
    EXPECT_NE(broken.error().find(trash().native() + "/info: Not a directory"), std::string::npos) << broken.error();
}

}
