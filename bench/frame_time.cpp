// frame-time BIG_DIR SMALL_DIR [ROUNDS]: one window frame (sync, layout, draw, overlay) at
// 1280 × 800 of a huge folder against a small one, through the same painter the window uses.
// Only what is visible may cost anything, so both frames should take about the same time.
#include "files_app/file_explorer_widget.hpp"

#include "kavo_ui/shot_frame.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double frame_median_ms(const char* folder, int rounds, files::model::ViewMode mode, size_t* count)
{
    auto explorer = files::app::FileExplorerWidget::create(std::nullopt, folder);
    explorer->set_view_mode(mode);
    *count = explorer->entries().size();
    auto frame = kavo_ui::ShotFrame::create({1280, 800}, kavo_ui::shot_theme());
    std::vector<double> times;
    for (int i = 0; i < rounds + 3; ++i) {
        auto t0 = Clock::now();
        frame.sync(*explorer);
        frame.layout(*explorer);
        frame.draw(*explorer);
        frame.draw_overlay(*explorer);
        auto t1 = Clock::now();
        if (i >= 3)  // the first frames warm font caches
            times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame-time BIG_DIR SMALL_DIR [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 50;
    for (auto mode : {files::model::ViewMode::List, files::model::ViewMode::Grid}) {
        size_t big_n = 0, small_n = 0;
        double big = frame_median_ms(argv[1], rounds, mode, &big_n);
        double small = frame_median_ms(argv[2], rounds, mode, &small_n);
        std::printf("%s: %zu entries %.2f ms, %zu entries %.2f ms, ratio %.2f (targets: <= 4 ms, <= 1.2)\n",
                    files::model::to_string(mode), big_n, big, small_n, small, big / small);
    }
    return 0;
}
