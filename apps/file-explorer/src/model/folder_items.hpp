#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace files::model {

// From this many items on, a folder's statuses and entries are read on two threads.
inline constexpr size_t k_parallel_items = 2048;

// The kernel fills buffers of this size; a folder of 100,000 items takes a handful of calls.
inline constexpr size_t k_enumeration_buffer_bytes = size_t(1) << 20;

// An item's own status, symbolic links not followed.
struct ItemStatus {
    bool readable = false;  // false: nothing below is known
    bool is_folder = false;
    bool has_time = false;
    uint64_t size = 0;
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
};

// The items of an open folder in the order the kernel enumerated them, without "." and "..",
// each with its status. The names point into the buffers the kernel filled and are followed by
// a NUL there; they live as long as this object.
class FolderItems {
public:
    // Reads every name of the folder behind `dir_fd` and the status of each, relative to the
    // folder. For a big folder a second thread reads statuses while the enumeration goes on; the
    // call returns when everything is read. An enumeration error ends the enumeration: the kernel
    // does not say which item failed, and asking again would only fail again.
    // `buffer_bytes` must hold the largest record (about 280 bytes).
    static FolderItems read(int dir_fd, size_t buffer_bytes = k_enumeration_buffer_bytes);

    size_t size() const { return m_size; }

    // Calls fn(name, status) for the items in [begin, end), in enumeration order.
    template<typename Fn>
    void for_each(size_t begin, size_t end, Fn&& fn) const
    {
        size_t first = 0;
        for (const Batch& batch : m_batches) {
            size_t count = batch.names.size();
            if (first + count > begin && first < end) {
                size_t from = begin > first ? begin - first : 0;
                size_t to = end - first < count ? end - first : count;
                for (size_t k = from; k < to; ++k)
                    fn(batch.names[k], batch.statuses[k]);
            }
            first += count;
        }
    }

private:
    friend class StatusReaders;

    struct Batch {
        std::unique_ptr<char[]> buffer;
        std::vector<std::string_view> names;
        std::vector<ItemStatus> statuses;
    };

    std::deque<Batch> m_batches;
    size_t m_size = 0;
};

}
