// extract-archive ARCHIVE DEST: one extraction as the explorer runs it, then the number of files
// written; DEST must not exist yet.
#include "fileops/archive_extract.hpp"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: extract-archive ARCHIVE DEST\n");
        return 2;
    }
    auto files = files::fileops::extract_archive(argv[1], argv[2]);
    if (!files) {
        std::fprintf(stderr, "extract-archive: %s\n", files.error().c_str());
        return 1;
    }
    std::printf("%zu\n", files->size());
    std::fflush(stdout);
    // The explorer keeps only the count; freeing the list is no part of extracting.
    // KAVO_BENCH_TEARDOWN=1 includes it.
    if (const char* teardown = std::getenv("KAVO_BENCH_TEARDOWN"); !teardown || *teardown != '1')
        std::_Exit(0);
    return 0;
}
