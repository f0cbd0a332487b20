// refresh-folder DIR [ROUNDS]: the silent refresh of a shown folder in which nothing changed,
// against the same listing done on its own. The refresh must cost no more than the listing it
// needs, keep the shown list and ask for no relayout.
#include "files_app/file_explorer_widget.hpp"
#include "model/listing.hpp"
#include "model/sorting.hpp"
#include "model/workspace_roots.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median_ms(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: refresh-folder DIR [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    auto explorer = files::app::FileExplorerWidget::create(std::nullopt, argv[1]);
    (void)explorer->take_structure_dirty();
    const auto* shown = explorer->entries().data();

    std::vector<double> refresh, listing;
    bool relayout = false, replaced = false;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Clock::now();
        explorer->poll_folder();
        auto t1 = Clock::now();
        relayout |= explorer->take_structure_dirty();
        replaced |= explorer->entries().data() != shown;

        {
            // Scoped, so the listing's destruction is timed here as it is in the refresh.
            auto list = files::model::list_directory(argv[1], false);
            if (list) {
                files::model::remove_hidden(*list);
                files::model::sort_entries(*list, files::model::SortBy::Name, files::model::SortOrder::Ascending);
            }
        }
        auto t2 = Clock::now();
        refresh.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        listing.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    double r = median_ms(refresh), l = median_ms(listing);
    std::printf("entries %zu, rounds %d\n", explorer->entries().size(), rounds);
    std::printf("silent refresh   median %.2f ms\n", r);
    std::printf("same listing     median %.2f ms\n", l);
    std::printf("ratio            %.2f\n", r / l);
    std::printf("relayout asked   %s\n", relayout ? "YES (fault)" : "no");
    std::printf("list replaced    %s\n", replaced ? "YES (fault)" : "no");
    return relayout || replaced ? 1 : 0;
}
