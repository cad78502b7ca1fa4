// Surface nodes: the scan, growth, clean-up and the random pick.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/random.h"
#include "terrain/edit.h"
#include "terrain/nodes.h"
#include "terrain/tiles.h"

namespace {

constexpr int SOLID = (int)0xFF806040u;

std::vector<std::pair<int, int>> nodes() {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < Tmap_tn::peak; ++i) out.emplace_back(Tmap_tn::a[i].x, Tmap_tn::a[i].y);
    return out;
}

TEST(SurfaceNodes, FlatGroundAcrossATileBorderGivesOneNodePerColumn) {
    map_setup(3, 3, 1);
    map_rect(0, 100, 299, 199, SOLID);
    Tmap_tn::setup(1);
    ASSERT_EQ(Tmap_tn::peak, 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(Tmap_tn::a[i].x, i);
        EXPECT_EQ(Tmap_tn::a[i].y, 100);
    }
    EXPECT_GE(Tmap_tn::a.size(), 900u);
}

TEST(SurfaceNodes, ThresholdsAboveAndAtTheNode) {
    struct Case {
        uint32_t above, pixel;
        bool node;
    };
    for (Case c : {Case{0x7F000000u, 0xFF000000u, true}, {0x80000000u, 0xFF000000u, false},
                   {0x00000000u, 0xFE000000u, false}, {0x00000000u, 0xFF000000u, true}}) {
        map_setup(3, 3, 1);
        map_rect(10, 49, 0, 0, (int)c.above);
        map_rect(10, 50, 0, 0, (int)c.pixel);
        Tmap_tn::setup(1);
        EXPECT_EQ(Tmap_tn::peak, c.node ? 1 : 0) << std::hex << c.above << " over " << c.pixel;
    }
}

TEST(SurfaceNodes, ColumnOrderTopToBottomRowZeroNeverBottomRowAlways) {
    map_setup(3, 3, 1);
    map_rect(5, 0, 0, 9, SOLID);      // from row 0: no node there
    map_rect(5, 20, 0, 29, SOLID);    // block ...
    map_rect(5, 30, 0, 9, 0);         // ... with a cave: top and cave floor
    map_rect(6, 299, 0, 0, SOLID);    // the bottom row
    Tmap_tn::setup(1);
    EXPECT_EQ(nodes(), (std::vector<std::pair<int, int>>{{5, 20}, {5, 40}, {6, 299}}));
    Tmap_tn::setup(0);
    EXPECT_EQ(Tmap_tn::peak, 0);
}

TEST(SurfaceNodes, GrowthKeepsOrder) {
    map_setup(3, 3, 1);
    Tmap_tn::setup(0);
    ASSERT_EQ(Tmap_tn::a.size(), 900u);
    for (int i = 0; i < 2000; ++i) Tmap_tn::add((uint16_t)i, (uint16_t)(i * 7));
    ASSERT_EQ(Tmap_tn::peak, 2000);
    EXPECT_EQ(Tmap_tn::a.size(), 3600u);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(Tmap_tn::a[i].x, (uint16_t)i);
        ASSERT_EQ(Tmap_tn::a[i].y, (uint16_t)(i * 7));
    }
}

TEST(SurfaceNodes, CleanupRemovesCoveredNodesLastTakingTheirPlace) {
    map_setup(3, 3, 1);
    Tmap_tn::setup(0);
    for (int x : {10, 11, 12, 13, 14}) Tmap_tn::add((uint16_t)x, 50);
    // Cover 10, 13 and 14 (the last two in a row, including the last node).
    for (int x : {10, 13, 14}) map_rect(x, 49, 0, 0, SOLID);
    map_rect(11, 49, 0, 0, (int)0xFE000000u);   // not fully opaque: stays
    Tmap_tn::cleanup();
    EXPECT_EQ(nodes(), (std::vector<std::pair<int, int>>{{12, 50}, {11, 50}}));
}

TEST(SurfaceNodes, RandomPickDrawsOncePerCallAndNeverWhenEmpty) {
    map_setup(3, 3, 1);
    Tmap_tn::setup(0);
    SeedRnd(99);
    uint64_t first = rnd_next64();
    SeedRnd(99);
    Tmap_tn::rx = -7;
    EXPECT_EQ(Tmap_tn::getrand(), 0);
    EXPECT_EQ(Tmap_tn::rx, -7);
    EXPECT_EQ(rnd_next64(), first);   // nothing was drawn

    for (int i = 0; i < 10; ++i) Tmap_tn::add((uint16_t)(i * 3), (uint16_t)(i + 100));
    SeedRnd(5);
    int expected = Rand(0, 9);
    uint64_t after = rnd_next64();
    SeedRnd(5);
    EXPECT_EQ(Tmap_tn::getrand(), 1);
    EXPECT_EQ(Tmap_tn::rx, expected * 3);
    EXPECT_EQ(Tmap_tn::ry, expected + 100);
    EXPECT_EQ(rnd_next64(), after);
}

}  // namespace
