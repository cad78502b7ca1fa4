// The map's background image: loaded from its path, or none.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/pixmap.h"
#include "terrain/background.h"
#include "terrain/tiles.h"

namespace {

TEST(Background, LoadsAnExistingImageWithItsHandleAtTheCorner) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "terrain_bg_test";
    std::filesystem::create_directories(dir);
    TPixmap pic(40, 30);
    for (auto& p : pic.pixels) p = 0xFF336699u;
    std::string file = (dir / "sky.png").string();
    ASSERT_TRUE(SavePixmapPNG(pic, file));

    map_bg_path = file;
    map_bg_render = 3;
    map_bg_load();
    ASSERT_NE(map_bg, nullptr);
    EXPECT_EQ(ImageWidth(map_bg), 40);
    EXPECT_EQ(ImageHeight(map_bg), 30);
    EXPECT_EQ(map_bg->handle_x, 0);
    EXPECT_EQ(map_bg->handle_y, 0);
    EXPECT_EQ(map_bg_render, 3);   // the drawing settings are not its business

    for (std::string path : {std::string(""), std::string("0"), dir.string(), (dir / "missing.png").string()}) {
        map_bg = CreateImage(2, 2, 1, -1);
        map_bg_path = path;
        map_bg_load();
        EXPECT_EQ(map_bg, nullptr) << path;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
