#include "main/share_link.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>
#include <unistd.h>

using files::launch::read_shared_link;

namespace {

// Feeds bytes through a pipe the way a shell feeds standard input.
std::expected<std::string, std::string> read_from_pipe(const std::string& bytes)
{
    // The reader stops after one byte past the limit; the writer then meets a closed pipe.
    ::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
        for (size_t sent = 0; sent < bytes.size();) {
            ssize_t n = ::write(fds[1], bytes.data() + sent, bytes.size() - sent);
            if (n <= 0)
                break;
            sent += size_t(n);
        }
        ::close(fds[1]);
    });
    auto result = read_shared_link(fds[0]);
    ::close(fds[0]);
    writer.join();
    return result;
}

}

TEST(SharedLink, BoundsTextAndTrailingLineEnds)
{
    struct Case {
        const char* name;
        std::string input;
        std::expected<std::string, std::string> expected;
    };
    const Case cases[] = {
        {"exactly the limit", std::string(16384, 'a'), std::string(16384, 'a')},
        {"one byte over", std::string(16385, 'a'), std::unexpected("files-received-link-too-large")},
        {"far over, stdin not read to its end", std::string(1 << 20, 'a'), std::unexpected("files-received-link-too-large")},
        {"limit plus a newline is over", std::string(16384, 'a') + "\n", std::unexpected("files-received-link-too-large")},
        {"line ends only", "\r\n\n\r", std::unexpected("files-received-link-empty")},
        {"empty", "", std::unexpected("files-received-link-empty")},
        {"invalid UTF-8", "kavo://share/\xff\xfe", std::unexpected("files-received-link-invalid-text")},
        {"leading blanks stay, trailing CR LF go", "  kavo://share/x\r\n", std::string("  kavo://share/x")},
        {"other trailing white space stays", "kavo://x \t\n", std::string("kavo://x \t")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read_from_pipe(c.input), c.expected);
    }
}

TEST(SharedLink, AReadErrorIsReported)
{
    EXPECT_EQ(read_shared_link(-1), std::unexpected(std::string("files-received-link-read-failed")));
}
