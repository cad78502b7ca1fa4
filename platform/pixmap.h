// Pixmaps: CPU pixel buffers of 32-bit ARGB words (alpha in bits 24-31, red
// 16-23, green 8-15, blue 0-7), with the image file loaders and PNG saving.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

class TPixmap {
public:
    TPixmap() = default;
    TPixmap(int width, int height);   // all pixels 0 (transparent black)

    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;     // row-major, width * height words

    // Outside the pixmap ReadPixel gives 0 and WritePixel does nothing.
    uint32_t ReadPixel(int x, int y) const {
        return (unsigned)x < (unsigned)width && (unsigned)y < (unsigned)height ? pixels[(size_t)y * width + x] : 0;
    }
    void WritePixel(int x, int y, uint32_t argb) {
        if ((unsigned)x < (unsigned)width && (unsigned)y < (unsigned)height) pixels[(size_t)y * width + x] = argb;
    }
    uint32_t* Row(int y) { return pixels.data() + (size_t)y * width; }
    const uint32_t* Row(int y) const { return pixels.data() + (size_t)y * width; }
};

using PixmapPtr = std::shared_ptr<TPixmap>;

// Null when a side is below 1 or above kMaxPixmapSide (declared below).
PixmapPtr CreatePixmap(int width, int height);
PixmapPtr CopyPixmap(const TPixmap& pixmap);
// A width x height window of a pixmap; parts outside it are transparent.
PixmapPtr PixmapWindow(const TPixmap& pixmap, int x, int y, int width, int height);
// Sets every pixel to argb.
void ClearPixels(TPixmap& pixmap, uint32_t argb);

// Loads BMP (1, 4, 8, 24 and 32 bits, uncompressed), PNG and JPEG, told apart
// by their first bytes. Files without alpha load with alpha 255. Null when the
// file is missing, damaged or not an image; never reads past the data.
PixmapPtr LoadPixmap(const std::string& path);
PixmapPtr LoadPixmap(Stream& stream);
PixmapPtr LoadPixmapFromMemory(const uint8_t* data, size_t size);
// Width and height from the header of a BMP, PNG or JPEG file, read by the
// same decoders that load it, without decoding a pixel: what loading would
// make, so sizes can be checked before the costly part. False when the header
// is damaged or the data is no image; sizes may exceed kMaxPixmapSide.
bool ProbePixmapSize(const uint8_t* data, size_t size, int& width, int& height);
// The largest side a loader accepts; bigger images are refused as damaged.
inline constexpr int kMaxPixmapSide = 32768;

// Saves as PNG with alpha (level 0..9). False on failure. Like every save,
// the file is written beside path and renamed over it only when complete.
bool SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int level = 5);
// Saves as baseline JPEG (quality 1..100, alpha dropped). False on failure.
bool SavePixmapJPEG(const TPixmap& pixmap, const std::string& path, int quality = 90);
