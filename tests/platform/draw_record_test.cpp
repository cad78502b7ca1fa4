// Drawing without a window: the call recorder sees every call with the state
// in force, and image fonts load and measure text.
#include <gtest/gtest.h>

#include "platform/draw.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/incbin.h"

namespace {
const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class DrawRecordTest : public ::testing::Test {
   protected:
    void SetUp() override {
        SetTransform(0, 1, 1);
        SetColor(255, 255, 255);
        SetAlpha(1);
        SetBlend(ALPHABLEND);
        SetImageFont(nullptr);
    }
    void TearDown() override {
        DrawRecord(false);
        SetUp();
    }
};

TEST_F(DrawRecordTest, HeadlessGraphicsKeepsTheSizeAndDrawsNothing) {
    GraphicsPtr g = Graphics(640, 480, 0);
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->headless);
    EXPECT_EQ(GraphicsWidth(), 640);
    EXPECT_FALSE(GraphicsWindowOpen());
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(GrabPixmap(0, 0, 10, 10), nullptr);
    Cls();
    Flip(1);
}

TEST_F(DrawRecordTest, RecorderCapturesCallsWithTheirState) {
    ImagePtr image = CreateImage(8, 4);
    ASSERT_TRUE(image);
    DrawRecord(true);
    SetColor(10, 20, 30);
    SetAlpha(0.5f);
    SetBlend(LIGHTBLEND);
    SetTransform(90, -1, 2);
    DrawImage(image, 3, 4, 0);
    SetTransform(0, 1, 1);
    SetBlend(ALPHABLEND);
    DrawRect(1, 2, 30, 40);
    DrawLine(0, 0, 5, 6);
    DrawPoly({0, 0, 10, 0, 5, 8});
    DrawText("hi", 7, 8);
    DrawRecord(false);
    DrawRect(0, 0, 1, 1);  // not recorded any more

    const std::vector<DrawCall>& calls = DrawRecorded();
    ASSERT_EQ(calls.size(), 5u);
    const DrawCall& img = calls[0];
    EXPECT_EQ(img.kind, DrawCall::IMAGE);
    EXPECT_EQ(img.image, image.get());
    EXPECT_EQ(img.x, 3);
    EXPECT_EQ(img.y, 4);
    EXPECT_EQ(img.w, 8);
    EXPECT_EQ(img.r, 10);
    EXPECT_EQ(img.b, 30);
    EXPECT_FLOAT_EQ(img.alpha, 0.5f);
    EXPECT_EQ(img.blend, LIGHTBLEND);
    EXPECT_FLOAT_EQ(img.rotation, 90);
    EXPECT_FLOAT_EQ(img.scale_x, -1);
    EXPECT_FLOAT_EQ(img.scale_y, 2);
    EXPECT_EQ(calls[1].kind, DrawCall::RECT);
    EXPECT_EQ(calls[1].h, 40);
    EXPECT_EQ(calls[1].blend, ALPHABLEND);
    EXPECT_FLOAT_EQ(calls[1].scale_x, 1);
    EXPECT_EQ(calls[2].kind, DrawCall::LINE);
    EXPECT_EQ(calls[2].w, 5);
    EXPECT_EQ(calls[2].h, 6);
    EXPECT_EQ(calls[3].kind, DrawCall::POLY);
    EXPECT_EQ(calls[3].points.size(), 6u);
    EXPECT_EQ(calls[4].kind, DrawCall::TEXT);
    EXPECT_EQ(calls[4].text, "hi");

    DrawRecord(true);
    EXPECT_TRUE(DrawRecorded().empty()) << "recording starts afresh";
}

TEST_F(DrawRecordTest, FontsMeasureWithoutAWindow) {
    EXPECT_EQ(LoadImageFont("no/such/font.ttf", 12), nullptr);
    EXPECT_EQ(TextWidth("abc"), 0) << "no font set";

    FontPtr font = LoadImageFont(kFont, 17, SMOOTHFONT);
    ASSERT_TRUE(font) << "needs fonts-dejavu-core";
    SetImageFont(font);
    EXPECT_EQ(GetImageFont(), font);
    int height = TextHeight("x");
    EXPECT_GE(height, 17);
    EXPECT_LE(height, 24);
    EXPECT_EQ(TextWidth(""), 0);
    // Widths add up character by character; "W" is wider than "i".
    EXPECT_EQ(TextWidth("Wi"), TextWidth("W") + TextWidth("i"));
    EXPECT_GT(TextWidth("W"), TextWidth("i"));
    EXPECT_GT(TextWidth("i"), 0);
    EXPECT_EQ(TextWidth("\x01\x02"), 0) << "control codes have no width";
    EXPECT_GT(TextWidth("\xE9"), 0) << "Latin-1 e acute";
    // A bigger size gives wider text; a mono font measures too.
    FontPtr big = LoadImageFont(kFont, 34, 0);
    ASSERT_TRUE(big);
    int small_width = TextWidth("Hello world");
    SetImageFont(big);
    int big_width = TextWidth("Hello world");
    EXPECT_GT(big_width, small_width * 3 / 2);
    EXPECT_LT(big_width, small_width * 5 / 2);
}

TEST_F(DrawRecordTest, FontsLoadThroughTheFileLayer) {
    // Built-in files and "\" separators work for fonts as for every other
    // file. The registry keeps a pointer to the bytes: they live on.
    static BankPtr bytes = LoadBank(kFont);
    ASSERT_TRUE(bytes) << "needs fonts-dejavu-core";
    IncbinRegister("tests/font.ttf", bytes->Buf(), bytes->Size());
    for (const char* path : {"incbin::tests/font.ttf", "incbin::tests\\font.ttf"}) {
        FontPtr font = LoadImageFont(path, 17, SMOOTHFONT);
        ASSERT_TRUE(font) << path;
        SetImageFont(font);
        EXPECT_GT(TextWidth("W"), 0) << path;
    }
    SetImageFont(nullptr);
}
}  // namespace
