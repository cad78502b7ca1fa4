// Generated game assets: every catalogued image and sound file is present and
// loads as the game loads it, strips cut into the right cells, and the images
// whose geometry the game relies on have it. Reads the tree that the build
// writes into the build folder (the test runs there) and the built-in images
// compiled into the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/incbin.h"

namespace {

enum Mask { kBlack, kMagenta };

struct ImageCase {
    std::string path;
    Mask mask;
    int cell_w = 0, cell_h = 0, cells = 0;   // strips; 0 for single images
};

// The image files the game loads from gfx/, with the mask colour in force when
// it loads them and the cells it cuts them into: the catalogue's own listing,
// and the terrain textures, which the texturer loads by name.
std::vector<ImageCase> CatalogueImages() {
    std::vector<ImageCase> v;
    for (const CatalogueFile& f : catalogue_files()) {
        if (f.kind != CatalogueFile::IMAGE && f.kind != CatalogueFile::ANIM) continue;
        if (f.path.rfind("gfx/", 0) != 0) continue;   // built-in images: BuiltinImagesHaveTheirSizes
        bool black = f.mask_r == 0 && f.mask_g == 0 && f.mask_b == 0;
        bool magenta = f.mask_r == 255 && f.mask_g == 0 && f.mask_b == 255;
        EXPECT_TRUE(black || magenta) << f.path << " loads under another mask colour";
        v.push_back({f.path, black ? kBlack : kMagenta, f.cell_w, f.cell_h, f.kind == CatalogueFile::ANIM ? f.cells : 0});
    }
    for (const char* t : {"rock", "earth", "sand", "desertrock", "desert", "blackrock", "black", "snowrock", "snow",
                          "snowsand", "mars"})
        v.push_back({std::string("gfx/textures/tex_") + t + ".bmp", kMagenta});
    return v;
}

// The sound files the game loads, by name under sfx/.
std::vector<std::string> CatalogueSounds() {
    std::vector<std::string> v;
    for (const CatalogueFile& f : catalogue_files())
        if (f.kind == CatalogueFile::SOUND && f.path.rfind("sfx/", 0) == 0) v.push_back(f.path.substr(4));
    return v;
}

struct BuiltinCase {
    std::string name;
    int w, h;
};

// The built-in images and their sizes, in the order the game registers them.
std::vector<BuiltinCase> Builtins() {
    std::vector<BuiltinCase> v = {{"playercol.bmp", 32, 32}, {"coldot1.bmp", 1, 1},   {"coldot2.bmp", 2, 2},
                                  {"coldot3.bmp", 3, 3},     {"coldot4.bmp", 4, 4},   {"coldot5.bmp", 5, 5},
                                  {"coldot10.bmp", 10, 10},  {"coldot20.bmp", 20, 20}, {"coldot30.bmp", 30, 30},
                                  {"supply.bmp", 20, 16},    {"mine.bmp", 11, 6},     {"beartrap0.bmp", 15, 11},
                                  {"beartrap1.bmp", 15, 11}, {"medikit.bmp", 20, 16}};
    const int branches[12][2] = {{48, 58}, {17, 37}, {40, 38}, {25, 46}, {19, 35}, {13, 14},
                                 {17, 19}, {12, 30}, {13, 37}, {20, 53}, {26, 67}, {33, 58}};
    for (int i = 0; i < 12; i++) v.push_back({"terrain/branches" + std::to_string(i) + ".bmp", branches[i][0], branches[i][1]});
    const int rocks[9][2] = {{50, 50}, {35, 47}, {125, 51}, {101, 79}, {42, 36}, {30, 23}, {26, 30}, {35, 20}, {30, 20}};
    for (int i = 0; i < 9; i++) v.push_back({"terrain/rock" + std::to_string(i) + ".bmp", rocks[i][0], rocks[i][1]});
    v.insert(v.end(), {{"terrain/bar_h.bmp", 100, 10}, {"terrain/bar_v.bmp", 10, 100}, {"terrain/bar_c.bmp", 10, 10},
                       {"terrain/bar_d1.bmp", 77, 77}, {"terrain/bar_d2.bmp", 77, 77}});
    const int tiles[17][2] = {{10, 30}, {14, 6},  {100, 100}, {100, 100}, {100, 100}, {100, 100}, {100, 100}, {100, 5}, {5, 100},
                              {100, 100}, {100, 100}, {30, 10}, {30, 10}, {30, 10}, {10, 30}, {10, 30}, {10, 30}};
    for (int n = 0; n < 17; n++) {
        char name[32];
        std::snprintf(name, sizeof name, "tiles/%03d.bmp", n);
        v.push_back({name, tiles[n][0], tiles[n][1]});
    }
    return v;
}

class AssetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const IncbinFile* f = incbin_builtin_files; f->name; f++) IncbinRegister(f->name, f->data, f->size);
    }
    void TearDown() override {
        SetMaskColor(0, 0, 0);
        AutoMidHandle(false);
    }
    static ImagePtr Load(const std::string& path, Mask mask, int flags = -1) {
        mask == kBlack ? SetMaskColor(0, 0, 0) : SetMaskColor(255, 0, 255);
        return LoadImage(path, flags);
    }
};

int Alpha(const PixmapPtr& pm, int x, int y) { return (int)(pm->ReadPixel(x, y) >> 24); }

// Mean absolute colour step between column x0 and column x1 of a picture.
double ColumnStep(const PixmapPtr& pm, int x0, int x1) {
    double sum = 0;
    for (int y = 0; y < pm->height; y++) {
        uint32_t a = pm->ReadPixel(x0, y), b = pm->ReadPixel(x1, y);
        for (int s = 0; s < 32; s += 8) sum += std::abs((int)((a >> s) & 255) - (int)((b >> s) & 255));
    }
    return sum / pm->height;
}

double RowStep(const PixmapPtr& pm, int y0, int y1) {
    double sum = 0;
    for (int x = 0; x < pm->width; x++) {
        uint32_t a = pm->ReadPixel(x, y0), b = pm->ReadPixel(x, y1);
        for (int s = 0; s < 32; s += 8) sum += std::abs((int)((a >> s) & 255) - (int)((b >> s) & 255));
    }
    return sum / pm->width;
}

}  // namespace

TEST_F(AssetsTest, EveryCatalogueImageLoadsWithItsCells) {
    for (const ImageCase& c : CatalogueImages()) {
        SCOPED_TRACE(c.path);
        if (c.cells == 0) {
            ImagePtr image = Load(c.path, c.mask);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->Frames(), 1);
            EXPECT_GT(ImageWidth(image), 0);
            continue;
        }
        c.mask == kBlack ? SetMaskColor(0, 0, 0) : SetMaskColor(255, 0, 255);
        ImagePtr image = LoadAnimImage(c.path, c.cell_w, c.cell_h, 0, c.cells);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Frames(), c.cells);
        EXPECT_EQ(ImageWidth(image), c.cell_w);
        EXPECT_EQ(ImageHeight(image), c.cell_h);
        // Exactly that many cells: the strip holds no further cell.
        EXPECT_FALSE(LoadAnimImage(c.path, c.cell_w, c.cell_h, 0, c.cells + 1));
    }
}

TEST_F(AssetsTest, ListingCarriesTheLoadState) {
    // Spot checks of what the image test above takes from the catalogue.
    std::vector<ImageCase> all = CatalogueImages();
    auto find = [&](const std::string& path) {
        for (const ImageCase& c : all)
            if (c.path == path) return c;
        ADD_FAILURE() << path << " is not listed";
        return ImageCase{};
    };
    EXPECT_EQ(find("gfx/backgradient.bmp").mask, kBlack);
    EXPECT_EQ(find("gfx/splatter/meat18.bmp").mask, kBlack);
    EXPECT_EQ(find("gfx/bullet.bmp").mask, kMagenta);
    ImageCase strip = find("gfx/players/accessory_head.bmp");
    EXPECT_EQ(strip.cell_w, 32);
    EXPECT_EQ(strip.cell_h, 40);
    EXPECT_EQ(strip.cells, 38);
    EXPECT_EQ(find("gfx/water_animation.png").cells, 8);
}

TEST_F(AssetsTest, EveryCatalogueSoundLoads) {
    for (const std::string& name : CatalogueSounds()) {
        SCOPED_TRACE(name);
        SoundPtr s = LoadSound("sfx/" + name);
        ASSERT_TRUE(s);
        EXPECT_GT(SoundLength(s), 10);
        EXPECT_LT(SoundLength(s), 25000);
    }
    // The title tunes are loops of some length, not blips.
    for (int i = 1; i <= 4; i++) EXPECT_GE(SoundLength(LoadSound("sfx/title" + std::to_string(i) + ".ogg")), 8000);
}

TEST_F(AssetsTest, FontsAreShippedWithTheirLicence) {
    for (const char* f : {"gfx/font_main.ttf", "gfx/font_button.ttf", "gfx/LICENSE-fonts.txt"}) {
        EXPECT_EQ(FileType(f), FILETYPE_FILE) << f;
        EXPECT_GT(FileSize(f), 1000) << f;
    }
}

TEST_F(AssetsTest, BuiltinImagesHaveTheirSizes) {
    int count = 0;
    for (const IncbinFile* f = incbin_builtin_files; f->name; f++) count++;
    std::vector<BuiltinCase> all = Builtins();
    EXPECT_EQ(count, (int)all.size());
    for (const BuiltinCase& b : all) {
        SCOPED_TRACE(b.name);
        ImagePtr image = Load(std::string(kIncbinPrefix) + "incgfx/" + b.name, kMagenta);
        ASSERT_TRUE(image);
        EXPECT_EQ(ImageWidth(image), b.w);
        EXPECT_EQ(ImageHeight(image), b.h);
    }
}

TEST_F(AssetsTest, PlayerCollisionShapeIsTheRectangle) {
    ImagePtr image = Load("incbin::incgfx/playercol.bmp", kMagenta);
    ASSERT_TRUE(image);
    PixmapPtr pm = LockImage(image);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            bool inside = x >= 9 && x <= 22 && y >= 4 && y <= 27;
            EXPECT_EQ(Alpha(pm, x, y), inside ? 255 : 0) << x << "," << y;
        }
}

TEST_F(AssetsTest, SolidPiecesHaveNoTransparentPixel) {
    for (const char* name : {"coldot1.bmp", "coldot2.bmp", "coldot3.bmp", "coldot4.bmp", "coldot5.bmp", "coldot10.bmp",
                             "coldot20.bmp", "coldot30.bmp", "terrain/bar_h.bmp", "terrain/bar_v.bmp", "terrain/bar_c.bmp"}) {
        SCOPED_TRACE(name);
        ImagePtr image = Load(std::string("incbin::incgfx/") + name, kMagenta);
        ASSERT_TRUE(image);
        PixmapPtr pm = LockImage(image);
        int transparent = 0;
        for (int y = 0; y < pm->height; y++)
            for (int x = 0; x < pm->width; x++) transparent += Alpha(pm, x, y) != 255;
        EXPECT_EQ(transparent, 0);
    }
}

TEST_F(AssetsTest, CratersAreDiscsOfTheirDiameter) {
    for (int d : {25, 50, 75, 100, 125, 150, 175, 200}) {
        SCOPED_TRACE(d);
        ImagePtr image = Load("gfx/modifiers/crater" + std::to_string(d) + ".png", kMagenta, DYNAMICIMAGE);
        ASSERT_TRUE(image);
        ASSERT_EQ(ImageWidth(image), d);
        ASSERT_EQ(ImageHeight(image), d);
        PixmapPtr pm = LockImage(image);
        // Strong in the middle, nothing in the corners outside the disc.
        EXPECT_GT(Alpha(pm, d / 2, d / 2), 128);
        for (int x : {0, d - 1})
            for (int y : {0, d - 1}) EXPECT_EQ(Alpha(pm, x, y), 0);
    }
}

TEST_F(AssetsTest, StampSizesCoverWhatTheTexturerSamples) {
    struct Case {
        const char* path;
        int min_w, min_h;
    };
    for (auto c : {Case{"gfx/modifiers/grass.png", 200, 35}, {"gfx/modifiers/desertgrass.png", 200, 35},
                   {"gfx/modifiers/snowgrass.png", 200, 35}, {"gfx/modifiers/nograss.png", 200, 35},
                   {"gfx/modifiers/bottomshade.png", 100, 25}, {"gfx/modifiers/blood25_0.png", 25, 25},
                   {"gfx/modifiers/blood50_0.png", 50, 50}, {"gfx/modifiers/blood75_0.png", 75, 75},
                   {"gfx/healthbar.bmp", 100, 1}, {"gfx/gui_input.png", 300, 1}}) {
        ImagePtr image = Load(c.path, kMagenta, DYNAMICIMAGE);
        ASSERT_TRUE(image) << c.path;
        EXPECT_GE(ImageWidth(image), c.min_w) << c.path;
        EXPECT_GE(ImageHeight(image), c.min_h) << c.path;
    }
    // The bars are scaled as if exactly 100 pixels wide, the strips tile every 200.
    EXPECT_EQ(ImageWidth(Load("gfx/healthbar.bmp", kMagenta)), 100);
    EXPECT_EQ(ImageWidth(Load("gfx/modifiers/grass.png", kMagenta)), 200);
}

TEST_F(AssetsTest, TexturesAndCloudsTileWithoutSeams) {
    std::vector<std::string> paths = {"gfx/clouds.png", "gfx/modifiers/grass.png"};
    for (const char* t : {"rock", "earth", "sand", "desertrock", "desert", "blackrock", "black", "snowrock", "snow",
                          "snowsand", "mars"})
        paths.push_back(std::string("gfx/textures/tex_") + t + ".bmp");
    for (const std::string& p : paths) {
        SCOPED_TRACE(p);
        ImagePtr image = Load(p, kMagenta, DYNAMICIMAGE);
        ASSERT_TRUE(image);
        PixmapPtr pm = LockImage(image);
        int w = pm->width, h = pm->height;
        // The step across the wrap is no bigger than a typical step inside.
        double inside_x = (ColumnStep(pm, w / 2 - 1, w / 2) + ColumnStep(pm, w / 4 - 1, w / 4) + ColumnStep(pm, 1, 2)) / 3;
        EXPECT_LE(ColumnStep(pm, w - 1, 0), inside_x * 2.5 + 2);
        if (p.find("grass") != std::string::npos) continue;   // strips tile across only
        double inside_y = (RowStep(pm, h / 2 - 1, h / 2) + RowStep(pm, h / 4 - 1, h / 4) + RowStep(pm, 1, 2)) / 3;
        EXPECT_LE(RowStep(pm, h - 1, 0), inside_y * 2.5 + 2);
    }
}

TEST_F(AssetsTest, CloudLayersKeepTheirCopiesApart) {
    // The sky draws the cloud image three times at one horizontal phase, the
    // far layers 300 and 650 pixels lower; wrapped by the image height, each
    // pair of copies must stay a screen's half apart or they stack into columns.
    ImagePtr clouds = Load("gfx/clouds.png", kBlack, DYNAMICIMAGE);
    ASSERT_TRUE(clouds);
    int h = ImageHeight(clouds);
    for (int d : {300, 650, 350}) {
        int m = d % h;
        EXPECT_GE(std::min(m, h - m), 300) << d << " apart on an image " << h << " tall";
    }
    EXPECT_GE(ImageWidth(clouds), 1024);   // no repeat across screens up to that wide
}

TEST_F(AssetsTest, MaskColoursMatchTheLoadOrder) {
    // Loaded under black: the sky is fully opaque, the meat chunks have black surroundings.
    PixmapPtr sky = LockImage(Load("gfx/backgradient.bmp", kBlack));
    ASSERT_TRUE(sky);
    EXPECT_EQ(sky->width, 640);
    EXPECT_EQ(sky->height, 480);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7) ASSERT_EQ(Alpha(sky, x, y), 255) << x << "," << y;
    for (int i = 0; i < 19; i++) {
        PixmapPtr meat = LockImage(Load("gfx/splatter/meat" + std::to_string(i) + ".bmp", kBlack));
        ASSERT_TRUE(meat);
        EXPECT_EQ(Alpha(meat, 0, 0), 0) << i;
        EXPECT_EQ(Alpha(meat, 16, 16), 255) << i;
    }
    // Loaded under magenta: fighters stand on transparent ground; glows have none.
    PixmapPtr body = LockImage(Load("gfx/players/player.bmp", kMagenta));
    ASSERT_TRUE(body);
    EXPECT_EQ(Alpha(body, 0, 0), 0);
    EXPECT_EQ(Alpha(body, 16, 12), 255);
    PixmapPtr flare = LockImage(Load("gfx/flare1.bmp", kMagenta));
    ASSERT_TRUE(flare);
    EXPECT_EQ(Alpha(flare, 0, 0), 255);
}

TEST_F(AssetsTest, FighterStaysInsideItsCollisionShape) {
    // Standing and walking, the fighter keeps to the columns of its collision
    // rectangle (a pixel of outline either side at most) and stands on its
    // bottom rows, so it is hit where it is seen.
    PixmapPtr strip = LockImage(Load("gfx/players/player.bmp", kMagenta));
    ASSERT_TRUE(strip);
    for (int f = 0; f <= 2; f++) {
        int minx = 99, maxx = -1, maxy = -1;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (Alpha(strip, f * 32 + x, y) == 255) {
                    minx = std::min(minx, x);
                    maxx = std::max(maxx, x);
                    maxy = std::max(maxy, y);
                }
        EXPECT_GE(minx, 8) << "frame " << f;
        EXPECT_LE(maxx, 23) << "frame " << f;
        EXPECT_GE(maxy, 26) << "frame " << f;
        EXPECT_LE(maxy, 29) << "frame " << f;
    }
}
