#include "support/trash_fixture.hpp"

#include <fcntl.h>

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashCollisions : public TrashFixture { };

std::string repeated(std::string_view part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

// What the trash already holds under the item's own name before the first attempt.
enum class Seed { Nothing, InfoWithoutItem, ItemWithoutInfo };

struct CollisionCase {
    const char* label;
    std::string name;
    int times;
    Seed seed;
    std::vector<std::string> expected;
};

// Items of one name get distinct names, the extension kept last. A name is only taken once
// its info file could be created exclusively, and a files/ entry left without info still
// counts as taken; neither is touched.
TEST_F(TrashCollisions, SameNamesGetNumberedNamesWithoutTouchingWhatIsThere)
{
    const std::string long_name = std::string(250, 'x') + ".txt";
    const CollisionCase cases[] = {
        {"extension kept last", "report.pdf", 3, Seed::Nothing, {"report.pdf", "report.2.pdf", "report.3.pdf"}},
        {"hidden name", ".hidden", 2, Seed::Nothing, {".hidden", ".hidden.2"}},
        {"last extension only", "archive.tar.gz", 2, Seed::Nothing, {"archive.tar.gz", "archive.tar.2.gz"}},
        {"no extension", "README", 2, Seed::Nothing, {"README", "README.2"}},
        {"stale info file", "taken", 1, Seed::InfoWithoutItem, {"taken.2"}},
        {"entry without info", "stray.txt", 1, Seed::ItemWithoutInfo, {"stray.2.txt"}},
        {"long name shortened in the stem", long_name, 2, Seed::Nothing,
         {std::string(241, 'x') + ".txt", std::string(239, 'x') + ".2.txt"}},
        {"long UTF-8 name not cut inside a character", repeated("\xC3\xA9", 125) + ".txt", 1, Seed::Nothing,
         {repeated("\xC3\xA9", 120) + ".txt"}},
    };
    ASSERT_TRUE(trash_paths({tree.file("first")}).has_value()); // creates the trash folders
    std::vector<std::pair<std::filesystem::path, std::string>> originals;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.seed == Seed::InfoWithoutItem)
            tree.file(trash_info(c.name).lexically_relative(tree.root()), "stale");
        if (c.seed == Seed::ItemWithoutInfo)
            tree.file(trash_files(c.name).lexically_relative(tree.root()), "stray");
        std::vector<std::string> names;
        for (int i = 0; i < c.times; ++i) {
            auto original = tree.file(std::filesystem::path(std::to_string(i)) / c.name, c.label + std::to_string(i));
            auto trashed = trash_paths({original});
            ASSERT_TRUE(trashed.has_value()) << trashed.error();
            names.push_back(trashed->front().filename());
            originals.emplace_back(original, c.label + std::to_string(i));
        }
        EXPECT_EQ(names, c.expected);
        if (c.seed == Seed::InfoWithoutItem) {
            EXPECT_EQ(read_file(trash_info(c.name)), "stale");
        }
        if (c.seed == Seed::ItemWithoutInfo) {
            EXPECT_EQ(read_file(trash_files(c.name)), "stray");
            EXPECT_FALSE(exists_no_follow(trash_info(c.name)));
        }
    }

    // Every numbered item still knows where it came from.
    auto items = listed_here();
    std::erase_if(items, [&](const TrashedItem& item) { return item.original_path == tree.path("first"); });
    auto restored = restore(items);
    ASSERT_TRUE(restored.has_value()) << restored.error();
    EXPECT_EQ(*restored, originals.size());
    for (const auto& [path, content] : originals) {
        SCOPED_TRACE(path.native());
        EXPECT_EQ(read_file(path), content);
    }
}

}
