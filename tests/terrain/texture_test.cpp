// Terrain texturing: determinism, particle levels, bands, decorations, the
// texture check and out-of-range styles.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "platform/files.h"
#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/nodes.h"
#include "terrain/scenery_grid.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"
#include "scenery_probe.h"
#include "terrain_art.h"
#include "terrain_test_util.h"

namespace {

namespace fs = std::filesystem;

struct Built {
    std::vector<uint32_t> pixels;
    std::vector<std::pair<int, int>> nodes;
    std::vector<SpriteRecord> scenery;
    std::vector<Tmap_decoration> decorations;
};

// Outline and texturing exactly as the generator does them, keeping the mask.
Built build(int xsize, int ysize, int seed, int style, int form, Tmap_mask* mask_out = nullptr) {
    std::vector<Tmap_decoration> trace;
    map_decoration_trace = &trace;
    map_setup(xsize / 100, ysize / 100, 1);
    SeedRnd(seed);
    Tmap_mask mask(map_xsize, map_ysize);
    map_generate_outline(mask, form);
    map_generate_fromarray(mask, style, 1, seed, 1);
    map_decoration_trace = nullptr;
    if (mask_out) *mask_out = mask;
    return {map_snapshot(), node_list(), scenery_records(), trace};
}

class Texturing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        terrain_art::load_terrain_art();
        terrain_art::load_terrain_textures();
    }
    static void TearDownTestSuite() {
        terrain_art::forget_terrain_art();
        map_forget_textures();
    }
    void SetUp() override { set_particles = 2; }
};

TEST_F(Texturing, SameRecipeGivesTheSameMapInEveryStyleWhateverWasDrawnBefore) {
    for (int style = 0; style <= 4; ++style) {
        SeedRnd(99);
        Built a = build(1300, 600, 4100 + style, style, 1);
        SeedRnd(7);
        for (int i = 0; i < 333; ++i) Rand(1, 6);
        Built b = build(1300, 600, 4100 + style, style, 1);
        EXPECT_TRUE(a.pixels == b.pixels) << "style " << style;
        EXPECT_EQ(a.nodes, b.nodes) << "style " << style;
        EXPECT_TRUE(a.scenery == b.scenery) << "style " << style;
        EXPECT_EQ(in_seed, 4100 + style);
        EXPECT_GT(a.nodes.size(), 1300u) << style;
        // Only the green and desert styles grow grass or foliage.
        int plants = count_kind(a.scenery, Tsc::GRASS) + count_kind(a.scenery, Tsc::FOLIAGE);
        EXPECT_EQ(plants > 0, style <= 1) << style;
        EXPECT_EQ(count_kind(a.scenery, Tsc::ROOT) > 0, style != 3) << style;
        EXPECT_EQ(count_kind(a.scenery, Tsc::TREELEAVES) > 0, style == 0) << style;
    }
}

TEST_F(Texturing, ParticleLevelOnlyDecidesWhichPlantsAreKept) {
    set_particles = 2;
    Built many = build(1300, 600, 777, 0, 1);
    set_particles = 1;
    Built some = build(1300, 600, 777, 0, 1);
    set_particles = 0;
    Built none = build(1300, 600, 777, 0, 1);
    EXPECT_TRUE(none.pixels == many.pixels);
    EXPECT_TRUE(some.pixels == many.pixels);
    EXPECT_EQ(none.nodes, many.nodes);
    for (int kind : {Tsc::GRASS, Tsc::FOLIAGE, Tsc::ROOT, Tsc::REED}) {
        EXPECT_EQ(count_kind(none.scenery, kind), 0) << kind;
        EXPECT_LE(count_kind(some.scenery, kind), count_kind(many.scenery, kind)) << kind;
    }
    EXPECT_GT(count_kind(many.scenery, Tsc::GRASS), count_kind(some.scenery, Tsc::GRASS));
    EXPECT_GT(count_kind(some.scenery, Tsc::GRASS), 0);
    // The leaves are the same sprites at every level.
    std::vector<SpriteRecord> leaves_many, leaves_none;
    for (const auto& s : many.scenery)
        if (s.typ == Tsc::TREELEAVES) leaves_many.push_back(s);
    for (const auto& s : none.scenery)
        if (s.typ == Tsc::TREELEAVES) leaves_none.push_back(s);
    EXPECT_FALSE(leaves_many.empty());
    EXPECT_TRUE(leaves_many == leaves_none);
    // Every plant kept at level 1 is one of level 2.
    std::set<std::tuple<int, float, float>> at_two;
    for (const auto& s : many.scenery) at_two.insert({s.typ, s.x, s.y});
    for (const auto& s : some.scenery) EXPECT_TRUE(at_two.count({s.typ, s.x, s.y})) << s.x << "," << s.y;
}

TEST_F(Texturing, SolidPixelsAreOpaqueAndEachTileGrowsAtMostOneRockOrBranch) {
    for (int style = 0; style <= 4; ++style) {
        Tmap_mask mask;
        Built m = build(1500, 700, 31 + style, style, style == 3 ? 2 : 1, &mask);
        long solid = 0;
        for (int y = 0; y < map_ysize; ++y)
            for (int x = 0; x < map_xsize; ++x) {
                uint32_t a = m.pixels[(size_t)y * map_xsize + x] >> 24;
                if (mask[x][y] == 1) {
                    ++solid;
                    ASSERT_EQ(a, 255u) << "style " << style << " at " << x << "," << y;
                }
                ASSERT_TRUE(a == 0 || a == 255) << "style " << style << " at " << x << "," << y;
            }
        EXPECT_GT(solid, 0);
        std::set<std::pair<int, int>> tiles;
        int rocks = 0;
        for (const Tmap_decoration& d : m.decorations) {
            EXPECT_TRUE(tiles.insert({d.px / 100, d.py / 100}).second)
                << "style " << style << ": second stamp from tile " << d.px / 100 << "," << d.py / 100;
            EXPECT_EQ(mask[d.px][d.py], 1);
            EXPECT_NE(mask[d.px][d.py - 1], 1);
            rocks += d.kind == Tmap_decoration::ROCK;
        }
        EXPECT_FALSE(m.decorations.empty()) << style;
        if (style == 3) {
            EXPECT_EQ(rocks, 0);
        }
        // Stamps never leave a node buried under solid ground.
        for (auto [x, y] : m.nodes) EXPECT_LT(map_getcolor(x, y - 1) >> 24 & 255, 255) << x << "," << y;
    }
}

TEST_F(Texturing, EmptyMaskGivesNoTerrainNodesOrScenery) {
    map_setup(4, 3, 1);
    map_rect(50, 150, 200, 100, (int)0xFF808080u);
    Tmap_mask empty(map_xsize, map_ysize);
    map_generate_fromarray(empty, 0, 1, 5, 0);
    EXPECT_EQ(map_count_nonzero(), 201L * 101);   // reset 0 keeps the pixels
    EXPECT_EQ(Tmap_tn::peak, 0);
    EXPECT_TRUE(scenery_records().empty());
    map_generate_fromarray(empty, 0, 1, 5, 1);
    EXPECT_EQ(map_count_nonzero(), 0);
    EXPECT_EQ(Tmap_tn::peak, 0);
    EXPECT_TRUE(scenery_records().empty());
}

TEST_F(Texturing, ReedsOnlyNearTheWaterGrassOnlyAboveTheShore) {
    // Ground tops: 30 rows above the bottom, 100 rows above it, and high up.
    map_setup(12, 6, 1);
    const int Y = map_ysize;
    Tmap_mask mask(map_xsize, Y);
    for (int x = 0; x < map_xsize; ++x) {
        int top = x < 400 ? Y - 30 : x < 800 ? Y - 100 : 300;
        for (int y = top; y < Y; ++y) mask[x][y] = 1;
    }
    map_generate_fromarray(mask, 0, 0, 2024, 1);
    std::vector<SpriteRecord> s = scenery_records();
    int reeds = 0, plants = 0;
    for (const auto& r : s) {
        if (r.typ == Tsc::REED) {
            ++reeds;
            EXPECT_LT(r.x, 400);
            EXPECT_GE(r.y, Y - 50);
        } else {
            ++plants;
            EXPECT_TRUE(r.typ == Tsc::GRASS || r.typ == Tsc::FOLIAGE) << r.typ;   // no undersides, no roots
            EXPECT_GE(r.x, 800);
            EXPECT_LT(r.y, Y - 180);
        }
    }
    EXPECT_GT(reeds, 0);
    EXPECT_GT(plants, 0);
    // One node per column at the ground's top.
    ASSERT_EQ(Tmap_tn::peak, map_xsize);
    for (int i = 0; i < Tmap_tn::peak; ++i) EXPECT_EQ(Tmap_tn::a[i].x, i);
}

TEST_F(Texturing, RowZeroIsNeverSurfaceAndTheLastRowNeverUnderside) {
    // A pillar through the whole height: its top is row 0, its foot the last row.
    auto pillar = [] {
        map_setup(3, 3, 1);
        Tmap_mask mask(map_xsize, map_ysize);
        for (int x = 100; x < 200; ++x)
            for (int y = 0; y < map_ysize; ++y) mask[x][y] = 1;
        map_generate_fromarray(mask, 0, 1, 3, 1);
        return map_snapshot();
    };
    std::vector<uint32_t> shaded = pillar();
    EXPECT_EQ(Tmap_tn::peak, 0);
    EXPECT_TRUE(scenery_records().empty());
    // Without the shade image the pixels are the same: no underside was shaded.
    ImagePtr shade = gfx_bottomshade;
    gfx_bottomshade = nullptr;
    EXPECT_TRUE(pillar() == shaded);
    gfx_bottomshade = shade;
}

TEST_F(Texturing, PixelPassBlendsUpperIntoBodyAndBodyIntoShore) {
    // Without the dressing images only the three textures show.
    terrain_art::forget_terrain_art();
    map_setup(4, 4, 1);
    const int X = map_xsize, Y = map_ysize, mid = Y / 2;
    Tmap_mask mask(X, Y);
    for (auto& c : mask.cells) c = 1;
    map_generate_fromarray(mask, 1, 0, 1, 1);
    const std::string t = "gfx/textures/";
    // The textures as texturing sees them.
    auto tex = [&](const std::string& f) {
        std::string here = CurrentDir();
        int w, h;
        Tmap_texture out;
        std::string root = terrain_art::root();
        if (FileType(root + t + f) == 1) {
            out = map_generate_loadtex(root + t + f, w, h);
        } else {
            std::string p = (fs::temp_directory_path() / ("tex_probe_" + std::to_string(::getpid()) + ".png")).string();
            SavePixmapPNG(*terrain_art::drawn_texture(t + f), p);
            out = map_generate_loadtex(p, w, h);
            DeleteFile(p);
        }
        return out;
    };
    Tmap_texture U = tex("tex_desertrock.bmp"), E = tex("tex_desert.bmp"), D = tex("tex_sand.bmp");
    ASSERT_GT(U.w, 0);
    auto at = [](const Tmap_texture& tx, int x, int y, int c) {
        return (int)tx.rgb[((size_t)(x % tx.w) * tx.h + y % tx.h) * 3 + c];
    };
    for (int x : {0, 37, 399}) {
        uint32_t top = (uint32_t)map_getcolor(x, 0), middle = (uint32_t)map_getcolor(x, mid),
                 below = (uint32_t)map_getcolor(x, mid + 1), bottom = (uint32_t)map_getcolor(x, Y - 1);
        int band = 80 + (int)(10.0 + 10.0 * std::sin(1.5 * x * M_PI / 180.0));
        double f = (double)(band - 1) / band * 0.7;
        for (int c = 0; c < 3; ++c) {
            int sh = 16 - 8 * c;
            EXPECT_EQ((int)(top >> sh & 255), at(U, x, 0, c)) << x;
            EXPECT_EQ((int)(middle >> sh & 255), at(E, x, mid, c)) << x;
            EXPECT_EQ((int)(below >> sh & 255), at(E, x, mid + 1, c)) << x;
            double mix = (1 - f) * at(E, x, Y - 1, c) + f * at(D, x, Y - 1, c);
            EXPECT_NEAR((int)(bottom >> sh & 255), mix, 1.0) << x;
        }
        EXPECT_EQ(top >> 24, 255u);
    }
    terrain_art::load_terrain_art();
}

TEST_F(Texturing, StyleOutsideTheFiveLooksLikeItsRemainderAndKeepsItsNumber) {
    struct Case {
        int style, as;
    };
    for (Case c : {Case{0, 0}, {4, 4}, {5, 0}, {7, 2}, {255, 0}, {-1, 4}, {-3, 2}, {INT32_MIN, 2}})
        EXPECT_EQ(map_texture_style(c.style), c.as) << c.style;

    map_generate(900, 400, 55, 2, 0);
    std::vector<uint32_t> two = map_snapshot();
    std::vector<SpriteRecord> two_s = scenery_records();
    map_generate(900, 400, 55, 7, 0);
    EXPECT_EQ(map_type, "003|55|7|0");
    EXPECT_TRUE(map_snapshot() == two);
    EXPECT_TRUE(scenery_records() == two_s);
}

// A scratch folder that holds stand-in texture files, made the working
// folder while it lives.
class ScratchTextures {
public:
    ScratchTextures() {
        dir_ = fs::temp_directory_path() / ("texcheck_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "gfx/textures");
        for (const std::string& f : map_texture_files()) SavePixmapPNG(*terrain_art::drawn_texture(f), (dir_ / f).string());
        here_ = CurrentDir();
        ChangeDir(dir_.string());
    }
    ~ScratchTextures() {
        ChangeDir(here_);
        fs::remove_all(dir_);
    }

private:
    fs::path dir_;
    std::string here_;
};

TEST_F(Texturing, StartUpCheckNamesTheFirstTextureThatDoesNotLoad) {
    {
        ScratchTextures scratch;
        std::string error = "x";
        EXPECT_EQ(map_check_textures(error), 1);
        EXPECT_EQ(error, "");
        DeleteFile("gfx/textures/tex_snow.bmp");
        EXPECT_EQ(map_check_textures(error), 0);
        EXPECT_EQ(error, "can't load terrain texture gfx/textures/tex_snow.bmp");
        for (const std::string& f : map_texture_files()) DeleteFile(f);
        EXPECT_EQ(map_check_textures(error), 0);
        EXPECT_EQ(error, "can't load terrain texture gfx/textures/tex_rock.bmp");
    }
    EXPECT_EQ(map_texture_files().size(), 11u);
    terrain_art::load_terrain_textures();
}

TEST_F(Texturing, MissingTextureDuringAMatchStillBuildsTheMap) {
    map_forget_textures();
    {
        ScratchTextures scratch;
        for (const std::string& f : map_texture_files()) DeleteFile(f);
        map_generate(1000, 500, 8, 3, 1);
    }
    long opaque = 0;
    for (uint32_t p : map_snapshot()) {
        EXPECT_TRUE(p >> 24 == 0 || p >> 24 == 255);
        opaque += p >> 24 == 255;
    }
    EXPECT_GT(opaque, 10000);
    EXPECT_GT(Tmap_tn::peak, 0);
    map_forget_textures();
    terrain_art::load_terrain_textures();
}

}  // namespace

namespace {

// Texturing places branches and rocks by the sizes of its recipe; the
// built-in pictures must have exactly those sizes.
TEST(TerrainPieces, BuiltInBranchesAndRocksHaveTheirRecipeSizes) {
    terrain_art::register_builtin_images();
    const int bw[12] = {48, 17, 40, 25, 19, 13, 17, 12, 13, 20, 26, 33};
    const int bh[12] = {58, 37, 38, 46, 35, 14, 19, 30, 37, 53, 67, 58};
    const int rw[9] = {50, 35, 125, 101, 42, 30, 26, 35, 30};
    const int rh[9] = {50, 47, 51, 79, 36, 23, 30, 20, 20};
    for (int i = 0; i < 12; ++i) {
        ImagePtr b = LoadImage("incbin::incgfx/terrain/branches" + std::to_string(i) + ".bmp", 9);
        ASSERT_TRUE(b) << i;
        EXPECT_EQ(ImageWidth(b), bw[i]) << "branch " << i;
        EXPECT_EQ(ImageHeight(b), bh[i]) << "branch " << i;
    }
    for (int i = 0; i < 9; ++i) {
        ImagePtr r = LoadImage("incbin::incgfx/terrain/rock" + std::to_string(i) + ".bmp", 9);
        ASSERT_TRUE(r) << i;
        EXPECT_EQ(ImageWidth(r), rw[i]) << "rock " << i;
        EXPECT_EQ(ImageHeight(r), rh[i]) << "rock " << i;
    }
}

}  // namespace
