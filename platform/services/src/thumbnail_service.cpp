#include "kavo_services/thumbnails.hpp"

#include "thumbnail_book.hpp"
#include "thumbnail_cache.hpp"
#include "thumbnail_source.hpp"

#include "kavo_services/utf8.hpp"

#include <QThreadPool>
#include <algorithm>
#include <condition_variable>
#include <libxml/parser.h>
#include <mutex>
#include <spdlog/spdlog.h>
#include <thread>
#include <vector>

namespace kavo_services {

using thumbs::ThumbBook;
using thumbs::ThumbCache;
using thumbs::ThumbJob;
using thumbs::ThumbSource;

struct ThumbnailService::Impl {
    std::optional<ThumbCache> cache;
    std::function<void()> on_ready;

    mutable std::mutex mutex;
    std::condition_variable work_ready;
    std::condition_variable idle;
    mutable ThumbBook book;
    bool stopping = false;
    // Workers still inside on_ready; idle waits for them too, so a caller that saw idle has also
    // seen every notification.
    int callbacks_running = 0;
    std::vector<std::jthread> workers;

    bool is_idle() const { return book.pending() == 0 && callbacks_running == 0; }
    void run_worker();
    std::shared_ptr<const ThumbPicture> produce(const ThumbJob& job) const;
};

namespace {

std::shared_ptr<const ThumbPicture> shared_picture(const QImage& image)
{
    return std::make_shared<const ThumbPicture>(thumbs::to_picture(image));
}

}

std::shared_ptr<const ThumbPicture> ThumbnailService::Impl::produce(const ThumbJob& job) const
{
    const ThumbKey& key = job.request.key;
    if (cache)
        if (auto cached = cache->load(key))
            return shared_picture(*cached);
    auto decoded = thumbs::make_thumbnail(job.request, job.source);
    if (!decoded) {
        spdlog::debug("thumbnails: {}: {}", lossy_utf8(job.request.path), decoded.error());
        return nullptr;
    }
    // Only pictures of the content are cached: the platform's own picture costs one attribute
    // read, and a cached copy would outlive the content arriving on this machine.
    if (cache && job.source == ThumbSource::Content)
        cache->store(key, *decoded);
    return shared_picture(*decoded);
}

void ThumbnailService::Impl::run_worker()
{
    for (;;) {
        std::optional<ThumbJob> job;
        {
            std::unique_lock lock(mutex);
            work_ready.wait(lock, [&] { return stopping || (job = book.take()); });
            if (stopping)
                return;
        }
        std::shared_ptr<const ThumbPicture> picture;
        try {
            picture = produce(*job);
        } catch (const std::exception& e) {
            spdlog::debug("thumbnails: {}: {}", lossy_utf8(job->request.path), e.what());
        }
        {
            std::lock_guard lock(mutex);
            book.finish(job->request.key, std::move(picture));
            ++callbacks_running;
        }
        if (on_ready)
            on_ready();
        {
            std::lock_guard lock(mutex);
            --callbacks_running;
            if (is_idle())
                idle.notify_all();
        }
    }
}

std::unique_ptr<ThumbnailService> ThumbnailService::create(std::filesystem::path cache_dir, int workers,
                                                           std::function<void()> on_ready)
{
    // libxml2 must be initialised once before threads use it.
    static std::once_flag xml_initialised;
    std::call_once(xml_initialised, [] { xmlInitParser(); });
    // Qt converts and scales larger images on its global thread pool. Made lazily by a worker,
    // the pool would belong to a thread that is gone when the pool is destroyed at exit (a heap
    // corruption in QtCore's teardown); made here it belongs to the creating thread.
    QThreadPool::globalInstance();

    auto impl = std::make_unique<Impl>();
    impl->cache = ThumbCache::open(std::move(cache_dir));
    impl->on_ready = std::move(on_ready);
    Impl* state = impl.get();
    for (int i = 0; i < std::max(workers, 1); ++i)
        impl->workers.emplace_back([state] { state->run_worker(); });
    return std::unique_ptr<ThumbnailService>(new ThumbnailService(std::move(impl)));
}

ThumbnailService::ThumbnailService(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

ThumbnailService::~ThumbnailService()
{
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->stopping = true;
        m_impl->book.drop_queued();
    }
    m_impl->work_ready.notify_all();
    m_impl->workers.clear();
}

void ThumbnailService::request_file(const ThumbRequest& request)
{
    if (request.category == ThumbCategory::None)
        return;
    bool queued;
    {
        std::lock_guard lock(m_impl->mutex);
        queued = m_impl->book.enqueue(request);
    }
    if (queued)
        m_impl->work_ready.notify_one();
}

std::shared_ptr<const ThumbPicture> ThumbnailService::picture(const ThumbKey& key) const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->book.picture(key);
}

ThumbStatus ThumbnailService::status(const ThumbKey& key) const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->book.status(key);
}

size_t ThumbnailService::pending() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->book.pending();
}

void ThumbnailService::block_until_idle()
{
    std::unique_lock lock(m_impl->mutex);
    m_impl->idle.wait(lock, [&] { return m_impl->is_idle(); });
}

void ThumbnailService::begin_generation()
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->book.drop_queued();
    if (m_impl->is_idle())
        m_impl->idle.notify_all();
}

}
