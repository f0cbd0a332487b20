#include "thumbnail_book.hpp"

#include <gtest/gtest.h>

namespace {

using namespace kavo_services;
using namespace kavo_services::thumbs;

ThumbRequest request(int n)
{
    const std::string path = "/pictures/" + std::to_string(n) + ".png";
    return {.path = path,
            .key = ThumbKey::of_path_meta(path, std::nullopt, 0, 0),
            .category = ThumbCategory::Image};
}

std::shared_ptr<const ThumbPicture> picture_of(int side)
{
    return std::make_shared<const ThumbPicture>(
        ThumbPicture {side, side, std::vector<uint32_t>(static_cast<size_t>(side * side))});
}

void make_ready(ThumbBook& book, int n, int side = 1)
{
    ASSERT_TRUE(book.enqueue(request(n)));
    auto job = book.take();
    ASSERT_TRUE(job);
    book.finish(job->request.key, picture_of(side));
}

TEST(ThumbBook, LeastRecentlyUsedPictureGoesFirst)
{
    ThumbBook book({.ready_entries = 3, .ready_bytes = 1 << 20, .failed_entries = 10});
    for (int n = 0; n < 3; ++n)
        make_ready(book, n);
    ASSERT_TRUE(book.picture(request(0).key)); // 1 is now the least recently used
    make_ready(book, 3);
    EXPECT_EQ(book.status(request(1).key), ThumbStatus::Unknown);
    for (int n : {0, 2, 3})
        EXPECT_EQ(book.status(request(n).key), ThumbStatus::Ready) << n;
    // An evicted picture may be requested again.
    EXPECT_TRUE(book.enqueue(request(1)));
}

TEST(ThumbBook, PictureBytesAreBoundedToo)
{
    // 64 × 64 pictures take 16 KiB each; 40 KiB hold two of them.
    ThumbBook book({.ready_entries = 100, .ready_bytes = 40 << 10, .failed_entries = 10});
    for (int n = 0; n < 4; ++n)
        make_ready(book, n, 64);
    EXPECT_EQ(book.status(request(0).key), ThumbStatus::Unknown);
    EXPECT_EQ(book.status(request(1).key), ThumbStatus::Unknown);
    EXPECT_EQ(book.status(request(3).key), ThumbStatus::Ready);
    // One picture larger than the whole bound still stays, or it would be made again and again.
    make_ready(book, 9, 256);
    EXPECT_EQ(book.status(request(9).key), ThumbStatus::Ready);
}

TEST(ThumbBook, FailuresAreBoundedAndFinalPerSource)
{
    ThumbBook book({.ready_entries = 10, .ready_bytes = 1 << 20, .failed_entries = 2});
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(book.enqueue(request(n)));
        book.finish(book.take()->request.key, nullptr);
    }
    EXPECT_EQ(book.status(request(0).key), ThumbStatus::Unknown);
    EXPECT_EQ(book.status(request(2).key), ThumbStatus::Failed);
    EXPECT_FALSE(book.enqueue(request(2)));
    ThumbRequest from_platform = request(2);
    from_platform.collaborative = true;
    from_platform.locally_readable = false;
    EXPECT_TRUE(book.enqueue(from_platform));
    EXPECT_EQ(book.pending(), 1u);
}

}
