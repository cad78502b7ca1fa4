// Drawing into a real OpenGL window: placement, colours, blend modes,
// mirroring, tiling, reopening at another size and screen grabs, checked on
// the pixels read back from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/image.h"

namespace {
const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kW = 320, kH = 240;
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A new image of the given size whose pixel (x, y) is paint(x, y).
template <class Paint>
ImagePtr MakeImage(int w, int h, float hx, float hy, Paint paint) {
    ImagePtr image = CreateImage(w, h, 1, 0);
    PixmapPtr pixels = LockImage(image);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pixels->WritePixel(x, y, paint(x, y));
    UnlockImage(image);
    SetImageHandle(image, hx, hy);
    return image;
}

uint32_t Rgb(const PixmapPtr& screen, int x, int y) { return screen->ReadPixel(x, y) & 0xFFFFFF; }

::testing::AssertionResult Near(const PixmapPtr& screen, int x, int y, int r, int g, int b, int tolerance = 2) {
    uint32_t p = screen->ReadPixel(x, y);
    int pr = p >> 16 & 255, pg = p >> 8 & 255, pb = p & 255;
    if (std::abs(pr - r) <= tolerance && std::abs(pg - g) <= tolerance && std::abs(pb - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << pr << ", " << pg << ", " << pb
                                         << "), expected (" << r << ", " << g << ", " << b << ")";
}

class ScreenDraw : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!GraphicsWindowOpen() || GraphicsWidth() != kW || GraphicsHeight() != kH) {
            ASSERT_TRUE(Graphics(kW, kH, 0)) << "no OpenGL window";
        }
        ASSERT_TRUE(GraphicsWindowOpen());
        SetTransform(0, 1, 1);
        SetColor(255, 255, 255);
        SetAlpha(1);
        SetBlend(ALPHABLEND);
        SetOrigin(0, 0);
        SetViewport(0, 0, kW, kH);
        SetClsColor(0, 0, 40);
        Cls();
    }
    static PixmapPtr Screen() { return GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()); }
};

TEST_F(ScreenDraw, SceneLandsPixelExact) {
    // Red left half, blue right half; handle (2, 3) drawn at (50, 60).
    ImagePtr halves = MakeImage(8, 8, 2, 3, [](int x, int) { return x < 4 ? kRed : kBlue; });
    DrawImage(halves, 50, 60);
    SetColor(128, 255, 255);  // the colour multiplies the image
    DrawImage(halves, 70, 60);
    SetColor(255, 255, 255);
    // Quarter turn clockwise about the handle (0, 0): local (x, y) goes to (-y, x).
    ImagePtr bar = MakeImage(4, 2, 0, 0, [](int x, int) { return x == 0 ? kRed : kBlue; });
    SetRotation(90);
    DrawImage(bar, 200, 50);
    SetRotation(0);
    SetColor(0, 255, 0);
    DrawRect(100, 20, 30, 10);
    DrawLine(250, 100, 260, 100);
    Plot(300, 10);
    SetColor(255, 255, 0);
    DrawOval(150, 150, 40, 30);
    SetColor(255, 128, 0);
    DrawPoly({200, 200, 240, 200, 220, 230});
    FontPtr font = LoadImageFont(kFont, 20, SMOOTHFONT);
    ASSERT_TRUE(font);
    SetImageFont(font);
    SetColor(255, 255, 255);
    DrawText("Grombat", 10, 150);

    PixmapPtr screen = Screen();
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_draw.png"));   // into the build folder, the tests' working folder
    const uint32_t bg = 0x000028;
    struct Case {
        int x, y;
        uint32_t rgb;
    };
    for (Case c :
         {Case{48, 57, 0xFF0000}, {51, 57, 0xFF0000},   {52, 57, 0x0000FF},   {55, 64, 0x0000FF}, {47, 57, bg},
          {48, 56, bg},           {56, 60, bg},         {50, 65, bg},  // image edges
          {68, 57, 0x800000},     {72, 57, 0x0000FF},                  // tinted copy
          {198, 50, 0xFF0000},    {199, 50, 0xFF0000},  {198, 53, 0x0000FF},  {200, 50, bg},      {198, 54, bg},
          {100, 20, 0x00FF00},    {129, 29, 0x00FF00},  {130, 29, bg},        {100, 30, bg},      {99, 20, bg},
          {250, 100, 0x00FF00},   {260, 100, 0x00FF00}, {261, 100, bg},       {250, 101, bg},     {300, 10, 0x00FF00},
          {301, 10, bg},          {299, 10, bg},        {170, 165, 0xFFFF00}, {150, 150, bg},     {189, 179, bg},
          {220, 205, 0xFF8000},   {200, 229, bg}})
        EXPECT_EQ(Rgb(screen, c.x, c.y), c.rgb) << "at (" << c.x << ", " << c.y << ")";

    // The text's top edge is at y = 150: ink below it, none in the rows above.
    int tw = TextWidth("Grombat"), th = TextHeight("Grombat");
    int ink = 0, above = 0;
    for (int y = 140; y < 150 + th; y++)
        for (int x = 10; x < 10 + tw; x++)
            if (Rgb(screen, x, y) != bg) (y < 150 ? above : ink)++;
    EXPECT_GT(ink, tw * 2);
    EXPECT_EQ(above, 0);
}

TEST_F(ScreenDraw, BlendModesMixWithTheScreen) {
    ImagePtr white = MakeImage(4, 4, 0, 0, [](int, int) { return kWhite; });
    // Left pixel alpha 100, right pixel alpha 200: mask blending keeps only the right one.
    ImagePtr half = MakeImage(2, 1, 0, 0, [](int x, int) { return x == 0 ? 0x64FF0000u : 0xC8FF0000u; });
    SetBlend(SOLIDBLEND);
    SetColor(100, 100, 100);
    DrawRect(0, 0, kW, kH);
    struct Case {
        int blend, r, g, b;
        float alpha;
        int er, eg, eb;
    };
    const Case cases[] = {
        {ALPHABLEND, 200, 0, 0, 0.5f, 150, 50, 50},     // source over destination by alpha
        {LIGHTBLEND, 100, 50, 0, 0.5f, 150, 125, 100},  // source times alpha added
        {SHADEBLEND, 128, 255, 0, 1, 50, 100, 0},       // destination times source
        {SOLIDBLEND, 10, 20, 30, 0.25f, 10, 20, 30},    // alpha ignored
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        SetBlend(cases[i].blend);
        SetColor(cases[i].r, cases[i].g, cases[i].b);
        SetAlpha(cases[i].alpha);
        DrawImage(white, 10 + 10 * (float)i, 10);
    }
    SetBlend(MASKBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(half, 100, 10);

    PixmapPtr screen = Screen();
    for (size_t i = 0; i < std::size(cases); i++)
        EXPECT_TRUE(Near(screen, 11 + 10 * (int)i, 11, cases[i].er, cases[i].eg, cases[i].eb)) << "case " << i;
    EXPECT_TRUE(Near(screen, 100, 10, 100, 100, 100, 0));
    EXPECT_TRUE(Near(screen, 101, 10, 255, 0, 0, 0));
}

TEST_F(ScreenDraw, NegativeScaleMirrorsAboutTheHandle) {
    ImagePtr bar = MakeImage(4, 2, 0, 0, [](int x, int y) { return x == 0 && y == 0 ? kRed : kBlue; });
    SetScale(-1, 1);
    DrawImage(bar, 100, 50);  // covers x 96..99, the red corner at x 99
    SetScale(1, -1);
    DrawImage(bar, 150, 50);  // covers y 48..49, the red corner at y 49
    SetScale(2, 3);
    SetImageHandle(bar, 1, 1);
    DrawImage(bar, 200, 100);  // covers x 198..205, y 97..102
    PixmapPtr screen = Screen();
    const uint32_t bg = 0x000028;
    struct Case {
        int x, y;
        uint32_t rgb;
    };
    for (Case c : {Case{99, 50, 0xFF0000},
                   {96, 50, 0x0000FF},
                   {96, 51, 0x0000FF},
                   {100, 50, bg},
                   {95, 50, bg},
                   {150, 49, 0xFF0000},
                   {150, 48, 0x0000FF},
                   {150, 50, bg},
                   {150, 47, bg},
                   {198, 97, 0xFF0000},
                   {199, 99, 0xFF0000},
                   {200, 97, 0x0000FF},
                   {205, 102, 0x0000FF},
                   {206, 102, bg},
                   {198, 103, bg},
                   {197, 97, bg}})
        EXPECT_EQ(Rgb(screen, c.x, c.y), c.rgb) << "at (" << c.x << ", " << c.y << ")";
}

TEST_F(ScreenDraw, TileImageCoversTheViewportAtNaturalSize) {
    ImagePtr tile = MakeImage(16, 16, 2, 3, [](int x, int) { return x < 8 ? kRed : kGreen; });
    const int vx = 20, vy = 30, vw = 100, vh = 50;
    SetViewport(vx, vy, vw, vh);
    SetTransform(45, 3, 3);  // tiling ignores both
    TileImage(tile, 5, 7);   // a copy's corner at (3, 4)
    SetTransform(0, 1, 1);
    SetViewport(0, 0, kW, kH);
    PixmapPtr screen = Screen();
    int wrong = 0;
    for (int y = vy - 1; y <= vy + vh; y++) {
        for (int x = vx - 1; x <= vx + vw; x++) {
            bool inside = x >= vx && x < vx + vw && y >= vy && y < vy + vh;
            uint32_t want = !inside ? 0x000028 : ((x - 3) % 16 < 8 ? 0xFF0000 : 0x00FF00);
            if (Rgb(screen, x, y) != want) wrong++;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(ScreenDraw, TileImageFarAwayStillCoversTheViewport) {
    // Positions so far out that float grid arithmetic once put the first copy
    // beyond the screen (nothing drawn) or at a spot where adding the tile
    // width no longer moved it (the call never returned).
    ImagePtr tile = MakeImage(20, 20, 0, 0, [](int x, int) { return x < 10 ? kRed : kGreen; });
    for (float x : {1.08042168e10f, 1.73296963e19f, -1.73296963e19f}) {
        Cls();
        TileImage(tile, x, 0);
        PixmapPtr screen = Screen();
        // Floats this large are whole numbers; the grid phase is exact.
        const int phase = (int)std::fmod(std::fmod((double)x, 20.0) + 20.0, 20.0);
        int wrong = 0;
        for (int y = 0; y < kH; y += 7)
            for (int c = 0; c < kW; c++)
                if (Rgb(screen, c, y) != (((c - phase) % 20 + 20) % 20 < 10 ? 0xFF0000u : 0x00FF00u)) wrong++;
        EXPECT_EQ(wrong, 0) << "x " << x;
    }
}

TEST_F(ScreenDraw, ViewportsFarOffTheScreenClipEverything) {
    SetClsColor(0, 255, 0);
    for (int y : {INT_MAX - 5, INT_MIN}) {
        SetViewport(0, y, kW, 100);
        Cls();
        DrawRect(0, 0, kW, kH);
    }
    SetViewport(0, 0, kW, kH);
    PixmapPtr screen = Screen();
    EXPECT_EQ(std::count(screen->pixels.begin(), screen->pixels.end(), 0xFF000028u), kW * kH);
}

TEST_F(ScreenDraw, ReopeningAtAnotherSizeKeepsImages) {
    ImagePtr image = MakeImage(4, 4, 0, 0, [](int, int) { return kRed; });
    DrawImage(image, 10, 10);  // gets its texture in this context
    ASSERT_TRUE(Graphics(200, 150, 0));
    EXPECT_EQ(GraphicsWidth(), 200);
    SetClsColor(0, 0, 0);
    Cls();
    DrawImage(image, 190, 140);
    // Pixels written after the texture was made show on the next draw.
    LockImage(image)->WritePixel(3, 3, kGreen);
    UnlockImage(image);
    DrawImage(image, 0, 0);
    PixmapPtr screen = Screen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->width, 200);
    EXPECT_EQ(Rgb(screen, 190, 140), 0xFF0000u);
    EXPECT_EQ(Rgb(screen, 193, 143), 0xFF0000u);
    EXPECT_EQ(Rgb(screen, 194, 143), 0u);
    EXPECT_EQ(Rgb(screen, 3, 3), 0x00FF00u);
    EXPECT_EQ(Rgb(screen, 2, 2), 0xFF0000u);
}

TEST_F(ScreenDraw, GrabImageMakesTheMaskColourTransparent) {
    SetMaskColor(255, 0, 255);
    SetClsColor(0, 0, 0);
    Cls();
    SetColor(255, 0, 255);
    DrawRect(10, 10, 4, 8);
    SetColor(255, 0, 0);
    DrawRect(14, 10, 4, 8);
    ImagePtr grabbed = CreateImage(8, 8, 1, MASKEDIMAGE);
    SetImageHandle(grabbed, 0, 0);
    GrabImage(grabbed, 10, 10);
    ImagePtr edge = CreateImage(8, 8, 1, MASKEDIMAGE);
    GrabImage(edge, -4, 0);  // half off the screen

    PixmapPtr pixels = LockImage(grabbed);
    EXPECT_EQ(pixels->ReadPixel(0, 0), 0u);
    EXPECT_EQ(pixels->ReadPixel(3, 7), 0u);
    EXPECT_EQ(pixels->ReadPixel(4, 0), kRed);
    EXPECT_EQ(pixels->ReadPixel(7, 7), kRed);
    UnlockImage(grabbed);
    PixmapPtr edge_pixels = LockImage(edge);
    EXPECT_EQ(edge_pixels->ReadPixel(3, 0), 0u);
    EXPECT_EQ(edge_pixels->ReadPixel(4, 0), 0xFF000000u);
    UnlockImage(edge);

    // Drawn again, the mask-coloured part lets the background through.
    SetClsColor(0, 255, 0);
    Cls();
    SetColor(255, 255, 255);
    DrawImage(grabbed, 50, 50);
    PixmapPtr screen = Screen();
    EXPECT_EQ(Rgb(screen, 50, 50), 0x00FF00u);
    EXPECT_EQ(Rgb(screen, 54, 50), 0xFF0000u);
    SetMaskColor(0, 0, 0);
}

TEST_F(ScreenDraw, GrabsFarOffTheScreenComeOutEmpty) {
    // Corners near the int limits: nothing of the screen, and no overflow
    // while clipping.
    ImagePtr image = CreateImage(8, 8, 1, 0);
    for (auto [x, y] : {std::pair{INT_MAX - 3, 0}, {0, INT_MIN}, {INT_MIN, INT_MAX - 7}}) {
        ClearPixels(*LockImage(image), kRed);
        GrabImage(image, x, y);
        PixmapPtr pixels = LockImage(image);
        EXPECT_EQ(std::count(pixels->pixels.begin(), pixels->pixels.end(), 0u), 64) << x << ", " << y;
        PixmapPtr grabbed = GrabPixmap(x, y, 8, 8);
        ASSERT_TRUE(grabbed);
        EXPECT_EQ(std::count(grabbed->pixels.begin(), grabbed->pixels.end(), 0xFF000000u), 64) << x << ", " << y;
    }
}
}  // namespace
