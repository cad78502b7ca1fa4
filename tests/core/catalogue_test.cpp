// Resource catalogue: load order, load state per image, handles, the tile
// table, and what a missing file does.
#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/core_fixture.h"
#include "core/graphics_setup.h"
#include "core/random.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "support/fake_resources.h"
#include "support/temp_dir.h"
#include "world/particles.h"

namespace {

class CatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        ASSERT_TRUE(fake::link_tree(dir.path()));
        startup_register_builtins(fake::builtins());
        Graphics(640, 480, 0, 60, 0);
        catalogue_free();
    }
    void TearDown() override { catalogue_free(); }

    // Loads the catalogue; returns the console text and whether it ended.
    std::string load(bool* ended) {
        return console_of([] { catalogue_load(); }, ended);
    }

    TempDir dir;
    ProgramSeams seams;
};

bool transparent(const ImagePtr& img, int x, int y) { return (LockImage(img, 0)->ReadPixel(x, y) >> 24) == 0; }

TEST_F(CatalogueTest, EveryGlobalLoads) {
    bool ended = true;
    load(&ended);
    ASSERT_FALSE(ended);
    std::vector<std::string> expected_empty;
    for (int i = 43; i < 252; i++) expected_empty.push_back("gfx_tile[" + std::to_string(i) + "]");
    EXPECT_EQ(catalogue_empty(), expected_empty);
}

TEST_F(CatalogueTest, HandlesFollowTheLoadStateAndTheTable) {
    load(nullptr);
    // Single fake images are 6 x 10.
    struct Case {
        const char* name;
        const ImagePtr& img;
        float hx, hy;
    };
    const Case cases[] = {
        {"gfx_pointer", gfx_pointer, 4, 4},
        {"gfx_pointer_click", gfx_pointer_click, 4, 4},
        {"gfx_bg (centre handle off)", gfx_bg, 0, 0},
        {"gfx_waterray", gfx_waterray, 19, 0},
        {"gfx_waterimpact", gfx_waterimpact, 25, 60},
        {"gfx_pl (strip cell centre)", gfx_pl, 16, 16},
        {"gfx_pl_accessory_head", gfx_pl_accessory_head, 16, 20},
        {"gfx_pl_snorkel", gfx_pl_snorkel, 16, 20},
        {"gfx_fire", gfx_fire, 15, 54},
        {"gfx_crater25", gfx_crater25, 3, 5},
        {"gfx_drop", gfx_drop, 16, 0},
        {"gfx_meat[18]", gfx_meat[18], 16, 16},
        {"gfx_hassock[0]", gfx_hassock[0], 3, 6},
        {"gfx_foliage[5]", gfx_foliage[5], 3, 6},
        {"gfx_roots[7]", gfx_roots[7], 3, 2},
        {"gfx_reed[2]", gfx_reed[2], 3, 8},
        {"gfx_branches[0] (48x58)", gfx_branches[0], 24, 29},
        {"gfx_supply (20x16)", gfx_supply, 10, 8},
        {"gfx_mine", gfx_mine, 5, 3},
        {"gfx_beartrap1", gfx_beartrap1, 7, 9},
        {"gfx_medikit", gfx_medikit, 10, 8},
        {"gfx_border_d1 (77x77)", gfx_border_d1, 38.5f, 38.5f},
        {"gfx_attention", gfx_attention, 3, 5},
        {"gfx_title_bigg (centre handle off again)", gfx_title_bigg, 0, 0},
        {"gfx_arrow", gfx_arrow, 3, 5},
        {"gfx_score (14x18 cells)", gfx_score, 7, 9},
        {"gfx_menu_join", gfx_menu_join, 3, 5},
        {"gfx_load", gfx_load, 3, 5},
        {"gfx_editor_grid", gfx_editor_grid, 0, 0},
        {"gfx_icon_movement", gfx_icon_movement, 3, 5},
        {"gfx_terrain_form", gfx_terrain_form, 0, 0},
        {"gfx_tile[26] (10x30)", gfx_tile[26], 5, 15},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.img) << c.name;
        EXPECT_EQ(c.img->handle_x, c.hx) << c.name;
        EXPECT_EQ(c.img->handle_y, c.hy) << c.name;
    }
}

// Fake images have black at (0, 0) and magenta at (1, 0).
TEST_F(CatalogueTest, MaskColourInForceAtEachLoad) {
    load(nullptr);
    struct Case {
        const char* name;
        const ImagePtr& img;
        bool black_clear, magenta_clear;
    };
    const Case cases[] = {
        {"gfx_bg (sky: black)", gfx_bg, true, false},
        {"gfx_clouds", gfx_clouds, true, false},
        {"gfx_wateranim", gfx_wateranim, true, false},
        {"gfx_pl", gfx_pl, false, true},
        {"gfx_ring", gfx_ring, false, true},
        {"gfx_bullet (masked only)", gfx_bullet, false, true},
        {"gfx_toplight (dynamic, not masked)", gfx_toplight, false, false},
        {"gfx_dropimpact[15]", gfx_dropimpact[15], false, false},
        {"gfx_meat[0] (black)", gfx_meat[0], true, false},
        {"gfx_meat[18]", gfx_meat[18], true, false},
        {"gfx_inearth[0] (dynamic)", gfx_inearth[0], false, false},
        {"gfx_hassock[0] (filtered only)", gfx_hassock[0], false, false},
        {"gfx_rocks[0] (masked, dynamic)", gfx_rocks[0], false, true},
        {"gfx_supply", gfx_supply, false, true},
        {"gfx_healthbar", gfx_healthbar, false, true},
        {"gfx_terrain_style", gfx_terrain_style, false, true},
        {"gfx_tile[42]", gfx_tile[42], false, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.img) << c.name;
        EXPECT_EQ(transparent(c.img, 0, 0), c.black_clear) << c.name;
        EXPECT_EQ(transparent(c.img, 1, 0), c.magenta_clear) << c.name;
    }
    int r, g, b;
    GetMaskColor(r, g, b);
    EXPECT_EQ(r * 65536 + g * 256 + b, 0xFF00FF) << "magenta stays in force afterwards";
    EXPECT_FALSE(AutoMidHandleOn());
}

TEST_F(CatalogueTest, FlagsAndAlphaMasks) {
    load(nullptr);
    EXPECT_EQ(gfx_bg->flags, DefaultImageFlags());
    EXPECT_EQ(gfx_bullet->flags, MASKEDIMAGE);
    EXPECT_EQ(gfx_crater200->flags, DYNAMICIMAGE);
    EXPECT_EQ(gfx_blood75[2]->flags, DYNAMICIMAGE);
    EXPECT_EQ(gfx_foliage[0]->flags, FILTEREDIMAGE);
    EXPECT_EQ(gfx_branches[11]->flags, MASKEDIMAGE | DYNAMICIMAGE);
    // Grey (128, 128, 128) becomes white at alpha 128 in every masked frame.
    for (const ImagePtr& img : {gfx_load, gfx_crosshair, gfx_puff[3], gfx_editor_grid})
        EXPECT_EQ(LockImage(img, 0)->ReadPixel(2, 0), 0x80FFFFFFu);
    for (int f = 0; f < 10; f++) EXPECT_EQ(LockImage(gfx_wset, f)->ReadPixel(2, 2), 0x80FFFFFFu) << f;
    EXPECT_EQ(LockImage(gfx_flare[0], 0)->ReadPixel(2, 0), 0xFF808080u) << "no mask on the flares";
}

TEST_F(CatalogueTest, TileTable) {
    load(nullptr);
    for (int i = 0; i < 9; i++) EXPECT_EQ(gfx_tile[i], gfx_rocks[i]) << i;
    for (int i = 0; i < 12; i++) EXPECT_EQ(gfx_tile[9 + i], gfx_branches[i]) << i;
    EXPECT_EQ(gfx_tile[21], gfx_border_h);
    EXPECT_EQ(gfx_tile[22], gfx_border_v);
    EXPECT_EQ(gfx_tile[23], gfx_border_d1);
    EXPECT_EQ(gfx_tile[24], gfx_border_d2);
    EXPECT_EQ(gfx_tile[25], gfx_border_c);
    for (int n = 0; n <= 16; n++) {
        const BuiltinImage& b = kBuiltinImages[40 + n];
        ASSERT_TRUE(gfx_tile[26 + n]) << b.name;
        EXPECT_EQ(gfx_tile[26 + n]->width, b.width) << b.name;
        EXPECT_EQ(gfx_tile[26 + n]->height, b.height) << b.name;
    }
    EXPECT_EQ(gfx_tile[26]->width, 10);
    EXPECT_EQ(gfx_tile[26]->height, 30);
    EXPECT_FALSE(gfx_tile[43]);
}

TEST_F(CatalogueTest, ParticleLayersAreNewAndEmpty) {
    Tp::Create(4, 1, 1, 0);
    Tp::Create(7, 1, 1, 1);
    load(nullptr);
    for (auto& layer : Tp::list) EXPECT_TRUE(layer.empty());
}

TEST_F(CatalogueTest, TitleTuneIsOneOfFour) {
    for (int seed = 0; seed < 12; seed++) {
        SeedRnd(seed);
        load(nullptr);
        ASSERT_TRUE(sfx_title) << "seed " << seed;
        EXPECT_TRUE(sfx_musicchan) << "seed " << seed;
        EXPECT_TRUE(sfx_musicchan->Paused()) << "held, not playing";
    }
}

TEST_F(CatalogueTest, MissingStrictFileEndsAtItsRow) {
    struct Case {
        std::vector<std::string> removed;
        std::string named;
        const ImagePtr* loaded;      // an earlier row (if any): loaded
        const ImagePtr& not_loaded;  // a later row: never reached
    };
    const Case cases[] = {
        {{"gfx/gui_load.bmp"}, "gfx/gui_load.bmp", &gfx_menu_mission, gfx_editor_grid},
        {{"gfx/gui_load.bmp", "gfx/crosshair.bmp"}, "gfx/crosshair.bmp", &gfx_pl_snorkel, gfx_pl_col},
        {{"gfx/pointer.png", "gfx/backgradient.bmp"}, "gfx/backgradient.bmp", nullptr, gfx_water[0]},
        {{"gfx/modifiers/blood25_1.png", "gfx/modifiers/blood50_0.png"},
         "gfx/modifiers/blood50_0.png",
         &gfx_blood25[0],
         gfx_blood75[0]},
        {{"gfx/players/player.bmp"}, "gfx/players/player.bmp", &gfx_wateranim, gfx_pl_t},
        {{"gfx/font_button.ttf"}, "gfx/font_button.ttf", nullptr, gfx_bg},
        {{"gfx/terrain_form.bmp"}, "gfx/terrain_form.bmp", &gfx_terrain_style, gfx_tile[26]},
    };
    for (const Case& c : cases) {
        for (size_t i = 0; i < c.removed.size(); i++)
            std::filesystem::rename(dir.path() / c.removed[i], dir.path() / ("away" + std::to_string(i)));
        catalogue_free();
        bool ended = false;
        std::string said = load(&ended);
        EXPECT_TRUE(ended) << c.named;
        EXPECT_NE(said.find("failed to load '" + c.named + "'!"), std::string::npos) << said;
        if (c.loaded) {
            EXPECT_TRUE(*c.loaded) << c.named;
        }
        EXPECT_FALSE(c.not_loaded) << c.named;
        for (size_t i = 0; i < c.removed.size(); i++)
            std::filesystem::rename(dir.path() / ("away" + std::to_string(i)), dir.path() / c.removed[i]);
    }
}

// A missing menu picture or sound is not reported and leaves its global empty.
TEST_F(CatalogueTest, MissingPlainFileLeavesItsGlobalEmpty) {
    const char* removed[] = {"gfx/menu_host.png", "sfx/tick.ogg", "sfx/meat3.ogg"};
    for (const char* r : removed) std::filesystem::rename(dir.path() / r, dir.path() / StripDir(r));
    bool ended = true;
    load(&ended);
    for (const char* r : removed) std::filesystem::rename(dir.path() / StripDir(r), dir.path() / r);
    EXPECT_FALSE(ended);
    std::vector<std::string> empty = catalogue_empty();
    empty.erase(
        std::remove_if(empty.begin(), empty.end(), [](const std::string& n) { return n.rfind("gfx_tile[", 0) == 0; }),
        empty.end());
    EXPECT_EQ(empty, (std::vector<std::string>{"gfx_menu_host", "sfx_tick", "sfx_meat[3]"}));
}

TEST_F(CatalogueTest, FileListFollowsLoadOrderAndLeavesLoadedGlobalsAlone) {
    load(nullptr);
    ImagePtr pointer = gfx_pointer;
    std::vector<CatalogueFile> files = catalogue_files();
    EXPECT_EQ(gfx_pointer, pointer);
    EXPECT_TRUE(catalogue_empty().size() == 209u) << "only tiles 43..251 empty";
    ASSERT_GE(files.size(), 300u);
    EXPECT_EQ(files[0].path, "gfx/font_main.ttf");
    EXPECT_EQ(files[0].kind, CatalogueFile::FONT);
    EXPECT_EQ(files[4].path, "gfx/backgradient.bmp");
    EXPECT_EQ(files.back().path, "sfx/msgbox2.ogg");
    auto at = [&](const std::string& path) {
        for (size_t i = 0; i < files.size(); i++)
            if (files[i].path == path) return (int)i;
        return -1;
    };
    EXPECT_LT(at("gfx/modifiers/blood75_0.png"), at("gfx/modifiers/blood25_1.png"));
    EXPECT_LT(at("gfx/menu_mission.png"), at("gfx/gui_load.bmp"));
    EXPECT_FALSE(files[(size_t)at("gfx/menu_hotseat.png")].strict);
    EXPECT_FALSE(files[(size_t)at("incbin::incgfx/tiles/000.bmp")].strict);
    EXPECT_TRUE(files[(size_t)at("incbin::incgfx/terrain/rock8.bmp")].strict);
    const CatalogueFile& water = files[(size_t)at("gfx/water_animation.png")];
    EXPECT_EQ(water.cells, 8);
    EXPECT_EQ(water.cell_w, 128);
    for (int i = 1; i <= 4; i++) EXPECT_GE(at("sfx/title" + std::to_string(i) + ".ogg"), 0);
}

// With the resources the build generates (the tests run in the source
// folder): every file loads.
TEST(CatalogueRealResources, EveryFileLoads) {
    ProgramSeams seams;
    catalogue_free();
    bool ended = false;
    std::string said = console_of(
        [] {
            startup_register_builtins(incbin_builtin_files);
            catalogue_load();
        },
        &ended);
    EXPECT_FALSE(ended) << said;
    EXPECT_EQ(catalogue_empty().size(), 209u) << said;
    catalogue_free();
}

}  // namespace
