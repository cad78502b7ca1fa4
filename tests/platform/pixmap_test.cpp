// Pixmaps: the BMP, PNG and JPEG loaders, damage handling and saving.
#include "platform/pixmap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/image.h"
#include "platform/incbin.h"
#include "platform/test_files.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF,
                   kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

std::vector<uint32_t> Pixels(const PixmapPtr& pm) { return pm ? pm->pixels : std::vector<uint32_t>{}; }

PixmapPtr FromBytes(const std::vector<uint8_t>& b) { return LoadPixmapFromMemory(b.data(), b.size()); }

// A 3x2 picture whose top row is red, green, blue and bottom row white, magenta, black.
const std::vector<std::vector<uint32_t>> kRows = {{kRed, kGreen, kBlue}, {kWhite, kMagenta, kBlack}};
const std::vector<uint32_t> kFlat = {kRed, kGreen, kBlue, kWhite, kMagenta, kBlack};

}  // namespace

TEST(BmpLoader, TrueColourBottomUpAndTopDown) {
    for (bool top_down : {false, true}) {
        PixmapPtr pm = FromBytes(MakeBmp(24, kRows, {}, top_down));
        ASSERT_TRUE(pm) << top_down;
        EXPECT_EQ(pm->width, 3);
        EXPECT_EQ(pm->height, 2);
        EXPECT_EQ(Pixels(pm), kFlat) << top_down;
    }
}

TEST(BmpLoader, PaletteDepths) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const std::vector<std::vector<uint32_t>> indices = {{1, 2, 3, 0, 1}, {3, 3, 0, 2, 1}};
    const std::vector<uint32_t> expect = {kRed, kGreen, kBlue, kBlack, kRed, kBlue, kBlue, kBlack, kGreen, kRed};
    for (int bpp : {4, 8}) EXPECT_EQ(Pixels(FromBytes(MakeBmp(bpp, indices, palette))), expect) << bpp;
    // One bit: a 10-pixel row crosses a byte boundary.
    const std::vector<std::vector<uint32_t>> bits = {{1, 0, 1, 1, 0, 0, 0, 1, 1, 0}};
    PixmapPtr pm = FromBytes(MakeBmp(1, bits, {0x000000, 0xFFFFFF}));
    ASSERT_TRUE(pm);
    EXPECT_EQ(Pixels(pm),
              (std::vector<uint32_t>{kWhite, kBlack, kWhite, kWhite, kBlack, kBlack, kBlack, kWhite, kWhite, kBlack}));
    // An index past a short palette reads as opaque black, never past the data.
    PixmapPtr short_palette = FromBytes(MakeBmp(8, {{0, 7}}, {0xFF0000}));
    EXPECT_EQ(Pixels(short_palette), (std::vector<uint32_t>{kRed, kBlack}));
}

TEST(BmpLoader, ThirtyTwoBitsKeepAlphaUnlessItIsAllZero) {
    PixmapPtr with_alpha = FromBytes(MakeBmp(32, {{0x80FF0000, 0x00000000, 0xFF00FF00}}));
    EXPECT_EQ(Pixels(with_alpha), (std::vector<uint32_t>{0x80FF0000, 0x00000000, 0xFF00FF00}));
    PixmapPtr no_alpha = FromBytes(MakeBmp(32, {{0x00FF0000, 0x00000000}}));
    EXPECT_EQ(Pixels(no_alpha), (std::vector<uint32_t>{kRed, kBlack}));
}

TEST(BmpLoader, OtherHeaderKinds) {
    // The old 12-byte header: 16-bit sides, 3-byte palette entries.
    std::vector<uint8_t> core(14 + 12 + 2 * 3 + 4, 0);
    core[0] = 'B';
    core[1] = 'M';
    PutLE(core, 10, 14 + 12 + 6, 4);
    PutLE(core, 14, 12, 4);
    PutLE(core, 18, 3, 2);  // width
    PutLE(core, 20, 1, 2);  // height
    PutLE(core, 22, 1, 2);
    PutLE(core, 24, 1, 2);         // one bit
    PutLE(core, 26, 0x0000FF, 3);  // index 0: blue
    PutLE(core, 29, 0x00FF00, 3);  // index 1: green
    core[32] = 0x40;               // 0 1 0
    EXPECT_EQ(Pixels(FromBytes(core)), (std::vector<uint32_t>{kBlue, kGreen, kBlue}));

    // 32 bits with colour masks after a 40-byte header, here R G B X from the top byte down.
    std::vector<uint8_t> fields = MakeBmp(32, {{0xFF0000FF, 0x00FF00FF}});
    fields.insert(fields.begin() + 54, 12, 0);
    PutLE(fields, 10, 54 + 12, 4);
    PutLE(fields, 30, 3, 4);
    PutLE(fields, 54, 0xFF000000, 4);
    PutLE(fields, 58, 0x00FF0000, 4);
    PutLE(fields, 62, 0x0000FF00, 4);
    EXPECT_EQ(Pixels(FromBytes(fields)), (std::vector<uint32_t>{kRed, kGreen}));
    PutLE(fields, 58, 0x00F0F000, 4);  // a mask with a gap is damage
    EXPECT_EQ(FromBytes(fields), nullptr);

    // A 124-byte header whose alpha mask is used.
    std::vector<uint8_t> v5 = MakeBmp(32, {{0x80112233, 0xFF445566}});
    v5.insert(v5.begin() + 54, 124 - 40, 0);
    PutLE(v5, 10, 14 + 124, 4);
    PutLE(v5, 14, 124, 4);
    PutLE(v5, 30, 3, 4);
    PutLE(v5, 54, 0x00FF0000, 4);
    PutLE(v5, 58, 0x0000FF00, 4);
    PutLE(v5, 62, 0x000000FF, 4);
    PutLE(v5, 66, 0xFF000000, 4);
    EXPECT_EQ(Pixels(FromBytes(v5)), (std::vector<uint32_t>{0x80112233, 0xFF445566}));
}

TEST(BmpLoader, DamagedHeadersAreRefused) {
    const std::vector<uint8_t> good = MakeBmp(8, {{1, 2}, {3, 0}}, {0, 0xFF0000, 0xFF00, 0xFF});
    ASSERT_TRUE(FromBytes(good));
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
    };
    const Case cases[] = {
        {"header size", 14, 20, 4},
        {"huge header size", 14, 0x7FFFFFFF, 4},
        {"zero width", 18, 0, 4},
        {"negative width", 18, 0xFFFFFFFE, 4},
        {"width above the limit", 18, kMaxPixmapSide + 1, 4},
        {"zero height", 22, 0, 4},
        {"height above the limit", 22, kMaxPixmapSide + 1, 4},
        {"most negative height", 22, 0x80000000, 4},
        {"two planes", 26, 2, 2},
        {"16 bits", 28, 16, 2},
        {"zero bits", 28, 0, 2},
        {"run-length", 30, 1, 4},
        {"bit fields on 8 bits", 30, 3, 4},
        {"palette past the end", 46, 200, 4},
        {"pixels past the end", 10, 0x7FFFFFF0, 4},
        {"pixels inside the header", 10, 20, 4},
        {"width past the data", 18, 40, 4},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        PutLE(bad, c.at, c.value, c.bytes);
        EXPECT_EQ(FromBytes(bad), nullptr) << c.what;
    }
    // Every cut that loses pixel bytes is refused.
    for (size_t len = 0; len < good.size() - 2; len++)
        EXPECT_EQ(LoadPixmapFromMemory(good.data(), len), nullptr) << "cut at " << len;
}

TEST(BmpLoader, MagentaBecomesTransparentUnderAMagentaMask) {
    ScratchDir dir;
    ASSERT_TRUE(WriteBytes(dir / "pic.bmp", MakeBmp(24, kRows)));
    SetMaskColor(255, 0, 255);
    ImagePtr masked = LoadImage(dir / "pic.bmp", MASKEDIMAGE);
    ImagePtr plain = LoadImage(dir / "pic.bmp", 0);
    SetMaskColor(0, 0, 0);
    ImagePtr black_masked = LoadImage(dir / "pic.bmp");  // -1: masked and filtered
    ASSERT_TRUE(masked && plain && black_masked);
    EXPECT_EQ(masked->frames[0]->pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue, kWhite, 0, kBlack}));
    EXPECT_EQ(plain->frames[0]->pixels, kFlat);  // every pixel kept, alpha 255
    EXPECT_EQ(black_masked->frames[0]->pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue, kWhite, kMagenta, 0}));
}

TEST(PngLoader, SavedAlphaComesBack) {
    ScratchDir dir;
    TPixmap pm(4, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++) pm.WritePixel(x, y, (uint32_t)(x * 80) << 24 | (uint32_t)(y * 100) << 16 | 0x1234);
    for (int level : {0, 9}) {
        const std::string path = dir / ("a" + std::to_string(level) + ".png");
        ASSERT_TRUE(SavePixmapPNG(pm, path, level));
        PixmapPtr back = LoadPixmap(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 4);
        EXPECT_EQ(back->height, 3);
        EXPECT_EQ(back->pixels, pm.pixels) << level;
    }
    // Alpha survives an unmasked image load; a masked load only clears mask-colour pixels.
    SetMaskColor(0, 0, 0);
    ImagePtr image = LoadImage(dir / "a0.png", FILTEREDIMAGE);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->frames[0]->pixels, pm.pixels);
    EXPECT_FALSE(SavePixmapPNG(pm, dir / "missing/a.png"));
    EXPECT_FALSE(SavePixmapPNG(TPixmap(), dir / "empty.png"));
}

TEST(JpegLoader, SavedPictureLoadsOpaque) {
    ScratchDir dir;
    TPixmap pm(16, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++) pm.WritePixel(x, y, x < 8 ? 0x40C81E28 : 0xFF1E28C8);
    ASSERT_TRUE(SavePixmapJPEG(pm, dir / "a.jpg", 95));
    PixmapPtr back = LoadPixmap(dir / "a.jpg");
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 16);
    ASSERT_EQ(back->height, 8);
    for (auto [x, y, r, g, b] : {std::array<int, 5>{2, 3, 200, 30, 40}, {13, 4, 30, 40, 200}}) {
        uint32_t p = back->ReadPixel(x, y);
        EXPECT_EQ(p >> 24, 255u);
        EXPECT_NEAR((int)(p >> 16 & 255), r, 8);
        EXPECT_NEAR((int)(p >> 8 & 255), g, 8);
        EXPECT_NEAR((int)(p & 255), b, 8);
    }
}

TEST(PixmapLoader, StreamsBuiltInsAndUnknownBytes) {
    const std::vector<uint8_t> bmp = MakeBmp(24, kRows);
    static std::vector<uint8_t> kept;  // built-in bytes must outlive the program
    kept = bmp;
    IncbinRegister("tests/pic.bmp", kept.data(), kept.size());
    EXPECT_EQ(Pixels(LoadPixmap("incbin::tests/pic.bmp")), kFlat);
    auto stream = CreateBankStream(std::make_shared<Bank>(bmp.data(), bmp.size()));
    EXPECT_EQ(Pixels(LoadPixmap(*stream)), kFlat);
    EXPECT_EQ(LoadPixmap("incbin::tests/none.bmp"), nullptr);
    EXPECT_EQ(LoadPixmap("/no/such/file.png"), nullptr);
    const uint8_t text[] = "just some text, not a picture";
    EXPECT_EQ(LoadPixmapFromMemory(text, sizeof text), nullptr);
    EXPECT_EQ(LoadPixmapFromMemory(nullptr, 100), nullptr);
}

TEST(Pixmap, WindowsAndClearing) {
    TPixmap pm(3, 2);
    pm.pixels = kFlat;
    PixmapPtr w = PixmapWindow(pm, 1, -1, 3, 2);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->pixels, (std::vector<uint32_t>{0, 0, 0, kGreen, kBlue, 0}));
    ClearPixels(*w, 7);
    EXPECT_EQ(w->pixels, std::vector<uint32_t>(6, 7));
    EXPECT_EQ(CreatePixmap(0, 5), nullptr);
    EXPECT_EQ(CreatePixmap(5, kMaxPixmapSide + 1), nullptr);
    EXPECT_EQ(pm.ReadPixel(-1, 0), 0u);
    EXPECT_EQ(pm.ReadPixel(3, 0), 0u);
    pm.WritePixel(0, 2, 1);  // outside: ignored
    EXPECT_EQ(pm.pixels, kFlat);
}
