#include "model/folder_items.hpp"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace files::model {

namespace {

// Items handed out at once: few enough hand-outs that the lock does not matter, small enough that
// both threads finish at about the same time.
constexpr size_t k_run_items = 512;

// Layout of struct linux_dirent64, which glibc does not declare.
constexpr size_t k_dirent_reclen_offset = 16;
constexpr size_t k_dirent_name_offset = 19;
// A record of a one-byte name, rounded up to the 8-byte alignment of records.
constexpr size_t k_smallest_dirent = 24;

ItemStatus read_status(int dir_fd, const char* name)
{
    struct statx st;
    // AT_NO_AUTOMOUNT: listing a folder of mount points must not mount them all.
    constexpr int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_SYNC_AS_STAT;
    if (::statx(dir_fd, name, flags, STATX_TYPE | STATX_SIZE | STATX_MTIME, &st) != 0)
        return {};
    ItemStatus status;
    status.readable = true;
    status.is_folder = (st.stx_mask & STATX_TYPE) && S_ISDIR(st.stx_mode);
    status.size = (st.stx_mask & STATX_SIZE) ? st.stx_size : 0;
    status.has_time = (st.stx_mask & STATX_MTIME) && st.stx_mtime.tv_nsec < 1'000'000'000;
    status.seconds = st.stx_mtime.tv_sec;
    status.nanoseconds = st.stx_mtime.tv_nsec;
    return status;
}

}

// Hands out runs of items whose status is still to be read, to the enumerating thread and to a
// helper, while further batches arrive. A batch is complete before it is added and never moves
// afterwards (a deque keeps its elements in place), so a run is read without the lock.
class StatusReaders {
public:
    StatusReaders(int dir_fd, FolderItems& items) : m_dir_fd(dir_fd), m_items(items) {}

    void add(FolderItems::Batch batch)
    {
        std::lock_guard lock(m_mutex);
        m_items.m_size += batch.names.size();
        m_items.m_batches.push_back(std::move(batch));
        m_ready.notify_one();
    }

    void finish()
    {
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_ready.notify_all();
    }

    // Returns when every item has been handed out and the enumeration has finished.
    void read_statuses()
    {
        while (auto run = next_run()) {
            for (size_t k = run->begin; k < run->end; ++k)
                run->batch->statuses[k] = read_status(m_dir_fd, run->batch->names[k].data());
        }
    }

private:
    struct Run {
        FolderItems::Batch* batch;
        size_t begin;
        size_t end;
    };

    std::optional<Run> next_run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (m_batch < m_items.m_batches.size()) {
                FolderItems::Batch& batch = m_items.m_batches[m_batch];
                size_t begin = m_next;
                size_t end = std::min(begin + k_run_items, batch.names.size());
                if (end == batch.names.size()) {
                    ++m_batch;
                    m_next = 0;
                } else {
                    m_next = end;
                }
                if (begin < end)
                    return Run {&batch, begin, end};
                continue;
            }
            if (m_finished)
                return std::nullopt;
            m_ready.wait(lock);
        }
    }

    int m_dir_fd;
    FolderItems& m_items;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    size_t m_batch = 0;  // the batch and item where the next run starts
    size_t m_next = 0;
    bool m_finished = false;
};

FolderItems FolderItems::read(int dir_fd, size_t buffer_bytes)
{
    FolderItems items;
    StatusReaders readers(dir_fd, items);
    std::jthread helper;
    bool helper_failed = false;
    // Declared after the helper so that it is destroyed first: a helper waiting for batches is
    // released before it is joined, also when this function leaves by an exception.
    struct FinishOnExit {
        StatusReaders& readers;
        ~FinishOnExit() { readers.finish(); }
    } finish_on_exit {readers};

    for (;;) {
        auto buffer = std::make_unique_for_overwrite<char[]>(buffer_bytes);
        long filled = ::syscall(SYS_getdents64, dir_fd, buffer.get(), buffer_bytes);
        if (filled < 0 && errno == EINTR)
            continue;
        if (filled <= 0)
            break;
        Batch batch;
        batch.names.reserve(static_cast<size_t>(filled) / k_smallest_dirent + 1);
        for (long at = 0; at < filled;) {
            const char* record = buffer.get() + at;
            unsigned short length;
            std::memcpy(&length, record + k_dirent_reclen_offset, sizeof length);
            if (length == 0)
                break;  // never sent by a sane kernel; without it the loop would not end
            at += length;
            std::string_view name(record + k_dirent_name_offset);
            if (name != "." && name != "..")
                batch.names.push_back(name);
        }
        batch.statuses.resize(batch.names.size());
        batch.buffer = std::move(buffer);
        readers.add(std::move(batch));

        if (!helper.joinable() && !helper_failed && items.m_size >= k_parallel_items) {
            try {
                helper = std::jthread([&readers] { readers.read_statuses(); });
            } catch (const std::system_error&) {
                helper_failed = true;  // then this thread reads them all
            }
        }
    }
    readers.finish();
    readers.read_statuses();
    if (helper.joinable())
        helper.join();
    return items;
}

}
