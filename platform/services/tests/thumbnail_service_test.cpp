#include "kavo_services/thumbnails.hpp"

#include "thumbnail_test_files.hpp"

#include <QGuiApplication>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

using namespace kavo_services;
using thumb_test::TempDir;
namespace fs = std::filesystem;

// A service over a temporary folder with its cache inside, and helpers that request files the way
// the file view does: a key from the file's own status.
class ThumbService : public ::testing::Test {
protected:
    fs::path cache_dir() const { return m_dir / "cache"; }

    std::unique_ptr<ThumbnailService> start(int workers = 2, std::function<void()> on_ready = {})
    {
        return ThumbnailService::create(cache_dir(), workers, std::move(on_ready));
    }

    static ThumbRequest request_for(const fs::path& path, int priority = 0)
    {
        struct stat st {};
        ::stat(path.c_str(), &st);
        const int64_t modified_ms = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        return {.path = path,
                .key = ThumbKey::of_path_meta(path, std::nullopt, modified_ms, static_cast<uint64_t>(st.st_size)),
                .category = category_for_path(path),
                .priority = priority};
    }

    static std::shared_ptr<const ThumbPicture> thumbnail_now(ThumbnailService& service, const ThumbRequest& request)
    {
        service.request_file(request);
        service.block_until_idle();
        return service.picture(request.key);
    }

    fs::path picture_file(const std::string& name, int width, int height, QColor tint = QColor(40, 120, 200))
    {
        const fs::path path = m_dir / name;
        const char* format = name.ends_with(".png") ? "png" : "jpeg";
        thumb_test::write_picture(path, thumb_test::make_picture(width, height, tint), format);
        return path;
    }

    size_t cache_files() const
    {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(cache_dir()))
            ++n;
        return n;
    }

    TempDir m_dir;
};

// Holds a one-worker service inside its first on_ready call, so later requests stay queued.
class Gate {
public:
    std::function<void()> callback()
    {
        return [this] {
            std::unique_lock lock(m_mutex);
            ++m_finished;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
        };
    }
    void wait_finished(int n)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished >= n; });
    }
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_finished = 0;
    bool m_open = false;
};

TEST_F(ThumbService, ThumbnailsOfEachKindEndToEnd)
{
    const fs::path photo = picture_file("photo.jpg", 4000, 3000);
    thumb_test::write_bytes(m_dir / "guide.pdf", thumb_test::make_pdf(200, 400));
    thumb_test::write_epub(m_dir / "book.epub",
                           thumb_test::package_xml("", "<item id=\"c\" href=\"c.png\" properties=\"cover-image\"/>"),
                           {{"OEBPS/c.png", thumb_test::encoded(thumb_test::make_picture(600, 300))}});
    std::atomic<int> ready_calls = 0;
    auto service = start(2, [&] { ++ready_calls; });
    struct Row {
        fs::path path;
        int width;
        int height;
    };
    const Row rows[] = {{photo, 256, 192}, {m_dir / "guide.pdf", 128, 256}, {m_dir / "book.epub", 256, 128}};
    for (const Row& row : rows)
        service->request_file(request_for(row.path));
    service->block_until_idle();
    EXPECT_EQ(service->pending(), 0u);
    EXPECT_EQ(ready_calls, 3);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.filename().native());
        auto picture = service->picture(request_for(row.path).key);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->width, row.width);
        EXPECT_EQ(picture->height, row.height);
        ASSERT_EQ(picture->pixels.size(), static_cast<size_t>(row.width * row.height));
        EXPECT_EQ(picture->pixels[0] >> 24, 0xffu);
    }
    EXPECT_EQ(cache_files(), 3u);
}

TEST_F(ThumbService, WorksWithAndWithoutAnApplicationObject)
{
    // Large enough that Qt scales it on its pool, and made pixel by pixel, as painting would
    // make the pool on this thread first.
    const fs::path path = m_dir / "a.jpg";
    {
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb(x % 256, y % 256, 128);
        }
        ASSERT_TRUE(QImageWriter(QString::fromStdString(path.native()), "jpeg").write(image));
    }
    {
        auto service = start();
        ASSERT_TRUE(thumbnail_now(*service, request_for(path)));
        // Qt scales on its global pool; owned by a finished worker it corrupts the heap at exit,
        // which only glibc's allocator notices, not a sanitizer build.
        // (Once an application object has come and gone Qt makes no pool at all.)
        if (const QThreadPool* pool = QThreadPool::globalInstance()) {
            EXPECT_EQ(pool->thread(), QThread::currentThread());
        }
    }
    fs::remove_all(cache_dir());
    int argc = 1;
    char name[] = "thumbnail-test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    auto service = start();
    EXPECT_TRUE(thumbnail_now(*service, request_for(path)));
}

TEST_F(ThumbService, FailedFileIsRememberedAndNotRetried)
{
    const fs::path path = m_dir / "broken.png";
    thumb_test::write_bytes(path, "\x89PNG\r\n\x1a\n broken");
    const ThumbRequest request = request_for(path);
    std::atomic<int> ready_calls = 0;
    auto service = start(2, [&] { ++ready_calls; });
    EXPECT_FALSE(thumbnail_now(*service, request));
    EXPECT_EQ(service->status(request.key), ThumbStatus::Failed);
    EXPECT_EQ(ready_calls, 1);

    // Even when the same key would now decode, the view asking every frame costs nothing.
    thumb_test::write_picture(path, thumb_test::make_picture(10, 10), "png");
    for (int frame = 0; frame < 50; ++frame)
        service->request_file(request);
    EXPECT_EQ(service->pending(), 0u);
    service->block_until_idle();
    EXPECT_EQ(ready_calls, 1);
    EXPECT_EQ(service->status(request.key), ThumbStatus::Failed);
    EXPECT_EQ(cache_files(), 0u);
}

TEST_F(ThumbService, SecondInstanceUsesTheCacheWithoutTheSource)
{
    const fs::path path = picture_file("photo.jpg", 1200, 900);
    const ThumbRequest request = request_for(path);
    std::vector<uint32_t> first;
    {
        auto service = start();
        auto picture = thumbnail_now(*service, request);
        ASSERT_TRUE(picture);
        first = picture->pixels;
    }
    fs::remove(path);
    auto service = start();
    auto picture = thumbnail_now(*service, request);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 256);
    EXPECT_EQ(picture->pixels, first);
}

TEST_F(ThumbService, CorruptCacheFileIsRemovedAndRebuilt)
{
    const fs::path path = picture_file("a.png", 400, 200);
    const ThumbRequest request = request_for(path);
    const fs::path cached = cache_dir() / request.key.cache_name();
    {
        auto service = start();
        ASSERT_TRUE(thumbnail_now(*service, request));
    }
    const std::string good = thumb_test::read_bytes(cached);
    ASSERT_GT(good.size(), 100u);
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"cut before the end chunk", good.substr(0, good.size() - 12)},
        {"empty", ""},
        {"not a picture", std::string(good.size(), 'x')},
        {"too large a picture", thumb_test::encoded(thumb_test::make_picture(300, 10))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        thumb_test::write_bytes(cached, row.bytes);
        auto service = start();
        auto picture = thumbnail_now(*service, request);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->width, 256);
        EXPECT_EQ(picture->height, 128);
        EXPECT_EQ(thumb_test::read_bytes(cached), good);
        EXPECT_EQ(cache_files(), 1u);
    }
}

TEST_F(ThumbService, CacheFolderIsMadePrivate)
{
    auto service = start();
    struct stat st {};
    ASSERT_EQ(::stat(cache_dir().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(ThumbService, CollaborativeFileNotHereUsesThePlatformPicture)
{
    // tmpfs holds user attributes where the temporary folder's file system may not.
    TempDir shm("/dev/shm");
    const std::string platform_png = thumb_test::encoded(thumb_test::make_picture(112, 84, QColor(0, 0, 255)));
    struct Row {
        const char* name;
        bool locally_readable;
        std::optional<std::string> attribute;
        int width; // 0: fails
    };
    const Row rows[] = {
        {"projected.jpg", false, platform_png, 112},
        {"projected-empty.jpg", false, std::string(), 0},
        {"projected-without.jpg", false, std::nullopt, 0},
        {"projected-garbage.jpg", false, std::string("garbage"), 0},
        {"resident.jpg", true, platform_png, 256},
    };
    auto service = start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path path = shm.path() / row.name;
        // The content is a real picture of its own size, so the source used shows in the result.
        thumb_test::write_picture(path, thumb_test::make_picture(512, 384), "jpeg");
        if (row.attribute) {
            ASSERT_EQ(::setxattr(path.c_str(), "user.kavo.thumb", row.attribute->data(), row.attribute->size(), 0), 0);
        }
        ThumbRequest request = request_for(path);
        request.collaborative = true;
        request.locally_readable = row.locally_readable;
        auto picture = thumbnail_now(*service, request);
        ASSERT_EQ(picture != nullptr, row.width != 0);
        if (picture) {
            EXPECT_EQ(picture->width, row.width);
        }
    }
    // A platform picture is not cached as if it were the content.
    EXPECT_EQ(cache_files(), 1u);
}

TEST_F(ThumbService, ContentIsTriedOnceAfterThePlatformPictureFailed)
{
    const fs::path path = picture_file("a.jpg", 512, 384);
    ThumbRequest request = request_for(path);
    request.collaborative = true;
    request.locally_readable = false;
    auto service = start();
    EXPECT_FALSE(thumbnail_now(*service, request));
    request.locally_readable = true;
    auto picture = thumbnail_now(*service, request);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 256);
}

TEST_F(ThumbService, BeginGenerationDropsQueuedWork)
{
    std::vector<fs::path> paths;
    for (int i = 0; i < 4; ++i)
        paths.push_back(picture_file("p" + std::to_string(i) + ".png", 64, 64));
    Gate gate;
    auto service = start(1, gate.callback());
    service->request_file(request_for(paths[0]));
    gate.wait_finished(1);
    for (size_t i = 1; i < paths.size(); ++i)
        service->request_file(request_for(paths[i]));
    EXPECT_EQ(service->pending(), 3u);

    service->begin_generation();
    EXPECT_EQ(service->pending(), 0u);
    EXPECT_EQ(service->status(request_for(paths[1]).key), ThumbStatus::Unknown);
    gate.open();
    service->block_until_idle();
    EXPECT_EQ(service->status(request_for(paths[0]).key), ThumbStatus::Ready);
    EXPECT_EQ(service->status(request_for(paths[2]).key), ThumbStatus::Unknown);

    // Dropped requests may be asked again in the new listing.
    EXPECT_TRUE(thumbnail_now(*service, request_for(paths[2])));
}

TEST_F(ThumbService, HigherPriorityGoesFirst)
{
    std::vector<ThumbRequest> requests;
    for (int i = 0; i < 5; ++i)
        requests.push_back(request_for(picture_file("p" + std::to_string(i) + ".png", 32, 32)));
    Gate gate;
    std::vector<size_t> order;
    std::mutex order_mutex;
    ThumbnailService* observed = nullptr;
    auto service = start(1, [&, callback = gate.callback()] {
        {
            std::lock_guard lock(order_mutex);
            if (observed)
                for (size_t i = 0; i < requests.size(); ++i)
                    if (observed->status(requests[i].key) == ThumbStatus::Ready
                        && std::find(order.begin(), order.end(), i) == order.end())
                        order.push_back(i);
        }
        callback();
    });
    service->request_file(requests[0]);
    gate.wait_finished(1);
    {
        std::lock_guard lock(order_mutex);
        observed = service.get();
        order.push_back(0);
    }
    requests[1].priority = 0;
    requests[2].priority = 5;
    requests[3].priority = 0;
    requests[4].priority = 1;
    for (size_t i = 1; i < requests.size(); ++i)
        service->request_file(requests[i]);
    // Scrolled into view: the same request again with a higher priority moves up.
    requests[3].priority = 9;
    service->request_file(requests[3]);
    gate.open();
    service->block_until_idle();
    std::lock_guard lock(order_mutex);
    EXPECT_EQ(order, (std::vector<size_t> {0, 3, 2, 4, 1}));
}

TEST_F(ThumbService, IdleServiceAndUnknownKinds)
{
    auto service = start();
    service->block_until_idle();
    const fs::path text = m_dir / "notes.txt";
    thumb_test::write_bytes(text, "hello");
    service->request_file(request_for(text));
    EXPECT_EQ(service->pending(), 0u);
    service->block_until_idle();
    EXPECT_EQ(service->status(request_for(text).key), ThumbStatus::Unknown);
}

}
