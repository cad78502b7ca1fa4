// Background images: loading from the map's path, and the limits on paths
// and pictures that packs from other machines name.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "support/bmp_bytes.h"
#include "terrain/background.h"
#include "terrain/tiles.h"

namespace {

namespace fs = std::filesystem;

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A PNG signature and IHDR claiming w x h, and nothing behind it.
std::vector<uint8_t> png_header(uint32_t w, uint32_t h) {
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8) b.push_back((uint8_t)(v >> s));
    for (int i = 0; i < 9; ++i) b.push_back(i == 0 ? 8 : i == 1 ? 6 : 0);
    return b;
}

std::vector<uint8_t> file_bytes(const std::string& path) {
    BankPtr b = LoadBank(path);
    return b ? b->Bytes() : std::vector<uint8_t>{};
}

class Background : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("bg_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "maps/bg");
        here_ = CurrentDir();
        ChangeDir(dir_.string());
        PixmapPtr p = CreatePixmap(40, 30);
        ClearPixels(*p, 0xFF3060A0u);
        SavePixmapPNG(*p, "maps/bg/sky.png");
        SavePixmapJPEG(*p, "maps/bg/sky.jpg");
        map_setup(3, 3, 1);
    }
    void TearDown() override {
        ChangeDir(here_);
        fs::remove_all(dir_);
        map_bg = nullptr;
        map_bg_path = "";
    }
    fs::path dir_;
    std::string here_;
};

TEST_F(Background, LoadsFromThePathWithItsHandleTopLeft) {
    AutoMidHandle(true);
    map_bg_path = "maps/bg/sky.png";
    map_bg_transparency = 3;
    map_bg_align = 4;
    map_bg_load();
    AutoMidHandle(false);
    ASSERT_TRUE(map_bg);
    EXPECT_EQ(ImageWidth(map_bg), 40);
    EXPECT_EQ(map_bg->handle_x, 0);
    EXPECT_EQ(map_bg->handle_y, 0);
    EXPECT_EQ(map_bg_transparency, 3);   // the drawing settings stay as they are
    EXPECT_EQ(map_bg_align, 4);
    for (const char* none : {"", "0", "maps/bg", "maps/bg/missing.png", "maps/bg/../bg"}) {
        map_bg = CreateImage(2, 2);
        map_bg_path = none;
        map_bg_load();
        EXPECT_FALSE(map_bg) << none;
    }
    write_bytes("maps/bg/junk.png", {1, 2, 3, 4});
    map_bg_path = "maps/bg/junk.png";
    map_bg_load();
    EXPECT_FALSE(map_bg);
}

TEST_F(Background, PathsFromOtherMachinesMustStayInsideTheGameFolder) {
    struct Case {
        const char* path;
        bool ok;
    };
    for (Case c : {Case{"maps/bg/sky.png", true}, {"sky.png", true}, {"maps\\bg\\sky.png", true}, {"a/.../b", true},
                   {"..foo/x.png", true}, {"/etc/passwd", false}, {"\\server\\x.png", false}, {"../x.png", false},
                   {"maps/../../x.png", false}, {"maps\\..\\x.png", false}, {"maps/..", false}, {"..", false},
                   {"C:/x.png", false}, {"incbin::incgfx/x.bmp", false}, {"", false}, {"a\nb", false}})
        EXPECT_EQ(map_bg_path_ok(c.path), c.ok) << c.path;

    std::string absolute = (dir_ / "maps/bg/sky.png").string();
    map_bg_path = absolute;
    map_bg_load(1);
    EXPECT_FALSE(map_bg);
    map_bg_load(0);   // the editor stores absolute paths: local packs keep them
    EXPECT_TRUE(map_bg);
    map_bg_path = "maps/bg/sky.jpg";
    map_bg_load(1);
    EXPECT_TRUE(map_bg);
    map_bg_path = "maps/bg/../bg/sky.png";
    map_bg_load(1);
    EXPECT_FALSE(map_bg);
}

TEST_F(Background, OversizedPicturesFromOtherMachinesAreRefusedBeforeDecoding) {
    // Headers that claim too much: refused from their first bytes.
    write_bytes("maps/bg/wide.png", png_header(20000, 10));
    write_bytes("maps/bg/many.png", png_header(5000, 5000));
    for (const char* p : {"maps/bg/wide.png", "maps/bg/many.png"}) {
        map_bg_path = p;
        map_bg_load(1);
        EXPECT_FALSE(map_bg) << p;
    }
    // A real picture wider than the limit loads locally but not from outside.
    PixmapPtr strip = CreatePixmap(kBgMaxSide + 1, 2);
    ClearPixels(*strip, 0xFF808080u);
    SavePixmapPNG(*strip, "maps/bg/strip.png");
    map_bg_path = "maps/bg/strip.png";
    map_bg_load(1);
    EXPECT_FALSE(map_bg);
    map_bg_load(0);
    EXPECT_TRUE(map_bg);
    // A file beyond the byte limit, whatever it holds.
    fs::copy_file("maps/bg/sky.png", "maps/bg/big.png");
    fs::resize_file("maps/bg/big.png", (uintmax_t)kBgMaxFileBytes + 1);
    map_bg_path = "maps/bg/big.png";
    map_bg_load(1);
    EXPECT_FALSE(map_bg);
}

TEST_F(Background, HeaderProbeReadsTheSizeOfEachFormat) {
    PixmapPtr p = CreatePixmap(123, 45);
    ClearPixels(*p, 0xFF102030u);
    SavePixmapPNG(*p, "p.png");
    SavePixmapJPEG(*p, "p.jpg");
    // A 24-bit BMP with a 40-byte header, stored top-down (negative height).
    std::vector<uint8_t> bmp = MakeBmp(24, {{0, 0, 0}, {0, 0, 0}}, {}, true);
    write_bytes("p.bmp", bmp);
    struct Case {
        const char* file;
        int w, h;
    };
    for (Case c : {Case{"p.png", 123, 45}, {"p.jpg", 123, 45}, {"p.bmp", 3, 2}}) {
        std::vector<uint8_t> b = file_bytes(c.file);
        int w = 0, h = 0;
        EXPECT_TRUE(map_bg_probe_size(b.data(), b.size(), w, h)) << c.file;
        EXPECT_EQ(w, c.w) << c.file;
        EXPECT_EQ(h, c.h) << c.file;
        // Cut short, the header says nothing.
        EXPECT_FALSE(map_bg_probe_size(b.data(), 3, w, h)) << c.file;
    }
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    int w, h;
    EXPECT_FALSE(map_bg_probe_size(text.data(), text.size(), w, h));
}

}  // namespace
