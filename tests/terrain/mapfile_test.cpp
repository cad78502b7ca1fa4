// Map files: images as maps with their backgrounds found by name, map packs
// from files (damaged ones refused), saving and the PNG export.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "map_state.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/test_files.h"
#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/mapfile.h"
#include "terrain/pack.h"

namespace {

class MapFiles : public MapTest {
protected:
    ScratchDir dir;

    // A w x h PNG: opaque red with a blue pixel at (0, 0).
    std::string png(const std::string& name, int w, int h, uint32_t fill = 0xFFFF0000u) {
        auto p = CreatePixmap(w, h);
        ClearPixels(*p, fill);
        p->WritePixel(0, 0, 0xFF0000FFu);
        std::string path = dir / name;
        EXPECT_TRUE(SavePixmapPNG(*p, path, 1));
        return path;
    }
    std::string touch(const std::string& name) {
        std::string path = dir / name;
        Bank b(3);
        EXPECT_TRUE(SaveBank(b, path));
        return path;
    }
};

TEST_F(MapFiles, ImageSizesGiveTilesAndOffsets) {
    struct Case {
        int w, h, xt, yt, ox, oy;
    };
    for (auto c : {Case{350, 420, 4, 5, 25, 80}, {300, 300, 3, 3, 0, 0}, {301, 300, 4, 3, 49, 0}}) {
        std::string path = png("m.png", c.w, c.h);
        ASSERT_EQ(map_load(path), 1);
        EXPECT_EQ(map_xtiles, c.xt);
        EXPECT_EQ(map_ytiles, c.yt);
        EXPECT_EQ((uint32_t)map_getcolor(c.ox, c.oy), 0xFF0000FFu) << c.w << "x" << c.h;
        EXPECT_EQ((uint32_t)map_getcolor(c.ox + c.w - 1, c.oy + c.h - 1), 0xFFFF0000u);
        EXPECT_EQ(map_getcolor(c.ox + c.w, c.oy + c.h - 1), 0);
        if (c.ox > 0) {
            EXPECT_EQ(map_getcolor(c.ox - 1, c.oy), 0);
        }
        if (c.oy > 0) {
            EXPECT_EQ(map_getcolor(c.ox, c.oy - 1), 0);
        }
        EXPECT_EQ(map_type, "001|" + path);
        EXPECT_TRUE(map_bank == nullptr);   // image maps are packed by whoever needs it
    }
}

TEST_F(MapFiles, ImagesOutsideTheSizesLeaveTheMap) {
    map_generate(500, 400, 4, 0, 0);
    Tmap_spawn::add(5, 5, "{Mine}");
    const MapState before = MapState::now();
    struct Case {
        int w, h, result;
        const char* line;
    };
    for (auto c : {Case{299, 5000, -1, "' is too small (min 300x300 pixels)"},
                   {30001, 400, -2, "' is too large (max 30000x30000 pixels)"}}) {
        std::string path = png("big.png", c.w, c.h);
        in_console.clear();
        EXPECT_EQ(map_load(path), c.result);
        EXPECT_TRUE(console_has("Map image at '" + path + c.line));
        EXPECT_TRUE(MapState::now() == before);
    }
    // Only a header (the decoder's read stops at the first image data chunk),
    // claiming sizes no loader would take: refused by size, nothing decoded.
    for (uint32_t side : {40000u, 2000000000u}) {
        std::vector<uint8_t> head{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        for (uint32_t v : {side, 400u})
            for (int i = 3; i >= 0; --i) head.push_back((uint8_t)(v >> (8 * i)));
        head.insert(head.end(), {8, 6, 0, 0, 0});
        const uint32_t crc = (uint32_t)crc32(0, head.data() + 12, 17);
        for (int i = 3; i >= 0; --i) head.push_back((uint8_t)(crc >> (8 * i)));
        head.insert(head.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T'});
        ASSERT_TRUE(SaveBank(Bank(head.data(), head.size()), dir / "claim.png"));
        EXPECT_EQ(map_load(dir / "claim.png"), -2) << side;
    }
    std::string missing = dir / "missing.png";
    EXPECT_EQ(map_load(missing), 0);
    EXPECT_TRUE(console_has("Failed to load map image from '" + missing + "'"));
    EXPECT_TRUE(MapState::now() == before);
}

TEST_F(MapFiles, MaskColourAndAlphaDecideWhatIsGround) {
    // A BMP (no alpha): magenta is empty.
    std::vector<std::vector<uint32_t>> rows(300, std::vector<uint32_t>(300, 0xFF00FF00u));
    rows[299][0] = 0xFFFF00FFu;
    auto bmp = MakeBmp(24, rows);
    std::string path = dir / "m.bmp";
    ASSERT_TRUE(SaveBank(Bank(bmp.data(), bmp.size()), path));
    ASSERT_EQ(map_load(path), 1);
    EXPECT_EQ(map_getcolor(0, 299), 0);
    EXPECT_EQ((uint32_t)map_getcolor(1, 299), 0xFF00FF00u);

    // A PNG with alpha: ground only above 128, kept as it is.
    auto p = CreatePixmap(300, 300);
    p->WritePixel(10, 10, 0x80112233u);
    p->WritePixel(11, 10, 0x81112233u);
    ASSERT_TRUE(SavePixmapPNG(*p, dir / "a.png"));
    ASSERT_EQ(map_load(dir / "a.png"), 1);
    EXPECT_EQ(map_getcolor(10, 10), 0);
    EXPECT_EQ((uint32_t)map_getcolor(11, 10), 0x81112233u);
}

TEST_F(MapFiles, BackgroundFoundByName) {
    std::string hill = png("hill.png", 300, 300);
    touch("hill_bg.png");
    touch("hill background.jpg");
    map_bg_transparency = 5;
    map_bg_align = 2;
    ASSERT_EQ(map_load(hill), 1);
    EXPECT_EQ(map_bg_path, dir / "hill background.jpg");
    EXPECT_EQ(map_bg_transparency, 0);
    EXPECT_EQ(map_bg_render, 0);
    EXPECT_EQ(map_bg_align, 7);

    std::string dale = png("dale.png", 300, 300);
    touch("dale_bg.png");
    touch("dale_bg.bmp");
    ASSERT_EQ(map_load(dale), 1);
    EXPECT_EQ(map_bg_path, dir / "dale_bg.bmp");

    ASSERT_EQ(map_load(png("vale.png", 300, 300)), 1);
    EXPECT_EQ(map_bg_path, "");
}

TEST_F(MapFiles, OnlyLowerCaseGfmIsAPack) {
    map_generate(400, 300, 8, 0, 0);
    ASSERT_EQ(map_save(dir / "hill.gfm"), 1);
    ASSERT_TRUE(CopyFile(dir / "hill.gfm", dir / "hill.GFM"));
    in_console.clear();
    EXPECT_EQ(map_load(dir / "hill.GFM"), 0);
    EXPECT_TRUE(console_has("Failed to load map image from '" + dir / "hill.GFM" + "'"));
    EXPECT_EQ(map_load(dir / "hill.gfm"), 1);
    EXPECT_EQ(map_type, "003|8|0|0");
}

TEST_F(MapFiles, DamagedPackFilesLeaveMapAndBank) {
    map_generate(600, 300, 17, 0, 1);
    Tmap_spawn::add(40, 50, "{Medikit}");
    map_bg_path = "gfx/bg.png";
    ASSERT_EQ(map_save(dir / "good.gfm"), 1);
    BankPtr bank = map_bank;
    const MapState before = MapState::now();
    std::vector<uint8_t> good = LoadBank(dir / "good.gfm")->Bytes();

    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    files.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)});
    files.push_back({"garbage", std::vector<uint8_t>(300, 0xA5)});
    files.push_back({"empty", {}});
    {
        std::vector<uint8_t> raw = pack_bytes();
        raw[11] = raw[12] = raw[13] = 0xFF;   // spawn count 0x7FFFFF.. past the data
        raw[14] = 0x7F;
        BankPtr c = compressed(raw);
        files.push_back({"oversized count", c->Bytes()});
        std::vector<uint8_t> four_gb = good;
        four_gb[0] = four_gb[1] = four_gb[2] = four_gb[3] = 0xFF;
        files.push_back({"4 GB size", four_gb});
    }
    for (auto& f : files) {
        SCOPED_TRACE(f.first);
        std::string path = dir / (f.first + ".gfm");
        ASSERT_TRUE(SaveBank(Bank(f.second.data(), f.second.size()), path));
        EXPECT_EQ(map_load(path), 0);
        EXPECT_EQ(map_bank, bank);
        EXPECT_TRUE(MapState::now() == before);
    }
    EXPECT_EQ(map_load(dir / "nowhere.gfm"), 0);
    EXPECT_EQ(map_bank, bank);
}

TEST_F(MapFiles, ExportKeepsEveryChannel) {
    map_setup(4, 3, 1);
    map_rect(0, 200, 399, 99, (int)0xFF405060u);
    map_rect(150, 150, 0, 0, (int)0x7F010203u);
    ASSERT_EQ(map_saveimage(dir / "t.png"), 1);
    PixmapPtr p = LoadPixmap(dir / "t.png");
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 400);
    ASSERT_EQ(p->height, 300);
    size_t wrong = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) wrong += p->ReadPixel(x, y) != (uint32_t)map_getcolor(x, y);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(map_saveimage(dir / "no/such/folder/t.png"), 0);
}

}  // namespace
