#include "kavo_services/thumbnails.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using kavo_services::category_for_path;
using kavo_services::ThumbCategory;
using kavo_services::ThumbKey;

TEST(ThumbCategory, ByExtensionIgnoringCase)
{
    struct Row {
        const char* path;
        ThumbCategory category;
    };
    const Row rows[] = {
        {"/a/photo.JPG", ThumbCategory::Image}, {"b.jpeg", ThumbCategory::Image}, {"c.Png", ThumbCategory::Image},
        {"d.gif", ThumbCategory::Image},        {"e.webp", ThumbCategory::Image}, {"f.bmp", ThumbCategory::Image},
        {"g.PDF", ThumbCategory::Pdf},          {"h.epub", ThumbCategory::Epub},  {"i.txt", ThumbCategory::None},
        {"png", ThumbCategory::None},           {".png", ThumbCategory::None},    {"j.png.part", ThumbCategory::None},
        {"k.", ThumbCategory::None},            {"dir.jpg/file", ThumbCategory::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(category_for_path(row.path), row.category);
    }
}

TEST(ThumbKey, ContentHashBeatsPathAndStatus)
{
    std::array<uint8_t, 32> hash {};
    hash[0] = 7;
    const ThumbKey a = ThumbKey::of_path_meta("/one/a.png", hash, 1000, 10);
    const ThumbKey b = ThumbKey::of_path_meta("/two/b.png", hash, 2000, 20);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.cache_name(), b.cache_name());

    std::array<uint8_t, 32> other = hash;
    other[31] = 1;
    EXPECT_NE(a, ThumbKey::of_path_meta("/one/a.png", other, 1000, 10));
    EXPECT_NE(a, ThumbKey::of_path_meta("/one/a.png", std::nullopt, 1000, 10));
}

TEST(ThumbKey, PathTimeAndSizeEachCount)
{
    const ThumbKey base = ThumbKey::of_path_meta("/d/a.png", std::nullopt, 5000, 100);
    struct Row {
        const char* name;
        ThumbKey key;
        bool equal;
    };
    const Row rows[] = {
        {"same", ThumbKey::of_path_meta("/d/a.png", std::nullopt, 5000, 100), true},
        {"other path", ThumbKey::of_path_meta("/d/b.png", std::nullopt, 5000, 100), false},
        {"other time", ThumbKey::of_path_meta("/d/a.png", std::nullopt, 5001, 100), false},
        {"other size", ThumbKey::of_path_meta("/d/a.png", std::nullopt, 5000, 101), false},
        // Lengths are encoded, so moving bytes between the path and the numbers changes the key.
        {"path prefix", ThumbKey::of_path_meta("/d/a.pn", std::nullopt, 5000, 100), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.key == base, row.equal);
        EXPECT_EQ(row.key.cache_name() == base.cache_name(), row.equal);
    }
}

TEST(ThumbKey, NegativeTimesCountAsZero)
{
    const ThumbKey zero = ThumbKey::of_path_meta("/d/a.png", std::nullopt, 0, 1);
    EXPECT_EQ(ThumbKey::of_path_meta("/d/a.png", std::nullopt, -1, 1), zero);
    EXPECT_EQ(ThumbKey::of_path_meta("/d/a.png", std::nullopt, INT64_MIN, 1), zero);
    EXPECT_NE(ThumbKey::of_path_meta("/d/a.png", std::nullopt, 1, 1), zero);
}

TEST(ThumbKey, CacheNameIsLowercaseHexDigestWithPngSuffix)
{
    const std::string name = ThumbKey::of_path_meta("/d/\xff\xfe.png", std::nullopt, 1, 1).cache_name();
    ASSERT_EQ(name.size(), 64u + 4u);
    EXPECT_TRUE(name.ends_with(".png"));
    EXPECT_EQ(name.substr(0, 64).find_first_not_of("0123456789abcdef"), std::string::npos);
}

}
