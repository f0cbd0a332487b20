#include "views/file_view/file_view_geometry.hpp"

#include <gtest/gtest.h>

using files::model::ViewMode;
using files::views::FileViewGeometry;
using kavo_ui::Rect;

namespace {

FileViewGeometry list(float width, size_t count = 10, float z = 1, float t = 1)
{
    return {ViewMode::List, z, t, 1, Rect{0, 0, width, 2000}, count};
}

FileViewGeometry grid(float width, size_t count = 10, float z = 1, float t = 1)
{
    return {ViewMode::Grid, z, t, 1, Rect{0, 0, width, 2000}, count};
}

}

TEST(FileViewGeometry, ListColumnsAppearWithWidth)
{
    struct Case {
        float width;
        bool size, modified;
    } cases[] = {{300, false, false}, {340, false, false}, {341, true, false}, {400, true, false}, {560, true, false}, {600, true, true}};
    for (auto c : cases) {
        SCOPED_TRACE(c.width);
        auto g = list(c.width);
        EXPECT_EQ(g.size_column().has_value(), c.size);
        EXPECT_EQ(g.modified_column().has_value(), c.modified);
    }
    auto g = list(600);
    EXPECT_EQ(g.modified_column(), (std::pair{432.0f, 590.0f}));
    EXPECT_EQ(g.size_column(), (std::pair{326.0f, 422.0f}));
    EXPECT_EQ(g.name_column(), (std::pair{10.0f, 316.0f}));
    EXPECT_EQ(list(400).size_column(), (std::pair{294.0f, 390.0f}));
    EXPECT_EQ(list(300).name_column(), (std::pair{10.0f, 290.0f}));
}

TEST(FileViewGeometry, ListRowsAndHitsBelowTheHeader)
{
    auto g = list(600, 3);
    EXPECT_EQ(g.item_rect(0), (Rect{0, 30, 600, 64}));
    EXPECT_EQ(g.item_rect(2), (Rect{0, 98, 600, 132}));
    EXPECT_FLOAT_EQ(g.content_height(), 30 + 34 * 3 + 6);
    const std::pair<kavo_ui::Point, std::optional<size_t>> hits[] = {
        {{5, 10}, std::nullopt},   // header band
        {{5, 31}, 0},              {{599, 97}, 1},
        {{5, 98}, 2},              {{5, 140}, std::nullopt},  // below the last row
        {{600, 40}, std::nullopt}, {{-1, 40}, std::nullopt},
    };
    for (auto [p, index] : hits) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(g.hit(p), index);
    }
    // Scrolled by 100: the header is pinned at the viewport top and covers the row under it.
    FileViewGeometry scrolled(ViewMode::List, 1, 1, 1, Rect{0, -100, 600, 1900}, 50);
    Rect viewport{0, 0, 600, 400};
    EXPECT_EQ(scrolled.header_rect(viewport), (Rect{0, 0, 600, 30}));
    EXPECT_EQ(scrolled.hit({5, 10}, viewport), std::nullopt);
    EXPECT_EQ(scrolled.hit({5, 40}, viewport), 3u);
}

TEST(FileViewGeometry, GridCellsAndColumns)
{
    struct Case {
        float width;
        float cell_width;
        size_t columns;
    } cases[] = {
        {300, 112, 2},   // A = 280 ≥ 2·112 + 16
        {250, 112, 1},   // A = 230 < 240 and (230 − 16)/2 = 107 < 132
        {320, 112, 2},
        {1000, 112, 7},  // floor((980 + 16) / 128)
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.width);
        auto g = grid(c.width);
        EXPECT_FLOAT_EQ(g.cell_width(), c.cell_width);
        EXPECT_EQ(g.columns(), c.columns);
        EXPECT_FLOAT_EQ(g.cell_height(), 104);
    }
    // Two cells stretch when two base cells do not fit but half the row is wide enough.
    auto big = grid(520, 10, 2);  // B = 224, G = 32, A = 480 < 480? no: 2·224 + 32 = 480 is not above A
    EXPECT_FLOAT_EQ(big.cell_width(), 224);
    auto stretched = grid(500, 10, 2);  // A = 460 < 480, (460 − 32)/2 = 214 ≥ 132
    EXPECT_FLOAT_EQ(stretched.cell_width(), 214);
    EXPECT_FLOAT_EQ(stretched.cell_height(), std::min(208.0f, 0.9f * 214));
    EXPECT_EQ(stretched.columns(), 2u);

    auto g = grid(300, 5);
    EXPECT_EQ(g.item_rect(3), (Rect{10 + 128, 10 + 120, 10 + 128 + 112, 10 + 120 + 104}));
    EXPECT_FLOAT_EQ(g.content_height(), 10 + 3 * 120);
    EXPECT_FLOAT_EQ(grid(300, 0).content_height(), 10);
    EXPECT_FLOAT_EQ(g.preferred_width(), 132);
}

TEST(FileViewGeometry, GridHitsMissGapsAndMargins)
{
    auto g = grid(300, 3);
    const std::pair<kavo_ui::Point, std::optional<size_t>> hits[] = {
        {{5, 50}, std::nullopt},    // left margin
        {{11, 11}, 0},             {{130, 50}, std::nullopt},  // gap between columns
        {{140, 50}, 1},            {{20, 118}, std::nullopt},  // gap between rows
        {{20, 140}, 2},            {{150, 140}, std::nullopt},  // past the last entry
        {{290, 50}, std::nullopt},  // beyond the last column
    };
    for (auto [p, index] : hits) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(g.hit(p), index);
    }
}

TEST(FileViewGeometry, VisibleRangeCoversOnlyWhatShows)
{
    auto g = list(600, 100000);
    auto [first, last] = g.visible_range(Rect{0, 30 + 34 * 500, 600, 30 + 34 * 500 + 800});
    EXPECT_EQ(first, 500u);
    EXPECT_LE(last - first, 25u);
    auto cells = grid(1000, 100000).visible_range(Rect{0, 0, 1000, 800});
    EXPECT_EQ(cells.first, 0u);
    EXPECT_LE(cells.second, 7u * 8);
}
