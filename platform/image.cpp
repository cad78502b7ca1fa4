// Images: loading with the load state (mask colour, centre handle, default
// flags), frames cut from strips, pixel locking and pixel-exact collision.
//
// Each frame owns one pixmap for the life of the image; LockImage hands out
// that same pixmap every time, and the terrain keeps it and writes to it
// directly. Nothing here caches anything derived from the pixels, so every
// write is seen by the next collision test at once. textures and stale always
// have one entry per frame: a new frame has no texture and is stale.
#include "platform/image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

void (*ImageTextureRelease)(TImage& image) = nullptr;

TImage::~TImage() {
    if (ImageTextureRelease) ImageTextureRelease(*this);
}

namespace {

uint32_t s_mask_rgb = 0x000000;  // black until the program sets another
bool s_auto_mid_handle = false;
int s_default_flags = MASKEDIMAGE | FILTEREDIMAGE;

int ResolveFlags(int flags) { return flags == -1 ? s_default_flags : flags; }

void ApplyMask(TPixmap& pm, uint32_t rgb) {
    for (uint32_t& p : pm.pixels)
        if ((p & 0xFFFFFFu) == rgb) p = 0;
}

// Builds an image from frames of equal size that it may modify and keep.
ImagePtr MakeImage(std::vector<PixmapPtr> frames, int flags) {
    if (frames.empty() || !frames[0]) return nullptr;
    flags = ResolveFlags(flags);
    auto image = std::make_shared<TImage>();
    image->width = frames[0]->width;
    image->height = frames[0]->height;
    image->flags = flags;
    if (flags & MASKEDIMAGE)
        for (auto& f : frames) ApplyMask(*f, s_mask_rgb);
    image->textures.assign(frames.size(), 0);
    image->stale.assign(frames.size(), 1);
    image->frames = std::move(frames);
    if (s_auto_mid_handle) MidHandleImage(image);
    return image;
}

ImagePtr CutCells(const PixmapPtr& pm, int cell_w, int cell_h, int first, int count, int flags) {
    if (!pm || cell_w < 1 || cell_h < 1 || first < 0 || count < 1) return nullptr;
    // Cells run left to right, then row by row; a partial cell at the right or
    // bottom edge is not a cell.
    int64_t per_row = pm->width / cell_w, rows = pm->height / cell_h;
    if ((int64_t)first + count > per_row * rows) return nullptr;
    std::vector<PixmapPtr> frames;
    frames.reserve((size_t)count);
    for (int i = 0; i < count; i++) {
        int64_t cell = (int64_t)first + i;
        PixmapPtr f = PixmapWindow(*pm, (int)(cell % per_row * cell_w), (int)(cell / per_row * cell_h), cell_w, cell_h);
        if (!f) return nullptr;
        frames.push_back(std::move(f));
    }
    return MakeImage(std::move(frames), flags);
}

}  // namespace

// ---- Load state ----

void SetMaskColor(int r, int g, int b) {
    s_mask_rgb = (uint32_t)(r & 255) << 16 | (uint32_t)(g & 255) << 8 | (b & 255);
}

void GetMaskColor(int& r, int& g, int& b) {
    r = (int)(s_mask_rgb >> 16 & 255);
    g = (int)(s_mask_rgb >> 8 & 255);
    b = (int)(s_mask_rgb & 255);
}

void AutoMidHandle(bool on) { s_auto_mid_handle = on; }
bool AutoMidHandleOn() { return s_auto_mid_handle; }
void AutoImageFlags(int flags) { s_default_flags = flags; }
int DefaultImageFlags() { return s_default_flags; }

// ---- Loading and creating ----

ImagePtr LoadImage(const std::string& path, int flags) {
    PixmapPtr pm = LoadPixmap(path);
    return pm ? MakeImage({pm}, flags) : nullptr;
}

ImagePtr LoadImage(Stream& stream, int flags) {
    PixmapPtr pm = LoadPixmap(stream);
    return pm ? MakeImage({pm}, flags) : nullptr;
}

ImagePtr LoadImage(const PixmapPtr& pixmap, int flags) {
    // The caller keeps its pixmap unchanged; the image gets its own copy.
    if (!pixmap || pixmap->width < 1 || pixmap->height < 1) return nullptr;
    return MakeImage({CopyPixmap(*pixmap)}, flags);
}

ImagePtr LoadAnimImage(const std::string& path, int cell_w, int cell_h, int first, int count, int flags) {
    return CutCells(LoadPixmap(path), cell_w, cell_h, first, count, flags);
}

ImagePtr LoadAnimImage(Stream& stream, int cell_w, int cell_h, int first, int count, int flags) {
    return CutCells(LoadPixmap(stream), cell_w, cell_h, first, count, flags);
}

ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cell_w, int cell_h, int first, int count, int flags) {
    return CutCells(pixmap, cell_w, cell_h, first, count, flags);
}

ImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (frames < 1 || frames > 65536) return nullptr;
    std::vector<PixmapPtr> list;
    for (int i = 0; i < frames; i++) {
        PixmapPtr f = CreatePixmap(width, height);
        if (!f) return nullptr;
        list.push_back(std::move(f));
    }
    return MakeImage(std::move(list), flags);
}

// ---- Handles and pixel access ----

int ImageWidth(const ImagePtr& image) { return image ? image->width : 0; }
int ImageHeight(const ImagePtr& image) { return image ? image->height : 0; }

void SetImageHandle(const ImagePtr& image, float x, float y) {
    if (!image) return;
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const ImagePtr& image) {
    if (!image) return;
    image->handle_x = image->width * 0.5f;
    image->handle_y = image->height * 0.5f;
}

PixmapPtr LockImage(const ImagePtr& image, int frame, bool, bool) {
    if (!image || frame < 0 || frame >= image->Frames()) return nullptr;
    return image->frames[(size_t)frame];
}

void UnlockImage(const ImagePtr& image, int frame) {
    if (!image || frame < 0 || frame >= image->Frames()) return;
    if (image->stale.size() < image->frames.size()) image->stale.resize(image->frames.size(), 1);
    image->stale[(size_t)frame] = 1;
}

// ---- Collision ----
//
// Placement: an image drawn at (x, y) with handle (hx, hy), scale (sx, sy)
// and rotation r puts its local point p at
//     world = (x, y) + R(r) * ((p - (hx, hy)) scaled by (sx, sy)),
// with R(r) = [cos -sin; sin cos] in y-down coordinates (a positive angle
// turns clockwise on screen). Local pixel (i, j) is the square [i, i+1) x
// [j, j+1); it counts when its alpha is 128 or more.
//
// Sampling rule: the world is sampled at the centres (u + 0.5, v + 0.5) of
// its integer pixels. Each sample is mapped back into both images and lands
// in the local pixel (floor(lx), floor(ly)) (nearest pixel, no filtering);
// the images collide when some sample lands on a counted pixel of both.
// Unrotated, unscaled images whose corners lie on the same pixel grid (the
// usual case: integer positions and handles) simply compare the pixels that
// overlap; that is what the sampling rule gives for them, and it is done row
// against row without per-pixel arithmetic.

namespace {

constexpr uint32_t kSolidBit = 0x80000000u;  // alpha >= 128 <=> top bit set

// The frame's pixmap if it is sound enough to read.
const TPixmap* CollisionFrame(const ImagePtr& image, int frame) {
    if (!image || frame < 0 || frame >= image->Frames()) return nullptr;
    const TPixmap* pm = image->frames[(size_t)frame].get();
    if (!pm || pm->width < 1 || pm->height < 1 || pm->pixels.size() < (size_t)pm->width * pm->height) return nullptr;
    return pm;
}

// True when some pixel k < n is solid in both rows. Branch-free over the row,
// eight pixels a step in vector registers (SSE2 / NEON), then the rest.
bool RowsMeet(const uint32_t* ra, const uint32_t* rb, size_t n) {
    typedef uint32_t Vec4 __attribute__((vector_size(16)));
    Vec4 acc0 = {0, 0, 0, 0}, acc1 = {0, 0, 0, 0};
    size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        Vec4 a0, a1, b0, b1;
        std::memcpy(&a0, ra + k, 16);
        std::memcpy(&a1, ra + k + 4, 16);
        std::memcpy(&b0, rb + k, 16);
        std::memcpy(&b1, rb + k + 4, 16);
        acc0 |= a0 & b0;
        acc1 |= a1 & b1;
    }
    acc0 |= acc1;
    uint32_t both = acc0[0] | acc0[1] | acc0[2] | acc0[3];
    for (; k < n; k++) both |= ra[k] & rb[k];
    return both & kSolidBit;
}

// Same-grid overlap: b's pixel (i, j) lies on a's pixel (i + dx, j + dy).
bool CollideAligned(const TPixmap& a, const TPixmap& b, int64_t dx, int64_t dy) {
    const int64_t x0 = std::max<int64_t>(0, dx), x1 = std::min<int64_t>(a.width, dx + b.width);
    const int64_t y0 = std::max<int64_t>(0, dy), y1 = std::min<int64_t>(a.height, dy + b.height);
    if (x0 >= x1 || y0 >= y1) return false;
    const size_t n = (size_t)(x1 - x0);
    for (int64_t y = y0; y < y1; y++) {
        if (RowsMeet(a.Row((int)y) + x0, b.Row((int)(y - dy)) + (x0 - dx), n)) return true;
    }
    return false;
}

// Exact sine and cosine for multiples of 90 degrees, so quarter turns map
// pixel centres exactly.
void SinCos(double degrees, double& s, double& c) {
    double turns = degrees / 90.0;
    if (turns == std::floor(turns) && std::fabs(turns) < 1e9) {
        static const double kSin[4] = {0, 1, 0, -1};
        int q = (int)std::fmod(turns, 4.0);
        if (q < 0) q += 4;
        s = kSin[q];
        c = kSin[(q + 1) % 4];
        return;
    }
    double rad = degrees * (3.14159265358979323846 / 180.0);
    s = std::sin(rad);
    c = std::cos(rad);
}

// One image in the world: the inverse map world -> local and its bounds.
struct Placed {
    const TPixmap* pm;
    // local = (ox, oy) + wx * (xx, yx) + wy * (xy, yy)
    double ox, oy, xx, yx, xy, yy;
    double min_x, min_y, max_x, max_y;

    bool Place(const TPixmap* p, double x, double y, double hx, double hy, double rot, double sx, double sy) {
        pm = p;
        if (!(sx != 0 && sy != 0) || !std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(rot)) return false;
        double s, c;
        SinCos(rot, s, c);
        // Inverse of world = pos + R * S * (local - h): local = S^-1 * R^T * (world - pos) + h.
        xx = c / sx;
        xy = s / sx;
        yx = -s / sy;
        yy = c / sy;
        ox = hx - (xx * x + xy * y);
        oy = hy - (yx * x + yy * y);
        min_x = min_y = INFINITY;
        max_x = max_y = -INFINITY;
        const double corners[4][2] = {
            {0, 0}, {(double)p->width, 0}, {0, (double)p->height}, {(double)p->width, (double)p->height}};
        for (const auto& k : corners) {
            double u = (k[0] - hx) * sx, v = (k[1] - hy) * sy;
            double wx = x + c * u - s * v, wy = y + s * u + c * v;
            min_x = std::min(min_x, wx);
            max_x = std::max(max_x, wx);
            min_y = std::min(min_y, wy);
            max_y = std::max(max_y, wy);
        }
        return std::isfinite(min_x + max_x + min_y + max_y);
    }

    bool Solid(double lx, double ly) const {
        if (!(lx >= 0 && ly >= 0 && lx < pm->width && ly < pm->height)) return false;
        return pm->pixels[(size_t)ly * pm->width + (size_t)lx] & kSolidBit;
    }
};

// Samples beyond this many (only reachable with absurd scales) are not
// examined; such a test reports no collision rather than stall the game.
constexpr double kMaxSamples = 1 << 26;

// Narrows [lo, hi] to the world x where the local coordinate c + wx * d can
// lie in [0, limit). Only used to skip samples: Solid() stays the judge, so
// rounding here merely costs or saves a sample at the ends.
void ClipSpan(double c, double d, double limit, double& lo, double& hi) {
    if (d == 0) {
        if (!(c >= 0 && c < limit)) hi = -INFINITY;
        return;
    }
    double t0 = -c / d, t1 = (limit - c) / d;
    if (t0 > t1) std::swap(t0, t1);
    lo = std::max(lo, t0);
    hi = std::min(hi, t1);
}

bool CollideSampled(const Placed& a, const Placed& b) {
    double x0 = std::floor(std::max(a.min_x, b.min_x)), x1 = std::ceil(std::min(a.max_x, b.max_x));
    double y0 = std::floor(std::max(a.min_y, b.min_y)), y1 = std::ceil(std::min(a.max_y, b.max_y));
    if (x0 >= x1 || y0 >= y1 || (x1 - x0) * (y1 - y0) > kMaxSamples) return false;
    const int64_t cols = (int64_t)(x1 - x0), rows = (int64_t)(y1 - y0);
    for (int64_t r = 0; r < rows; r++) {
        const double wy = y0 + (double)r + 0.5;
        // Along this row each local coordinate is c + wx * d.
        const double acx = a.ox + wy * a.xy, acy = a.oy + wy * a.yy;
        const double bcx = b.ox + wy * b.xy, bcy = b.oy + wy * b.yy;
        double lo = x0, hi = x1;
        ClipSpan(acx, a.xx, a.pm->width, lo, hi);
        ClipSpan(acy, a.yx, a.pm->height, lo, hi);
        ClipSpan(bcx, b.xx, b.pm->width, lo, hi);
        ClipSpan(bcy, b.yx, b.pm->height, lo, hi);
        if (!(lo <= hi)) continue;
        // Sample k sits at wx = x0 + k + 0.5; keep one extra sample at each end.
        const int64_t k0 = std::max<int64_t>(0, (int64_t)std::floor(lo - x0 - 0.5) - 1);
        const int64_t k1 = std::min<int64_t>(cols, (int64_t)std::ceil(hi - x0 - 0.5) + 2);
        for (int64_t k = k0; k < k1; k++) {
            const double wx = x0 + (double)k + 0.5;
            if (a.Solid(acx + wx * a.xx, acy + wx * a.yx) && b.Solid(bcx + wx * b.xx, bcy + wx * b.yx)) return true;
        }
    }
    return false;
}

bool Plain(float rot, float sx, float sy) { return std::fmod(rot, 360.0f) == 0 && sx == 1 && sy == 1; }

}  // namespace

bool ImagesCollide(const ImagePtr& a, int ax, int ay, int aframe, float arot, float ascale_x, float ascale_y,
                   const ImagePtr& b, int bx, int by, int bframe, float brot, float bscale_x, float bscale_y) {
    const TPixmap* pa = CollisionFrame(a, aframe);
    const TPixmap* pb = CollisionFrame(b, bframe);
    if (!pa || !pb) return false;
    if (Plain(arot, ascale_x, ascale_y) && Plain(brot, bscale_x, bscale_y)) {
        // Top-left corners in the world; the same grid when their difference is whole.
        const double dx = ((double)bx - b->handle_x) - ((double)ax - a->handle_x);
        const double dy = ((double)by - b->handle_y) - ((double)ay - a->handle_y);
        if (dx == std::floor(dx) && dy == std::floor(dy) && std::fabs(dx) < 1e15 && std::fabs(dy) < 1e15)
            return CollideAligned(*pa, *pb, (int64_t)dx, (int64_t)dy);
    }
    Placed qa, qb;
    if (!qa.Place(pa, ax, ay, a->handle_x, a->handle_y, arot, ascale_x, ascale_y) ||
        !qb.Place(pb, bx, by, b->handle_x, b->handle_y, brot, bscale_x, bscale_y))
        return false;
    return CollideSampled(qa, qb);
}
