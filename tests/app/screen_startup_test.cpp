// Start-up in a real window: the load screen shows its text in the TrueType
// font, smoothed, centred on the screen, and the spinning mark below it.
#include <gtest/gtest.h>

#include <set>

#include "app/startup.h"
#include "core/catalogue.h"
#include "core/core_fixture.h"
#include "core/graphics_setup.h"
#include "core/settings.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "support/fake_resources.h"
#include "support/temp_dir.h"

namespace {

TEST(ScreenStartup, LoadScreenTextIsSmoothTrueType) {
    TempDir dir;
    ASSERT_TRUE(fake::link_tree(dir.path()));
    ProgramSeams seams;
    StartupOptions options;
    options.change_dir = false;
    options.passes = 0;
    options.builtins = fake::builtins();
    settings_defaults();
    startup(options);
    ASSERT_TRUE(GraphicsWindowOpen());

    const std::string text = "Loading Graphics";
    loadscreen(text, 0);
    SetImageFont(font_main);
    int w = TextWidth(text), h = TextHeight(text);
    PixmapPtr screen = GrabPixmap(0, 0, 640, 480);
    ASSERT_TRUE(screen);

    // Inside the text's box: full white cores and smoothed edges of many
    // levels; elsewhere only the clear colour (100, 120, 150).
    const uint32_t clear = 0xFF647896u;
    int x0 = 320 - w / 2, y0 = 240;
    int white = 0, outside = 0;
    std::set<uint32_t> levels;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            uint32_t p = screen->ReadPixel(x, y);
            bool in_box = x >= x0 - 1 && x <= x0 + w + 3 && y >= y0 - 1 && y <= y0 + h + 3;
            if (!in_box) {
                outside += p != clear;
                continue;
            }
            if (p == 0xFFFFFFFFu) white++;
            if (p != clear && p != 0xFFFFFFFFu) levels.insert(p);
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(white, 20);
    EXPECT_GT(levels.size(), 20u) << "anti-aliased edges";

    // The spinning mark: the fake mark is grey, a half-transparent white.
    loadscreen("Checking Game Version", 1);
    screen = GrabPixmap(0, 0, 640, 480);
    uint32_t mark = screen->ReadPixel(320, 262);
    EXPECT_NE(mark, clear);
    EXPECT_GT(mark & 0xFF, 150u);
    EXPECT_LT(mark & 0xFF, 255u);
    catalogue_free();
}

}  // namespace
