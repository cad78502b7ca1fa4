// Terrain shapes: the exact rasterisers, rebuilding a shape map and the
// match-start dressing.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <list>
#include <memory>
#include <set>
#include <utility>

#include "map_state.h"
#include "terrain/edit.h"
#include "terrain/scenery_grid.h"

namespace {

using Cells = std::set<std::pair<int, int>>;

// The cells one shape sets on a map of the given tile counts.
Cells cells_of(const Tmap_shape& s, int xtiles = 10, int ytiles = 10) {
    Tmap_mask mask(xtiles * 100, ytiles * 100);
    s.rasterise(mask);
    Cells out;
    for (int x = 0; x < mask.w; ++x)
        for (int y = 0; y < mask.h; ++y)
            if (mask[x][y]) out.insert({x, y});
    return out;
}

Tmap_shape shape(int id, int x, int y, int w, int h, int x3 = 0, int y3 = 0) {
    Tmap_shape s;
    s.id = id;
    s.x = x;
    s.y = y;
    s.w = w;
    s.h = h;
    s.x3 = x3;
    s.y3 = y3;
    return s;
}

Cells box(int x0, int y0, int x1, int y1) {
    Cells out;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) out.insert({x, y});
    return out;
}

TEST(ShapeRaster, Rectangles) {
    EXPECT_EQ(cells_of(shape(254, 10, 20, 5, 3)), box(10, 20, 15, 23));
    EXPECT_EQ(cells_of(shape(254, 10, 20, 5, 3)).size(), 24u);
    EXPECT_EQ(cells_of(shape(254, 10, 20, 0, 3)), box(10, 20, 10, 23));
    EXPECT_TRUE(cells_of(shape(254, 1000, 20, 5, 3)).empty());   // wholly right of the map
    EXPECT_TRUE(cells_of(shape(254, 10, 20, -1, 3)).empty());
    EXPECT_EQ(cells_of(shape(254, -5, 995, 7, 100)), box(0, 995, 2, 999));
}

TEST(ShapeRaster, Ovals) {
    EXPECT_EQ(cells_of(shape(255, 40, 50, 2, 2)), (Cells{{41, 51}}));
    EXPECT_TRUE(cells_of(shape(255, 40, 50, 1, 5)).empty());
    EXPECT_TRUE(cells_of(shape(255, 40, 50, 5, 0)).empty());
    EXPECT_TRUE(cells_of(shape(255, 40, 50, -10, -10)).empty());
    Cells ten = cells_of(shape(255, 0, 0, 10, 10));
    EXPECT_FALSE(ten.count({5, 0}));   // 25 * 1000 is not below 25000
    EXPECT_TRUE(ten.count({5, 1}));
    // Any id above 254 is an oval: the same cells as the plain test.
    Cells plain;
    for (int x = 0; x <= 30; ++x)
        for (int y = 0; y <= 20; ++y) {
            int64_t rx = 15, ry = 10, a = ry * 1000 / rx, b = rx * 1000 / ry, l = ry * ry * b;
            if ((x - 15) * (x - 15) * a + (y - 10) * (y - 10) * b < l) plain.insert({x + 100, y + 200});
        }
    EXPECT_EQ(cells_of(shape(255, 100, 200, 30, 20)), plain);
}

TEST(ShapeRaster, Triangles) {
    Cells want = box(10, 11, 11, 11);
    for (auto& c : box(10, 12, 12, 12)) want.insert(c);
    for (auto& c : box(10, 13, 13, 13)) want.insert(c);
    for (auto& c : box(10, 14, 14, 14)) want.insert(c);
    for (auto& c : box(10, 15, 16, 15)) want.insert(c);
    EXPECT_EQ(cells_of(shape(253, 10, 10, 10, 14, 14, 14)), want);
    EXPECT_EQ(want.size(), 21u);

    // With three different y the corner order does not matter; with a tie it
    // does, through the order the sort leaves the tied corners in.
    int c[3][2] = {{10, 10}, {20, 30}, {5, 25}};
    Cells first = cells_of(shape(253, c[0][0], c[0][1], c[1][0], c[1][1], c[2][0], c[2][1]));
    EXPECT_GT(first.size(), 100u);
    for (auto order : {std::array<int, 3>{0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}) {
        auto& a = c[order[0]];
        auto& b = c[order[1]];
        auto& d = c[order[2]];
        EXPECT_EQ(cells_of(shape(253, a[0], a[1], b[0], b[1], d[0], d[1])), first);
    }
    EXPECT_EQ(cells_of(shape(253, 10, 14, 14, 14, 10, 10)).size(), 21u);
    EXPECT_EQ(cells_of(shape(253, 14, 14, 10, 10, 10, 14)).size(), 20u);

    EXPECT_EQ(cells_of(shape(253, 30, 40, 20, 40, 60, 40)), box(20, 41, 30, 41));   // one row, first two corners
    EXPECT_EQ(cells_of(shape(253, 7, 8, 7, 8, 7, 8)), (Cells{{7, 9}}));
}

TEST(ShapeRaster, CraftedValuesStayOnTheMapAndFinish) {
    // Values a damaged or hostile pack may carry: no wrap, no walk over the
    // rows off the map, nothing written outside.
    for (const Tmap_shape& s :
         {shape(253, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, INT_MAX), shape(253, 0, INT_MIN, 5, INT_MAX, INT_MAX, 3),
          shape(254, INT_MAX, INT_MAX, INT_MAX, INT_MAX), shape(254, INT_MIN, INT_MIN, INT_MAX, INT_MAX),
          shape(255, INT_MIN, INT_MIN, INT_MAX, INT_MAX), shape(255, -1000000000, 0, 2000000000, 400)}) {
        Cells c = cells_of(s, 3, 3);
        for (auto& xy : c) {
            EXPECT_GE(xy.first, 0);
            EXPECT_LT(xy.first, 300);
            EXPECT_GE(xy.second, 0);
            EXPECT_LT(xy.second, 300);
        }
    }
    EXPECT_EQ(cells_of(shape(254, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 3, 3).size(), 0u);   // ends at -1
    EXPECT_EQ(cells_of(shape(254, -10, -10, INT_MAX, INT_MAX), 3, 3).size(), 90000u);
}

// fill against one rasterise per shape: random shapes on and around the map,
// shapes clipped at every edge, huge ones, many overlapping, and maps whose
// width is no multiple of 64.
TEST(ShapeRaster, FillSetsTheCellsOfEveryShape) {
    uint64_t state = 12345;
    auto next = [&](int64_t lo, int64_t hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (int)(lo + (int64_t)((state >> 33) % (uint64_t)(hi - lo + 1)));
    };
    struct Map {
        int xt, yt, count, spread;
    };
    for (Map m : {Map{3, 3, 1, 400}, {3, 3, 8, 400}, {5, 3, 25, 700}, {7, 4, 6, 1000000}, {3, 5, 4, INT_MAX / 2}}) {
        for (int round = 0; round < 10; ++round) {
            std::list<Tmap_shape::Ptr> list;
            for (int i = 0; i < m.count; ++i) {
                int id = std::array<int, 4>{12, 253, 254, 255}[next(0, 3)];
                auto s = std::make_shared<Tmap_shape>(shape(id, next(-m.spread, m.spread), next(-m.spread, m.spread),
                                                            next(-m.spread, m.spread), next(-m.spread, m.spread),
                                                            next(-m.spread, m.spread), next(-m.spread, m.spread)));
                if (id != 253 && round % 2 == 0) {
                    // Boxes near the map, so that most of them show.
                    s->x = next(-100, m.xt * 100), s->y = next(-100, m.yt * 100);
                    s->w = next(-5, m.xt * 40), s->h = next(-5, m.yt * 40);
                }
                list.push_back(s);
            }
            for (int extreme : {INT_MIN, INT_MAX})
                list.push_back(std::make_shared<Tmap_shape>(shape(253, extreme, 0, 0, extreme, next(0, 300), 100)));
            Tmap_mask one(m.xt * 100, m.yt * 100), all(m.xt * 100, m.yt * 100);
            for (auto& s : list) s->rasterise(one);
            Tmap_shape::fill(list, all);
            ASSERT_EQ(one.cells, all.cells) << m.xt << "x" << m.yt << " round " << round;
        }
    }
    // A map width that leaves part of the last 64-cell word unused.
    Tmap_mask one(333, 301), all(333, 301);
    std::list<Tmap_shape::Ptr> list{std::make_shared<Tmap_shape>(shape(254, -10, -10, 1000, 1000)),
                                    std::make_shared<Tmap_shape>(shape(255, 100, 100, 50, 60))};
    for (auto& s : list) s->rasterise(one);
    Tmap_shape::fill(list, all);
    EXPECT_EQ(one.cells, all.cells);
}

TEST(ShapeRaster, RowsAreTheClippedHeight) {
    EXPECT_EQ(shape(254, 10, 20, 5, 3).rows(300, 300), 4);
    EXPECT_EQ(shape(254, 10, -20, 5, 30).rows(300, 300), 11);
    EXPECT_EQ(shape(254, 400, 20, 5, 3).rows(300, 300), 0);   // right of the map
    EXPECT_EQ(shape(255, 40, 50, 1, 5).rows(300, 300), 0);    // sets nothing
    EXPECT_EQ(shape(255, INT_MIN, INT_MIN, INT_MAX, INT_MAX).rows(300, 300), 0);
    EXPECT_EQ(shape(255, -10, -10, INT_MAX, INT_MAX).rows(30000, 30000), 30000);
    EXPECT_EQ(shape(253, 0, 10, 5, 20, 9, 15).rows(300, 300), 11);   // rows 11..21
    EXPECT_EQ(shape(253, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0).rows(300, 300), 300);
    EXPECT_EQ(shape(12, 0, 0, 100, 100).rows(300, 300), 0);
}

class Shapes : public MapTest {};

TEST_F(Shapes, AddAndCopy) {
    auto t = Tmap_shape::add(253, 1, 2, 3, 4);
    t->x3 = 5;
    t->y3 = 6;
    auto c = t->copy();
    EXPECT_EQ(Tmap_shape::list.size(), 1u);
    EXPECT_EQ(c->id * 1000000 + c->x * 100000 + c->y * 10000 + c->w * 1000 + c->h * 100 + c->x3 * 10 + c->y3,
              253123456);
    EXPECT_EQ(c->size, 0);
}

TEST_F(Shapes, TilesGoUnderTheTexturing) {
    // A tile wholly under a mask shape leaves no trace of its own colour.
    map_setup(5, 4, 1);
    map_type = "000|42|0";
    Tmap_shape::add(254, 0, 200, 499, 199);
    Tmap_shape::perform();
    std::vector<uint32_t> without = map_snapshot();

    Tmap_shape::list.clear();
    Tmap_shape::add(26, 100, 250, 30, 20);
    Tmap_shape::add(254, 0, 200, 499, 199);
    Tmap_shape::perform();
    EXPECT_EQ(map_snapshot(), without);

    // Off the mask the tile is stamped as it is, and later tiles go over it.
    gfx_tile[27] = solid_image(10, 10, 0xFF00FF00u);
    Tmap_shape::list.clear();
    Tmap_shape::add(26, 100, 50, 30, 20);
    Tmap_shape::add(27, 120, 60, 10, 10);
    Tmap_shape::add(12, 10, 10, 10, 10);   // no image: passed over
    Tmap_shape::perform();
    EXPECT_EQ((uint32_t)map_getcolor(105, 55), 0xFF3366CCu);
    EXPECT_EQ((uint32_t)map_getcolor(125, 65), 0xFF00FF00u);
    EXPECT_EQ(map_getcolor(15, 15), 0);
    gfx_tile[27] = nullptr;
}

TEST_F(Shapes, PerformKeepsListsAndBackground) {
    map_setup(4, 4, 1);
    map_type = "000|1|0";
    Tmap_spawn::add(5, 5, "{Mine}");
    Tmap_shape::add(254, 0, 300, 399, 99);
    map_bg_path = "gfx/bg.png";
    map_bg_transparency = 4;
    map_bg_render = 3;
    map_bg_align = 2;
    ImagePtr bg = CreateImage(2, 2, 1, -1);
    map_bg = bg;
    Tmap_shape::perform();
    EXPECT_EQ(Tmap_spawn::list.size(), 1u);
    EXPECT_EQ(Tmap_shape::list.size(), 1u);
    EXPECT_EQ(map_bg_path, "gfx/bg.png");
    EXPECT_EQ(map_bg_transparency * 100 + map_bg_render * 10 + map_bg_align, 432);
    EXPECT_EQ(map_bg, bg);
    EXPECT_NE(map_getcolor(10, 350), 0);
    EXPECT_EQ(map_getcolor(10, 250), 0);
}

TEST_F(Shapes, SeedAndStyleComeFromTheMapType) {
    // Too few fields: seed 0 and style 0, like "000|0|0".
    map_setup(3, 3, 1);
    Tmap_shape::add(255, 50, 50, 200, 200);
    map_type = "000";
    Tmap_shape::perform();
    std::vector<uint32_t> short_type = map_snapshot();
    map_type = "000|0|0";
    Tmap_shape::perform();
    EXPECT_EQ(map_snapshot(), short_type);
}

TEST_F(Shapes, LeavesOnBranchTilesOfStyleZeroOnly) {
    auto leaves = [] {
        size_t n = 0;
        for (auto& cell : Tscc::map.cells) n += cell.list().size() + cell.listf().size();
        return n;
    };
    map_setup(5, 5, 1);
    Tmap_shape::add(19, 110, 110, 50, 50);   // branch variant 10: seven leaves
    Tmap_shape::add(8, 300, 300, 50, 50);    // a rock: none
    for (const char* type : {"000|3|0", "000", "000|3|1"}) {
        Tscc::clear();
        map_type = type;
        Tmap_shape::postperform_leaves();
        EXPECT_EQ(leaves(), map_type == "000|3|1" ? 0u : 7u) << type;
    }
}

}  // namespace
