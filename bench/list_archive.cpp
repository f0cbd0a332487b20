// list-archive ARCHIVE [INNER]: one listing of a folder inside an archive as the explorer
// browses it, then the number of children.
#include "fileops/archive_browse.hpp"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: list-archive ARCHIVE [INNER]\n");
        return 2;
    }
    auto entries = files::fileops::list_archive_folder(argv[1], argc == 3 ? argv[2] : "");
    if (!entries) {
        std::fprintf(stderr, "list-archive: %s\n", entries.error().c_str());
        return 1;
    }
    std::printf("%zu\n", entries->size());
    std::fflush(stdout);
    // In the explorer the list lives on as the view's model. KAVO_BENCH_TEARDOWN=1 includes
    // its destruction.
    if (const char* teardown = std::getenv("KAVO_BENCH_TEARDOWN"); !teardown || *teardown != '1')
        std::_Exit(0);
    return 0;
}
