// Textured maps on a real screen: each style drawn with sky, terrain, scenery
// and water, checked on the pixels read back and saved under screens/ for a
// look (screens/terrain_style<N>.png).
#include <gtest/gtest.h>

#include <string>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/settings.h"
#include "frontend/screens/menu.h"
#include "match/game.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "terrain/draw.h"
#include "terrain/generate.h"
#include "terrain/nodes.h"
#include "terrain/scenery_grid.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "terrain_art.h"

namespace {

constexpr int kW = 800, kH = 600;

class ScreenTexture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        terrain_art::load_terrain_art();
        terrain_art::load_terrain_textures();
        const std::string g = terrain_art::root() + "gfx/";
        SetMaskColor(0, 0, 0);
        gfx_bg = LoadImage(g + "backgradient.bmp", -1);
        if (!gfx_bg) gfx_bg = LoadImage(terrain_art::paint(640, 480, [](int, int y) {
                                            return terrain_art::argb(255, 150 - y / 6, 180 - y / 8, 230 - y / 10);
                                        }), -1);
        gfx_clouds = LoadImage(g + "clouds.png", -1);
        if (!gfx_clouds) gfx_clouds = LoadImage(terrain_art::paint(8, 8, [](int, int) { return 0u; }), -1);
        gfx_water[0] = LoadImage(g + "waves0.png", -1);
        if (!gfx_water[0])
            gfx_water[0] = LoadImage(terrain_art::paint(200, 30, [](int, int y) {
                                         return y < 25 ? terrain_art::argb(255, 40, 120, 200) : 0u;
                                     }), -1);
        gfx_wateranim = LoadAnimImage(g + "water_animation.png", 128, 128, 0, 8, -1);
        if (!gfx_wateranim) gfx_wateranim = CreateImage(128, 128, 8, -1);
        SetMaskColor(255, 0, 255);
    }
    static void TearDownTestSuite() {
        terrain_art::forget_terrain_art();
        map_forget_textures();
        gfx_bg = gfx_clouds = gfx_water[0] = gfx_wateranim = nullptr;
    }
    void SetUp() override {
        if (!GraphicsWindowOpen() || GraphicsWidth() != kW || GraphicsHeight() != kH) {
            ASSERT_TRUE(Graphics(kW, kH, 0)) << "no OpenGL window";
        }
        set_scrx = kW, set_scry = kH, set_scrxh = kW / 2, set_scryh = kH / 2;
        set_background = 3;
        set_particles = 2;
        g_fps_render = 1;
        g_storm = 0;
        g_bgcola = 0;
        menu = 2;
    }
    // One frame as a match draws it; with_map 0 draws the sky alone.
    static PixmapPtr frame(bool with_map) {
        SetViewport(0, 0, kW, kH);
        SetClsColor(0, 0, 0);
        Cls();
        map_draw_bg();
        if (with_map) map_draw(0, 1);
        map_draw_water(1);
        SetTransform(0, 1, 1);
        SetColor(255, 255, 255);
        SetAlpha(1);
        return GrabPixmap(0, 0, kW, kH);
    }
    static long differing(const PixmapPtr& a, const PixmapPtr& b) {
        long n = 0;
        for (size_t i = 0; i < a->pixels.size(); ++i) n += (a->pixels[i] & 0xFFFFFF) != (b->pixels[i] & 0xFFFFFF);
        return n;
    }
};

TEST_F(ScreenTexture, EveryStyleShowsTerrainSurfaceAndScenery) {
    CreateDir("screens");
    for (int style = 0; style <= 4; ++style) {
        map_generate(1300, 600, 5150 + style, style, 1);
        map_x = -250;
        map_y = 0;
        PixmapPtr sky = frame(false);
        PixmapPtr shot = frame(true);
        SavePixmapPNG(*shot, "screens/terrain_style" + std::to_string(style) + ".png");
        // Wherever the map is solid above the water, the terrain shows.
        long solid = 0, shown = 0;
        for (int y = 0; y < kH - 40; ++y)
            for (int x = 0; x < kW; ++x) {
                if ((uint32_t)map_getcolor(x - (int)map_x, y - (int)map_y) >> 24 != 255) continue;
                ++solid;
                shown += (sky->ReadPixel(x, y) & 0xFFFFFF) != (shot->ReadPixel(x, y) & 0xFFFFFF);
            }
        EXPECT_GT(solid, kW * kH / 10) << "style " << style;
        EXPECT_GT(shown, solid * 9 / 10) << "style " << style;

        // The surface strip tints the ground right under each visible node.
        long tinted = 0, seen = 0;
        for (int i = 0; i < Tmap_tn::peak; ++i) {
            int sx = Tmap_tn::a[i].x + (int)map_x, sy = Tmap_tn::a[i].y + (int)map_y + 2;
            if (sx < 0 || sx >= kW || sy >= kH - 40) continue;
            uint32_t seen_px = shot->ReadPixel(sx, sy) & 0xFFFFFF;
            ++seen;
            tinted += seen_px != (map_getcolor(Tmap_tn::a[i].x, Tmap_tn::a[i].y + 2) & 0xFFFFFF) ? 0 : 1;
        }
        EXPECT_GT(seen, 200) << style;
        EXPECT_GT(tinted, seen / 2) << "style " << style;   // ground shows as the texturer left it

        // The scenery draws over and behind the ground: without it the frame differs.
        if (style != 3) {
            std::vector<std::shared_ptr<Tsc>> keep;
            for (auto& cell : Tscc::map.cells) {
                keep.insert(keep.end(), cell.list().begin(), cell.list().end());
                keep.insert(keep.end(), cell.listf().begin(), cell.listf().end());
            }
            EXPECT_FALSE(keep.empty()) << style;
            Tscc::clear();
            PixmapPtr bare = frame(true);
            EXPECT_GT(differing(bare, shot), 300) << "style " << style;
        }
    }
}

}  // namespace
