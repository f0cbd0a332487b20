// list-folder DIR: one folder load as the explorer does it (list, drop hidden names, sort by name)
// and the number of entries left; nothing per entry, so the run measures the load alone.
#include "model/listing.hpp"
#include "model/sorting.hpp"
#include "model/workspace_roots.hpp"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: list-folder DIR\n");
        return 2;
    }
    auto entries = files::model::list_directory(argv[1], false);
    if (!entries) {
        std::fprintf(stderr, "list-folder: %s\n", entries.error().c_str());
        return 1;
    }
    files::model::remove_hidden(*entries);
    files::model::sort_entries(*entries, files::model::SortBy::Name, files::model::SortOrder::Ascending);
    std::printf("%zu\n", entries->size());
    std::fflush(stdout);
    // In the explorer the list lives on as the view's model; returning from main would add its
    // destruction (hundreds of thousands of frees), which is no part of loading a folder.
    // KAVO_BENCH_TEARDOWN=1 includes it.
    if (const char* teardown = std::getenv("KAVO_BENCH_TEARDOWN"); !teardown || *teardown != '1')
        std::_Exit(0);
    return 0;
}
