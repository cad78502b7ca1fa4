// Images: load state, strips cut into frames, handles, locking and the texture hook.
#include "platform/image.h"

#include <gtest/gtest.h>

#include "platform/test_files.h"

namespace {

// Every test that changes the load state puts the start-up state back.
class ImageTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetMaskColor(0, 0, 0);
        AutoMidHandle(false);
        AutoImageFlags(MASKEDIMAGE | FILTEREDIMAGE);
    }
};

// A strip of `cells` cells of 32x32: cell k is filled with red k*20 and has
// one white pixel at (k, 31 - k) as its own mark.
PixmapPtr Strip(int cells, int per_row) {
    PixmapPtr pm = CreatePixmap(32 * per_row, 32 * ((cells + per_row - 1) / per_row));
    for (int k = 0; k < cells; k++) {
        int cx = k % per_row * 32, cy = k / per_row * 32;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) pm->WritePixel(cx + x, cy + y, 0xFF000000u | (uint32_t)(k * 20) << 16);
        pm->WritePixel(cx + k, cy + 31 - k, 0xFFFFFFFF);
    }
    return pm;
}

void ExpectCell(const ImagePtr& image, int frame, int k) {
    PixmapPtr f = LockImage(image, frame);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->width, 32);
    ASSERT_EQ(f->height, 32);
    EXPECT_EQ(f->ReadPixel(k, 31 - k), 0xFFFFFFFFu) << "frame " << frame;
    EXPECT_EQ(f->ReadPixel((k + 1) % 32, 0), 0xFF000000u | (uint32_t)(k * 20) << 16) << "frame " << frame;
}

}  // namespace

TEST_F(ImageTest, LoadStateAtStart) {
    int r = -1, g = -1, b = -1;
    GetMaskColor(r, g, b);
    EXPECT_EQ(r + g + b, 0);
    EXPECT_FALSE(AutoMidHandleOn());
    EXPECT_EQ(DefaultImageFlags(), MASKEDIMAGE | FILTEREDIMAGE);
    SetMaskColor(255, 0, 255);
    GetMaskColor(r, g, b);
    EXPECT_EQ(r * 1000000 + g * 1000 + b, 255000255);
}

TEST_F(ImageTest, StripOfTwelveCellsGivesTwelveFrames) {
    ScratchDir dir;
    ASSERT_TRUE(SavePixmapPNG(*Strip(12, 12), dir / "player.png"));
    SetMaskColor(255, 0, 255);
    AutoMidHandle(true);
    ImagePtr image = LoadAnimImage(dir / "player.png", 32, 32, 0, 12);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Frames(), 12);
    EXPECT_EQ(ImageWidth(image), 32);
    EXPECT_EQ(ImageHeight(image), 32);
    EXPECT_EQ(image->handle_x, 16);
    EXPECT_EQ(image->handle_y, 16);
    EXPECT_EQ(image->flags, MASKEDIMAGE | FILTEREDIMAGE);
    for (int k = 0; k < 12; k++) ExpectCell(image, k, k);
    EXPECT_EQ(image->textures, std::vector<unsigned>(12, 0));
    EXPECT_EQ(image->stale, std::vector<uint8_t>(12, 1));
}

TEST_F(ImageTest, GridCellsRunRowByRow) {
    PixmapPtr grid = Strip(12, 5);  // 5 cells a row, 3 rows; the last row holds two cells and three empty ones
    ImagePtr image = LoadAnimImage(grid, 32, 32, 3, 5, 0);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->Frames(), 5);
    for (int i = 0; i < 5; i++) ExpectCell(image, i, 3 + i);
    EXPECT_EQ(image->handle_x, 0);  // no centre handle unless asked
    EXPECT_TRUE(LoadAnimImage(grid, 32, 32, 14, 1, 0));
    EXPECT_EQ(LoadAnimImage(grid, 32, 32, 14, 2, 0), nullptr);  // only 15 cells
    EXPECT_EQ(LoadAnimImage(grid, 33, 32, 10, 3, 0), nullptr);  // 4 cells of 33 a row: 12
    EXPECT_EQ(LoadAnimImage(grid, 0, 32, 0, 1, 0), nullptr);
    EXPECT_EQ(LoadAnimImage(grid, 32, 32, -1, 1, 0), nullptr);
    EXPECT_EQ(LoadAnimImage(grid, 32, 32, 0, 0, 0), nullptr);
    EXPECT_EQ(LoadAnimImage(PixmapPtr(), 32, 32, 0, 1, 0), nullptr);
}

TEST_F(ImageTest, HandlesFollowTheLoadState) {
    AutoMidHandle(true);
    ImagePtr odd = CreateImage(33, 10);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->handle_x, 16.5f);
    EXPECT_EQ(odd->handle_y, 5);
    AutoMidHandle(false);
    ImagePtr plain = CreateImage(33, 10, 3);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->handle_x, 0);
    EXPECT_EQ(plain->Frames(), 3);
    EXPECT_EQ(plain->stale.size(), 3u);
    EXPECT_EQ(LockImage(plain, 2)->pixels, std::vector<uint32_t>(330, 0));
    SetImageHandle(plain, 4, 9);
    EXPECT_EQ(plain->handle_x, 4);
    EXPECT_EQ(plain->handle_y, 9);
    MidHandleImage(plain);
    EXPECT_EQ(plain->handle_x, 16.5f);
    SetImageHandle(nullptr, 1, 1);
    MidHandleImage(nullptr);
    EXPECT_EQ(ImageWidth(nullptr), 0);
    EXPECT_EQ(ImageHeight(nullptr), 0);
    EXPECT_EQ(CreateImage(0, 10), nullptr);
    EXPECT_EQ(CreateImage(10, 10, 0), nullptr);
}

TEST_F(ImageTest, LockGivesTheSamePixmapAndUnlockMarksStale) {
    ImagePtr image = CreateImage(4, 4, 2);
    ASSERT_TRUE(image);
    image->stale = {0, 0};
    PixmapPtr a = LockImage(image, 1);
    a->WritePixel(1, 1, 0xFF123456);
    EXPECT_EQ(LockImage(image, 1), a);
    EXPECT_EQ(LockImage(image, 1)->ReadPixel(1, 1), 0xFF123456u);
    UnlockImage(image, 1);
    EXPECT_EQ(image->stale, (std::vector<uint8_t>{0, 1}));
    EXPECT_EQ(LockImage(image, 2), nullptr);
    EXPECT_EQ(LockImage(image, -1), nullptr);
    EXPECT_EQ(LockImage(nullptr), nullptr);
    UnlockImage(image, 5);
    UnlockImage(nullptr);
}

TEST_F(ImageTest, PixmapLoadCopiesAndMasks) {
    PixmapPtr pm = CreatePixmap(2, 1);
    pm->pixels = {0xFFFF00FF, 0x80FF00FF};
    SetMaskColor(255, 0, 255);
    ImagePtr image = LoadImage(pm, MASKEDIMAGE | DYNAMICIMAGE);
    ASSERT_TRUE(image);
    // The mask compares colour only, whatever the alpha.
    EXPECT_EQ(image->frames[0]->pixels, (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(pm->pixels, (std::vector<uint32_t>{0xFFFF00FF, 0x80FF00FF}));
    EXPECT_EQ(image->flags, MASKEDIMAGE | DYNAMICIMAGE);
    AutoImageFlags(FILTEREDIMAGE);
    ImagePtr unmasked = LoadImage(pm);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->flags, FILTEREDIMAGE);
    EXPECT_EQ(unmasked->frames[0]->pixels, pm->pixels);
    EXPECT_EQ(LoadImage(PixmapPtr()), nullptr);
    EXPECT_EQ(LoadImage("/no/such/image.png"), nullptr);
}

namespace {
int g_released = 0;
const TImage* g_released_image = nullptr;
void CountRelease(TImage& image) {
    g_released++;
    g_released_image = &image;
}
}  // namespace

TEST_F(ImageTest, DyingImageCallsTheTextureHook) {
    auto saved = ImageTextureRelease;
    ImageTextureRelease = CountRelease;
    g_released = 0;
    ImagePtr image = CreateImage(2, 2);
    const TImage* raw = image.get();
    image.reset();
    ImageTextureRelease = saved;
    EXPECT_EQ(g_released, 1);
    EXPECT_EQ(g_released_image, raw);
}
