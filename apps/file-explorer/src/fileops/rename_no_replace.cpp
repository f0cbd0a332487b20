#include "fileops/rename_no_replace.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

#if !(defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28)))
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace files::fileops {

namespace {

int renameat2_no_replace(const char* from, const char* to)
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
#endif
}

}

std::expected<void, int> rename_no_replace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (renameat2_no_replace(from.c_str(), to.c_str()) == 0)
        return {};
    return std::unexpected(errno);
}

}
