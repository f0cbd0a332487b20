#pragma once

#include <expected>
#include <memory>

namespace files::fileops {

// Copies the content of one open regular file into a new, empty one, from the start to the end of
// the source, byte for byte: a clone of the extents where the file systems share them, else a
// kernel copy in large chunks, else a plain read and write loop. One copier serves a whole tree
// and remembers which facility the file systems lack, so later files do not ask again.
class ContentCopier {
public:
    // The errno of the first read or write that failed.
    std::expected<void, int> copy(int from, int to);

private:
    enum class Outcome { Done, Fallback };

    bool try_clone(int from, int to);
    std::expected<Outcome, int> copy_by_range(int from, int to);
    std::expected<Outcome, int> copy_by_sendfile(int from, int to);
    std::expected<void, int> copy_by_read_write(int from, int to);

    bool m_clone = true;
    bool m_range = true;
    bool m_sendfile = true;
    std::unique_ptr<char[]> m_buffer;
};

}
