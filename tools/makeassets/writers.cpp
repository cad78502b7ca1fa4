// File output of the asset generator: 24-bit BMP of its own, PNG through the
// platform's pixmap saver, WAV and Ogg Vorbis through the platform's encoders.
#include <algorithm>
#include <cmath>

#include "platform/audio.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "tools/makeassets/assets.h"

namespace ma {
namespace {

int to8(float v) { return (int)std::lround(clamp01(v) * 255.0f); }

struct Rgb8 {
    int r, g, b, a;
};

// One pixel as it goes into the file, before any mask rule.
Rgb8 pixel8(const Canvas& c, int x, int y, Fmt fmt) {
    const float* p = &c.px[((size_t)y * c.w + x) * 4];
    if (fmt == Fmt::BmpFlat) return {to8(p[0]), to8(p[1]), to8(p[2]), 255};
    float a = p[3];
    if (a <= 0) return {0, 0, 0, 0};
    return {to8(p[0] / a), to8(p[1] / a), to8(p[2] / a), to8(a)};
}

// The 24-bit colour written for a pixel; the mask colour only where the
// picture is transparent, never by accident inside it.
void bmp_colour(Rgb8 p, Fmt fmt, int& r, int& g, int& b) {
    r = p.r;
    g = p.g;
    b = p.b;
    if (fmt == Fmt::BmpMagenta) {
        if (p.a < 128) {
            r = 255, g = 0, b = 255;
        } else if (r == 255 && g == 0 && b == 255) {
            r = 254;
        }
    } else if (fmt == Fmt::BmpBlack) {
        if (p.a < 128) {
            r = g = b = 0;
        } else if (r == 0 && g == 0 && b == 0) {
            r = g = b = 1;
        }
    } else if (fmt == Fmt::BmpFlat) {
        if (r == 255 && g == 0 && b == 255) r = 254;
    }
}

void put16(std::vector<uint8_t>& v, int x) {
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}

void put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; i++) v.push_back((x >> (8 * i)) & 255);
}

}  // namespace

bool save_bmp24(const Canvas& c, Fmt fmt, const std::string& path) {
    int row = (c.w * 3 + 3) & ~3;
    std::vector<uint8_t> v;
    v.reserve(54 + (size_t)row * c.h);
    v.push_back('B');
    v.push_back('M');
    put32(v, 54 + row * c.h);
    put32(v, 0);
    put32(v, 54);
    put32(v, 40);
    put32(v, (uint32_t)c.w);
    put32(v, (uint32_t)c.h);   // positive height: rows stored bottom-up
    put16(v, 1);
    put16(v, 24);
    put32(v, 0);
    put32(v, row * c.h);
    put32(v, 2835);
    put32(v, 2835);
    put32(v, 0);
    put32(v, 0);
    for (int y = c.h - 1; y >= 0; y--) {
        size_t start = v.size();
        for (int x = 0; x < c.w; x++) {
            int r, g, b;
            bmp_colour(pixel8(c, x, y, fmt), fmt, r, g, b);
            v.push_back(b);
            v.push_back(g);
            v.push_back(r);
        }
        while (v.size() - start < (size_t)row) v.push_back(0);
    }
    return SaveBank(Bank(v.data(), v.size()), path);
}

Canvas as_loaded(const Canvas& c, const ImageAsset& a) {
    Canvas out(c.w, c.h);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            Rgb8 p = pixel8(c, x, y, a.fmt);
            if (a.fmt == Fmt::Png) {
                out.set(x, y, {p.r / 255.0f, p.g / 255.0f, p.b / 255.0f, p.a / 255.0f});
                continue;
            }
            int r, g, b;
            bmp_colour(p, a.fmt, r, g, b);
            if (a.alphamask) {
                // The game keeps (r + g + b) / 3 as alpha and paints white.
                out.set(x, y, {1, 1, 1, ((r + g + b) / 3) / 255.0f});
            } else if ((a.fmt == Fmt::BmpMagenta && r == 255 && g == 0 && b == 255) ||
                       (a.fmt == Fmt::BmpBlack && r == 0 && g == 0 && b == 0)) {
                out.set(x, y, {});
            } else {
                out.set(x, y, {r / 255.0f, g / 255.0f, b / 255.0f, 1});
            }
        }
    return out;
}

bool save_image(const Canvas& c, const ImageAsset& a, const std::string& path) {
    if (a.fmt != Fmt::Png) return save_bmp24(c, a.fmt, path);
    TPixmap pm(c.w, c.h);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            Rgb8 p = pixel8(c, x, y, Fmt::Png);
            uint32_t argb = p.a == 0 ? 0u : ((uint32_t)p.a << 24 | (uint32_t)p.r << 16 | (uint32_t)p.g << 8 | (uint32_t)p.b);
            pm.WritePixel(x, y, argb);
        }
    // zlib's default level: 9 spent most of the run on the big sky image for
    // a few percent of file size.
    return SavePixmapPNG(pm, path, 6);
}

bool save_sound(const std::vector<float>& samples, const SoundAsset& s, const std::string& path) {
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); i++) {
        float v = std::clamp(samples[i], -1.0f, 1.0f);
        pcm[i] = (int16_t)std::lround(v * 32767.0f);
    }
    bool ogg = path.size() >= 4 && path.compare(path.size() - 4, 4, ".ogg") == 0;
    BankPtr bank = ogg ? EncodeSoundOgg(pcm, s.channels, s.rate, s.quality) : EncodeSoundWav(pcm, s.channels, s.rate);
    return bank && SaveBank(*bank, path);
}

}  // namespace ma
