#include "fileops/archive_extract.hpp"
#include "fileops/archive_names.hpp"
#include "fileops/archive_reader.hpp"
#include "fileops/extraction_folder.hpp"
#include "support/archive_corpus.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using files::fileops::extract_archive;
using files::test_support::crc32_of;
using files::test_support::gzip;
using files::test_support::RawTar;
using files::test_support::RawZip;
using kavo_testing::TempTree;
using Tree = std::map<std::string, std::string>;

// Everything below `root`: files with their contents, folders as "name/", links as "name@".
Tree tree_of(const std::filesystem::path& root)
{
    Tree tree;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec); it != std::filesystem::recursive_directory_iterator();
         it.increment(ec)) {
        std::string relative = std::filesystem::relative(it->path(), root).native();
        if (it->is_symlink()) {
            tree[relative + "@"] = "";
        } else if (it->is_directory()) {
            tree[relative + "/"] = "";
        } else {
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            tree[relative] = content.str();
        }
    }
    return tree;
}

bool has_leftovers(const Tree& tree)
{
    for (const auto& [name, content] : tree) {
        if (name.find(".extracting-") != std::string::npos)
            return true;
    }
    return false;
}

class ArchiveExtractTest : public testing::Test {
protected:
    void SetUp() override { m_tree.folder("out"); }

    std::filesystem::path archive(const std::string& name, const std::string& bytes) { return m_tree.file("in/" + name, bytes); }

    // Extracts into out/dest and checks that a failure leaves the whole tree as it was.
    std::expected<std::vector<std::filesystem::path>, std::string> extract(const std::filesystem::path& archive_path)
    {
        Tree before = tree_of(m_tree.root());
        auto extracted = extract_archive(archive_path, destination());
        Tree after = tree_of(m_tree.root());
        EXPECT_FALSE(has_leftovers(after));
        if (!extracted) {
            EXPECT_EQ(after, before) << "a failed extraction changed the tree";
        } else {
            // Only the destination is new.
            for (const auto& [name, content] : before)
                EXPECT_EQ(after.count(name), 1u) << name;
            for (const auto& [name, content] : after)
                EXPECT_TRUE(before.count(name) || name.starts_with("out/dest/")) << name;
        }
        return extracted;
    }

    std::filesystem::path destination() const { return m_tree.path("out/dest"); }

    TempTree m_tree;
};

std::string hex(uint32_t value)
{
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

std::string hundred_and_ten() { return std::string(110, 'h'); }

TEST_F(ArchiveExtractTest, HostileArchivesFailAndLeaveNothingBehind)
{
    std::string zip_of_two = RawZip().file("a.txt", hundred_and_ten()).file("b.txt", "b").bytes();
    std::string tar_of_two = RawTar().file("a.txt", std::string(2000, 'a')).file("b.txt", "b").bytes();
    std::string tgz;
    {
        RawTar big;
        for (int i = 0; i < 3; ++i) {
            std::string data(200'000, '\0');
            for (size_t k = 0; k < data.size(); ++k)
                data[k] = char((k * 7919 + size_t(i) * 104729) >> 5);
            big.file("f" + std::to_string(i), data);
        }
        tgz = gzip(big.bytes());
    }
    struct Row {
        const char* label;
        const char* name;
        std::string bytes;
        std::string error;
    } rows[] = {
        {"absolute zip name", "x.zip", RawZip().file("ok.txt").file("/etc/x").bytes(), "archive entry escapes its destination"},
        {"parent zip name", "x.zip", RawZip().file("ok.txt").file("../x").bytes(), "archive entry escapes its destination"},
        {"climbing zip name", "x.zip", RawZip().file("a/b").file("a/../../x").bytes(), "archive entry escapes its destination"},
        {"absolute tar name", "x.tar", RawTar().file("ok.txt").file("/etc/x").bytes(), "archive entry escapes its destination"},
        {"parent tar folder", "x.tar", RawTar().folder("../x/").bytes(), "archive entry escapes its destination"},
        {"parent name of a fifo", "x.tar", RawTar().add({.name = "../fifo", .type = '6'}).bytes(),
         "archive entry escapes its destination"},
        {"empty zip name", "x.zip", RawZip().file("ok.txt").file("").bytes(), "empty archive entry"},
        {"empty tar name", "x.tar", RawTar().file("").bytes(), "empty archive entry"},
        {"file named as the top folder", "x.tar", RawTar().file(".").bytes(), "empty archive entry"},
        {"duplicate file", "x.zip", RawZip().file("a/b", "1").file("a/b", "2").bytes(), "a/b: File exists (os error 17)"},
        {"folder over a file", "x.tar", RawTar().file("x").folder("x/").bytes(), "x: Not a directory (os error 20)"},
        {"file over a folder", "x.zip", RawZip().folder("x/").file("x").bytes(), "x: File exists (os error 17)"},
        // The second member claims exactly 16 GiB, which alone would pass; its data is not there.
        {"declared sizes past 16 GiB", "x.tar",
         RawTar().file("one", "1").add({.name = "big", .type = '0', .data = "", .link = "", .declared_size = uint64_t(16) << 30}).bytes(false),
         "archive expands beyond the safety limit"},
        {"one member past 16 GiB", "x.tar", RawTar().add({.name = "big", .declared_size = uint64_t(17) << 30}).bytes(false),
         "archive expands beyond the safety limit"},
        {"central directory claims more", "x.zip",
         RawZip().add({.name = "f.txt", .data = hundred_and_ten(), .central_size = 5000, .data_descriptor = true}).bytes(),
         "truncated ZIP entry"},
        {"central directory claims less", "x.zip",
         RawZip().add({.name = "f.txt", .data = hundred_and_ten(), .central_size = 50, .data_descriptor = true}).bytes(),
         "truncated ZIP entry"},
        {"central directory and local header disagree", "x.zip",
         RawZip().add({.name = "f.txt", .data = hundred_and_ten(), .central_size = 5000}).bytes(),
         "Inconsistent uncompressed size: 5000 in central directory, 110 in local header"},
        {"damaged member data", "x.zip", RawZip().add({.name = "f.txt", .data = "hello", .wrong_crc = true}).bytes(),
         "ZIP bad CRC: 0x" + hex(crc32_of("hello")) + " should be 0x" + hex(crc32_of("hello") ^ 1)},
        {"truncated zip", "x.zip", zip_of_two.substr(0, zip_of_two.size() - 10), "Unrecognized archive format"},
        {"truncated tar", "x.tar", tar_of_two.substr(0, 1024), "Truncated tar archive"},
        {"gzip stream ends early", "x.tar.gz", tgz.substr(0, tgz.size() * 6 / 10), "truncated gzip input"},
        {"gzip stream without its trailer", "x.tgz", tgz.substr(0, tgz.size() - 4), "truncated TAR entry"},
        {"password-protected member", "x.zip",
         files::test_support::libarchive_zip({{"secret.txt", "hello"}}, "zip:encryption=traditional", "secret"),
         "Passphrase required for this entry"},
        {"tar that is not a tar", "x.tar", "just some text", "Unrecognized archive format"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto extracted = extract(archive(row.name, row.bytes));
        ASSERT_FALSE(extracted.has_value());
        EXPECT_EQ(extracted.error(), row.error);
        EXPECT_FALSE(std::filesystem::exists(destination()));
    }
}

TEST_F(ArchiveExtractTest, WritesOnlyPlainFilesAndFoldersInside)
{
    // A folder outside that a planted link points at; nothing may arrive there.
    m_tree.folder("victim");
    std::string victim = m_tree.path("victim").native();
    struct Row {
        const char* label;
        const char* name;
        std::string bytes;
        Tree written;
        std::vector<std::string> files;  // in archive order
    } rows[] = {
        {"dot components in zip", "x.zip", RawZip().file("./a/./b").bytes(), {{"a/", ""}, {"a/b", "x"}}, {"a/b"}},
        {"dot components in tar", "x.tar", RawTar().file("./a/./b").bytes(), {{"a/", ""}, {"a/b", "x"}}, {"a/b"}},
        {"gzip-compressed tar", "x.tar.gz", gzip(RawTar().folder("./").folder("./d/").file("./d/f", "data").bytes()),
         {{"d/", ""}, {"d/f", "data"}}, {"d/f"}},
        {"zip link, then a file through it", "x.zip", RawZip().symlink("link", victim).file("link/x", "mine").bytes(),
         {{"link/", ""}, {"link/x", "mine"}}, {"link/x"}},
        {"tar link, then a file through it", "x.tgz", gzip(RawTar().symlink("link", victim).file("link/x", "mine").bytes()),
         {{"link/", ""}, {"link/x", "mine"}}, {"link/x"}},
        {"tar link climbing out", "x.tar", RawTar().symlink("up", "../..").file("up/x").bytes(), {{"up/", ""}, {"up/x", "x"}}, {"up/x"}},
        {"links and special files", "x.tar",
         RawTar()
             .file("a", "content")
             .hard_link("b", "a")
             .hard_link("c", victim + "/x")
             .symlink("d", "a")
             .add({.name = "fifo", .type = '6'})
             .add({.name = "device", .type = '3'})
             .bytes(),
         {{"a", "content"}},
         {"a"}},
        {"sparse tar member ending in a hole", "x.tar", RawTar().sparse("disk.img", "dataDATA", {{4096, 4}, {8000, 4}}, 20'000).bytes(),
         {{"disk.img", std::string(4096, '\0') + "data" + std::string(3900, '\0') + "DATA" + std::string(11'996, '\0')}}, {"disk.img"}},
        {"backslashes are part of a tar name", "x.tar", RawTar().file("back\\slash").bytes(), {{"back\\slash", "x"}}, {"back\\slash"}},
        {"UTF-8 zip name", "x.zip", RawZip().add({.name = "\xc3\x9c" "bersicht.txt", .data = "u", .utf8_name = true}).bytes(),
         {{"\xc3\x9c" "bersicht.txt", "u"}}, {"\xc3\x9c" "bersicht.txt"}},
        {"deflated zip", "x.zip", files::test_support::libarchive_zip({{"docs/a.txt", std::string(10'000, 'a')}, {"b.txt", ""}}),
         {{"docs/", ""}, {"docs/a.txt", std::string(10'000, 'a')}, {"b.txt", ""}}, {"docs/a.txt", "b.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto extracted = extract(archive(row.name, row.bytes));
        ASSERT_TRUE(extracted.has_value()) << extracted.error();
        EXPECT_EQ(tree_of(destination()), row.written);
        std::vector<std::filesystem::path> expected;
        for (const std::string& file : row.files)
            expected.push_back(destination() / file);
        EXPECT_EQ(*extracted, expected);
        EXPECT_TRUE(tree_of(m_tree.path("victim")).empty());
        std::filesystem::remove_all(destination());
    }
}

// A member whose data runs on past its declared size (a bomb hiding behind small headers) is cut
// off before the excess is written, not found out afterwards.
TEST_F(ArchiveExtractTest, AMemberNeverGrowsPastItsDeclaredSize)
{
    auto zip = archive("x.zip", RawZip().add({.name = "f", .data = std::string(100'000, 'z'), .central_size = 50, .data_descriptor = true}).bytes());
    auto reader = files::fileops::ArchiveReader::open(zip);
    ASSERT_TRUE(reader.has_value()) << reader.error();
    auto member = (*reader)->next();
    ASSERT_TRUE(member.has_value() && member->has_value());
    EXPECT_EQ((*member)->declared_size, 50u);
    auto out = m_tree.file("out/copy");
    int fd = ::open(out.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    auto copied = (*reader)->copy_data_to(fd);
    ::close(fd);
    ASSERT_FALSE(copied.has_value());
    EXPECT_EQ(copied.error(), "truncated ZIP entry");
    EXPECT_LE(std::filesystem::file_size(out), 50u);
}

TEST_F(ArchiveExtractTest, EntryCountIsBounded)
{
    // Members that write nothing count as well: the same folder 100,000 times, then one more.
    std::vector<std::pair<std::string, std::string>> folders(100'000, {"d/", ""});
    folders.emplace_back("one-more", "");
    auto refused = extract(archive("too-many.zip", files::test_support::libarchive_zip(folders, "zip:compression=store")));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error(), "archive has too many entries");

    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 100'000; ++i)
        files.emplace_back("d" + std::to_string(i % 100) + "/f" + std::to_string(i), "");
    auto extracted = extract_archive(archive("many.zip", files::test_support::libarchive_zip(files, "zip:compression=store")),
                                     destination());
    ASSERT_TRUE(extracted.has_value()) << extracted.error();
    EXPECT_EQ(extracted->size(), 100'000u);
    EXPECT_EQ(extracted->back(), destination() / "d99/f99999");
    struct stat st {};
    EXPECT_EQ(::lstat(extracted->back().c_str(), &st), 0);
}

TEST_F(ArchiveExtractTest, DestinationRules)
{
    auto zip = archive("x.zip", RawZip().file("a").bytes());
    m_tree.folder("out/dest");
    EXPECT_EQ(extract(zip).error(), "the destination already exists");
    std::filesystem::remove(destination());
    m_tree.symlink("nowhere", "out/dest");
    EXPECT_EQ(extract(zip).error(), "the destination already exists");

    EXPECT_EQ(extract_archive(zip, "relative-name").error(), "destination has no parent");
    EXPECT_EQ(extract_archive(zip, m_tree.path("out/new/")).error(), "destination has no name");

    auto deep = extract_archive(zip, m_tree.path("missing/ancestors/dest"));
    ASSERT_TRUE(deep.has_value()) << deep.error();
    EXPECT_EQ(tree_of(m_tree.path("missing")), (Tree {{"ancestors/", ""}, {"ancestors/dest/", ""}, {"ancestors/dest/a", "x"}}));
}

TEST_F(ArchiveExtractTest, UnwritableParentFailsCleanly)
{
    auto zip = archive("x.zip", RawZip().file("a").bytes());
    ::chmod(m_tree.path("out").c_str(), 0555);
    m_tree.open_to_everyone();
    ::chmod(m_tree.path("in").c_str(), 0755);
    ::chmod(zip.c_str(), 0644);
    auto error = kavo_testing::run_unprivileged_text([&] {
        auto extracted = extract_archive(zip, destination());
        return extracted ? std::string("extracted") : extracted.error();
    });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, m_tree.path("out").native() + ": Permission denied (os error 13)");
    EXPECT_TRUE(tree_of(m_tree.path("out")).empty());
}

TEST_F(ArchiveExtractTest, TemporaryFolderNamesAreReservedNotShared)
{
    auto zip = archive("x.zip", RawZip().file("a").bytes());
    std::string prefix = ".dest.extracting-" + std::to_string(::getpid()) + "-";
    // Someone else's half-done extraction keeps its folder and its contents.
    m_tree.file("out/" + prefix + "0/theirs", "keep");
    auto extracted = extract_archive(zip, destination());
    ASSERT_TRUE(extracted.has_value()) << extracted.error();
    EXPECT_EQ(tree_of(m_tree.path("out")),
              (Tree {{prefix + "0/", ""}, {prefix + "0/theirs", "keep"}, {"dest/", ""}, {"dest/a", "x"}}));

    std::filesystem::remove_all(destination());
    for (int n = 1; n < 1000; ++n)
        m_tree.folder("out/" + prefix + std::to_string(n));
    EXPECT_EQ(extract_archive(zip, destination()).error(), "could not reserve a temporary extraction folder");
    EXPECT_FALSE(std::filesystem::exists(destination()));
}

// The step that makes the extraction visible must not replace a folder that appeared under the
// final name meanwhile, not even an empty one.
TEST_F(ArchiveExtractTest, PublishingNeverReplacesAFolderCreatedMeanwhile)
{
    m_tree.folder("out");
    {
        auto folder = files::fileops::ExtractionFolder::reserve(m_tree.path("out"), "dest");
        ASSERT_TRUE(folder.has_value()) << folder.error();
        auto file = (*folder)->create_file("sub/a.txt");
        ASSERT_TRUE(file.has_value()) << file.error();
        ASSERT_EQ(::write(file->get(), "mine", 4), 4);
        m_tree.folder("out/dest");
        auto published = (*folder)->publish();
        ASSERT_FALSE(published.has_value());
        EXPECT_EQ(published.error(), "the destination already exists");
    }
    EXPECT_EQ(tree_of(m_tree.path("out")), (Tree {{"dest/", ""}}));
}

TEST_F(ArchiveExtractTest, AFolderPlantedAsALinkIsNotFollowed)
{
    m_tree.folder("victim");
    m_tree.folder("out");
    auto folder = files::fileops::ExtractionFolder::reserve(m_tree.path("out"), "dest");
    ASSERT_TRUE(folder.has_value()) << folder.error();
    m_tree.symlink(m_tree.path("victim"), "out/" + (*folder)->temporary_name() + "/sub");
    auto file = (*folder)->create_file("sub/a.txt");
    ASSERT_FALSE(file.has_value());
    EXPECT_EQ(file.error(), "sub: Not a directory (os error 20)");
    folder->reset();
    EXPECT_TRUE(tree_of(m_tree.path("victim")).empty());
    EXPECT_TRUE(tree_of(m_tree.path("out")).empty());
}

TEST_F(ArchiveExtractTest, ArchiveNextToItsFolderNameExtractsNumbered)
{
    auto zip = m_tree.file("photos.zip", RawZip().file("img.jpg", "jpeg").bytes());
    m_tree.file("photos/old.jpg", "old");
    auto destination = files::fileops::extraction_destination(zip);
    EXPECT_EQ(destination, m_tree.path("photos 2"));
    auto extracted = extract_archive(zip, destination);
    ASSERT_TRUE(extracted.has_value()) << extracted.error();
    EXPECT_EQ(*extracted, std::vector {m_tree.path("photos 2/img.jpg")});
    EXPECT_EQ(tree_of(m_tree.path("photos")), (Tree {{"old.jpg", "old"}}));
}

}
