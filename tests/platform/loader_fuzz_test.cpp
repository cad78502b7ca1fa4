// Loader robustness: random bytes, cut files and damaged files never crash
// the image loaders, and whatever loads is a consistent pixmap.
#include <gtest/gtest.h>

#include <random>

#include "platform/pixmap.h"
#include "platform/test_files.h"

namespace {

// A loader result is either null or a pixmap whose pixels match its sides.
void ExpectSound(const std::vector<uint8_t>& bytes, const std::string& what) {
    PixmapPtr pm = LoadPixmapFromMemory(bytes.data(), bytes.size());
    if (!pm) return;
    EXPECT_GE(pm->width, 1) << what;
    EXPECT_GE(pm->height, 1) << what;
    EXPECT_LE(pm->width, kMaxPixmapSide) << what;
    EXPECT_LE(pm->height, kMaxPixmapSide) << what;
    EXPECT_EQ(pm->pixels.size(), (size_t)pm->width * pm->height) << what;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Recomputes every chunk checksum so that damage reaches the decoder
// instead of stopping at the checksum test.
void FixPngChecksums(std::vector<uint8_t>& png) {
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t len = (uint32_t)png[at] << 24 | (uint32_t)png[at + 1] << 16 | (uint32_t)png[at + 2] << 8 | png[at + 3];
        if (len > png.size() - at - 12) break;
        uint32_t crc = Crc32(png.data() + at + 4, len + 4);
        for (int i = 0; i < 4; i++) png[at + 8 + len + i] = (uint8_t)(crc >> (24 - 8 * i));
        at += 12 + len;
    }
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    BankPtr bank = LoadBank(path);
    return bank ? bank->Bytes() : std::vector<uint8_t>{};
}

struct Sample {
    std::string name;
    std::vector<uint8_t> bytes;
    bool png;
};

std::vector<Sample> ValidFiles() {
    std::vector<Sample> files;
    std::vector<std::vector<uint32_t>> rows(5, std::vector<uint32_t>(7));
    std::vector<std::vector<uint32_t>> indices(5, std::vector<uint32_t>(7));
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 7; x++) {
            rows[y][x] = (uint32_t)(x * 30) << 24 | (uint32_t)(y * 50) << 16 | (uint32_t)(x * y) << 8 | 77;
            indices[y][x] = (uint32_t)(x + y) % 16;
        }
    std::vector<uint32_t> palette(16);
    for (int i = 0; i < 16; i++) palette[i] = (uint32_t)i * 0x0F0F0F;
    files.push_back({"bmp24", MakeBmp(24, rows), false});
    files.push_back({"bmp32", MakeBmp(32, rows, {}, true), false});
    files.push_back({"bmp8", MakeBmp(8, indices, palette), false});
    files.push_back({"bmp4", MakeBmp(4, indices, palette, true), false});
    files.push_back({"bmp1", MakeBmp(1, indices, {0, 0xFFFFFF}), false});
    ScratchDir dir;
    TPixmap pm(7, 5);
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 7; x++) pm.WritePixel(x, y, rows[y][x]);
    SavePixmapPNG(pm, dir / "a.png", 9);
    SavePixmapJPEG(pm, dir / "a.jpg", 80);
    files.push_back({"png", FileBytes(dir / "a.png"), true});
    files.push_back({"jpeg", FileBytes(dir / "a.jpg"), false});
    return files;
}

}  // namespace

TEST(LoaderFuzz, EveryCutOfAValidFileIsHandled) {
    for (const Sample& s : ValidFiles()) {
        ASSERT_GT(s.bytes.size(), 20u) << s.name;
        ASSERT_TRUE(LoadPixmapFromMemory(s.bytes.data(), s.bytes.size())) << s.name;
        for (size_t len = 0; len < s.bytes.size(); len++)
            ExpectSound(std::vector<uint8_t>(s.bytes.begin(), s.bytes.begin() + len),
                        s.name + " cut at " + std::to_string(len));
    }
}

TEST(LoaderFuzz, DamagedBytesAreHandled) {
    std::mt19937 rng(2024);
    auto pick = [&](size_t lo, size_t hi) { return std::uniform_int_distribution<size_t>(lo, hi)(rng); };
    for (const Sample& s : ValidFiles()) {
        for (int trial = 0; trial < 1500; trial++) {
            std::vector<uint8_t> bytes = s.bytes;
            // Half of the damage goes into the headers, where the sizes live.
            size_t flips = pick(1, 6);
            for (size_t i = 0; i < flips; i++) {
                size_t at = pick(0, 1) ? pick(0, std::min<size_t>(bytes.size() - 1, 70)) : pick(0, bytes.size() - 1);
                bytes[at] = pick(0, 1) ? (uint8_t)pick(0, 255) : (uint8_t)(bytes[at] ^ (1u << pick(0, 7)));
            }
            if (pick(0, 3) == 0) bytes.resize(pick(0, bytes.size()));
            if (s.png) FixPngChecksums(bytes);
            ExpectSound(bytes, s.name + " trial " + std::to_string(trial));
        }
    }
}

TEST(LoaderFuzz, RandomBytesBehindEachSignature) {
    std::mt19937 rng(77);
    const std::vector<std::vector<uint8_t>> signatures = {
        {'B', 'M'}, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, {0xFF, 0xD8, 0xFF}, {}};
    for (const auto& sig : signatures)
        for (int trial = 0; trial < 500; trial++) {
            std::vector<uint8_t> bytes = sig;
            size_t extra = std::uniform_int_distribution<size_t>(0, 600)(rng);
            for (size_t i = 0; i < extra; i++) bytes.push_back((uint8_t)rng());
            ExpectSound(bytes, "signature of " + std::to_string(sig.size()) + " trial " + std::to_string(trial));
        }
}

TEST(LoaderFuzz, HeadersClaimingHugePicturesAreRefusedCheaply) {
    // A valid PNG whose header claims 30000 x 30000 pixels: refused without
    // trying to allocate 3.6 GB for a file of a few hundred bytes.
    ScratchDir dir;
    TPixmap pm(7, 5);
    ASSERT_TRUE(SavePixmapPNG(pm, dir / "a.png"));
    std::vector<uint8_t> png = FileBytes(dir / "a.png");
    for (int i = 0; i < 2; i++) {
        png[16 + 4 * i] = 0;
        png[17 + 4 * i] = 0;
        png[18 + 4 * i] = 30000 >> 8;
        png[19 + 4 * i] = 30000 & 255;
    }
    FixPngChecksums(png);
    EXPECT_EQ(LoadPixmapFromMemory(png.data(), png.size()), nullptr);
    // The same for JPEG: the frame header's sides follow the SOF0 marker.
    ASSERT_TRUE(SavePixmapJPEG(pm, dir / "a.jpg"));
    std::vector<uint8_t> jpg = FileBytes(dir / "a.jpg");
    for (size_t at = 2; at + 9 < jpg.size(); at++)
        if (jpg[at] == 0xFF && jpg[at + 1] == 0xC0) {
            jpg[at + 5] = 30000 >> 8;
            jpg[at + 6] = 30000 & 255;
            jpg[at + 7] = 30000 >> 8;
            jpg[at + 8] = 30000 & 255;
            break;
        }
    EXPECT_EQ(LoadPixmapFromMemory(jpg.data(), jpg.size()), nullptr);
}
