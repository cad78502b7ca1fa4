// Canvas: shapes, paints, noise and effects of the asset generator.
#include "tools/makeassets/canvas.h"

#include <algorithm>

namespace ma {

Col mix(Col a, Col b, float t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t), lerp(a.a, b.a, t)};
}

Col scale_rgb(Col c, float f) {
    return {clamp01(c.r * f), clamp01(c.g * f), clamp01(c.b * f), c.a};
}

Col lighten(Col c, float t) {
    return {lerp(c.r, 1, t), lerp(c.g, 1, t), lerp(c.b, 1, t), c.a};
}

// ---------------------------------------------------------------- randomness

uint64_t Rng::next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform() { return (float)((next() >> 40) * (1.0 / 16777216.0)); }

int Rng::irange(int lo, int hi) {
    if (hi < lo) std::swap(lo, hi);
    return lo + (int)(next() % (uint64_t)(hi - lo + 1));
}

uint32_t hash_u32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t hash_str(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return hash_u32(h);
}

static float lattice(int x, int y, uint32_t seed) {
    uint32_t h = hash_u32((uint32_t)x * 0x8da6b343u ^ hash_u32((uint32_t)y * 0xd8163841u ^ seed));
    return (h >> 8) * (1.0f / 16777216.0f);
}

static inline int wrap(int v, int p) {
    int m = v % p;
    return m < 0 ? m + p : m;
}

static float vnoise_impl(float x, float y, int px, int py, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = (int)fx, iy = (int)fy;
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x0 = ix, x1 = ix + 1, y0 = iy, y1 = iy + 1;
    if (px > 0) { x0 = wrap(x0, px); x1 = wrap(x1, px); }
    if (py > 0) { y0 = wrap(y0, py); y1 = wrap(y1, py); }
    float a = lattice(x0, y0, seed), b = lattice(x1, y0, seed);
    float c = lattice(x0, y1, seed), d = lattice(x1, y1, seed);
    return lerp(lerp(a, b, tx), lerp(c, d, tx), ty);
}

float vnoise(float x, float y, uint32_t seed) { return vnoise_impl(x, y, 0, 0, seed); }
float vnoise_p(float x, float y, int px, int py, uint32_t seed) { return vnoise_impl(x, y, px, py, seed); }

float fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * vnoise(x, y, seed + o * 1013);
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
    }
    return sum / norm;
}

float fbm_p(float x, float y, int px, int py, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * vnoise_p(x, y, px, py, seed + o * 1013);
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        px *= 2;
        py *= 2;
    }
    return sum / norm;
}

float worley_p(float x, float y, int px, int py, uint32_t seed) {
    int ix = (int)std::floor(x), iy = (int)std::floor(y);
    float best = 9;
    for (int j = -1; j <= 1; j++)
        for (int i = -1; i <= 1; i++) {
            int cx = ix + i, cy = iy + j;
            int wx = wrap(cx, px), wy = wrap(cy, py);
            float fx = cx + lattice(wx, wy, seed);
            float fy = cy + lattice(wx, wy, seed ^ 0x5bd1e995u);
            float d = (fx - x) * (fx - x) + (fy - y) * (fy - y);
            best = std::min(best, d);
        }
    return std::sqrt(best);
}

Worley worley2_p(float x, float y, int px, int py, uint32_t seed) {
    int ix = (int)std::floor(x), iy = (int)std::floor(y);
    Worley w{9, 9, 0};
    for (int j = -2; j <= 2; j++)
        for (int i = -2; i <= 2; i++) {
            int cx = ix + i, cy = iy + j;
            int wx = wrap(cx, px), wy = wrap(cy, py);
            float fx = cx + 0.1f + 0.8f * lattice(wx, wy, seed);
            float fy = cy + 0.1f + 0.8f * lattice(wx, wy, seed ^ 0x5bd1e995u);
            float d = std::sqrt((fx - x) * (fx - x) + (fy - y) * (fy - y));
            if (d < w.f1) {
                w.f2 = w.f1;
                w.f1 = d;
                w.id = hash_u32((uint32_t)wx * 73856093u ^ (uint32_t)wy * 19349663u ^ seed);
            } else if (d < w.f2) {
                w.f2 = d;
            }
        }
    return w;
}

// -------------------------------------------------------------------- shapes

Shape circle(float cx, float cy, float r) {
    return {[=](float x, float y) { return std::hypot(x - cx, y - cy) - r; }, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1};
}

Shape ellipse(float cx, float cy, float rx, float ry) {
    if (rx < 0.01f) rx = 0.01f;
    if (ry < 0.01f) ry = 0.01f;
    return {[=](float x, float y) {
                float px = (x - cx) / rx, py = (y - cy) / ry;
                float k0 = std::hypot(px, py);
                float k1 = std::hypot(px / rx, py / ry);
                if (k1 < 1e-6f) return -std::min(rx, ry);
                return k0 * (k0 - 1.0f) / k1;
            },
            cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1};
}

Shape rect(float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    radius = std::min(radius, std::min(hx, hy));
    return {[=](float x, float y) {
                float qx = std::fabs(x - cx) - hx + radius, qy = std::fabs(y - cy) - hy + radius;
                float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
                return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
            },
            x0 - 1, y0 - 1, x1 + 1, y1 + 1};
}

Shape capsule(float ax, float ay, float bx, float by, float r) { return taper(ax, ay, bx, by, r, r); }

Shape taper(float ax, float ay, float bx, float by, float ra, float rb) {
    float ex = bx - ax, ey = by - ay, ee = ex * ex + ey * ey;
    float rm = std::max(ra, rb);
    return {[=](float x, float y) {
                float wx = x - ax, wy = y - ay;
                float t = ee > 0 ? clamp01((wx * ex + wy * ey) / ee) : 0;
                return std::hypot(wx - ex * t, wy - ey * t) - lerp(ra, rb, t);
            },
            std::min(ax, bx) - rm - 1, std::min(ay, by) - rm - 1, std::max(ax, bx) + rm + 1, std::max(ay, by) + rm + 1};
}

Shape polygon(const std::vector<float>& v) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
        x0 = std::min(x0, v[i]);
        x1 = std::max(x1, v[i]);
        y0 = std::min(y0, v[i + 1]);
        y1 = std::max(y1, v[i + 1]);
    }
    return {[v](float x, float y) {
                size_t n = v.size() / 2;
                float d = (x - v[0]) * (x - v[0]) + (y - v[1]) * (y - v[1]);
                float s = 1;
                for (size_t i = 0, j = n - 1; i < n; j = i, i++) {
                    float vix = v[2 * i], viy = v[2 * i + 1], vjx = v[2 * j], vjy = v[2 * j + 1];
                    float ex = vjx - vix, ey = vjy - viy, wx = x - vix, wy = y - viy;
                    float ee = ex * ex + ey * ey;
                    float t = ee > 0 ? clamp01((wx * ex + wy * ey) / ee) : 0;
                    float bx = wx - ex * t, by = wy - ey * t;
                    d = std::min(d, bx * bx + by * by);
                    bool c1 = y >= viy, c2 = y < vjy, c3 = ex * wy > ey * wx;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
                }
                return s * std::sqrt(d);
            },
            x0 - 1, y0 - 1, x1 + 1, y1 + 1};
}

Shape ring(float cx, float cy, float r, float hw) {
    return {[=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - hw; }, cx - r - hw - 1,
            cy - r - hw - 1, cx + r + hw + 1, cy + r + hw + 1};
}

Shape unite(const Shape& a, const Shape& b) {
    return {[a, b](float x, float y) { return std::min(a(x, y), b(x, y)); }, std::min(a.x0, b.x0),
            std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

Shape subtract(const Shape& a, const Shape& b) {
    return {[a, b](float x, float y) { return std::max(a(x, y), -b(x, y)); }, a.x0, a.y0, a.x1, a.y1};
}

Shape intersect(const Shape& a, const Shape& b) {
    return {[a, b](float x, float y) { return std::max(a(x, y), b(x, y)); }, std::max(a.x0, b.x0),
            std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

Shape grow(const Shape& a, float by) {
    float m = std::max(0.0f, by);
    return {[a, by](float x, float y) { return a(x, y) - by; }, a.x0 - m, a.y0 - m, a.x1 + m, a.y1 + m};
}

Shape rotated(const Shape& a, float cx, float cy, float degrees) {
    float rad = degrees * kPi / 180.0f, c = std::cos(rad), s = std::sin(rad);
    // Bounding box of the rotated box corners.
    float xs[4] = {a.x0, a.x1, a.x1, a.x0}, ys[4] = {a.y0, a.y0, a.y1, a.y1};
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int i = 0; i < 4; i++) {
        float dx = xs[i] - cx, dy = ys[i] - cy;
        float rx = cx + dx * c - dy * s, ry = cy + dx * s + dy * c;
        x0 = std::min(x0, rx);
        x1 = std::max(x1, rx);
        y0 = std::min(y0, ry);
        y1 = std::max(y1, ry);
    }
    return {[a, cx, cy, c, s](float x, float y) {
                float dx = x - cx, dy = y - cy;
                return a(cx + dx * c + dy * s, cy - dx * s + dy * c);
            },
            x0, y0, x1, y1};
}

Shape translated(const Shape& a, float dx, float dy) {
    return {[a, dx, dy](float x, float y) { return a(x - dx, y - dy); }, a.x0 + dx, a.y0 + dy, a.x1 + dx, a.y1 + dy};
}

Shape mirrored_x(const Shape& a, float axis) {
    return {[a, axis](float x, float y) { return a(2 * axis - x, y); }, 2 * axis - a.x1, a.y0, 2 * axis - a.x0, a.y1};
}

Shape polyline(const std::vector<float>& xy, float r) {
    if (xy.size() < 4) return circle(xy.size() >= 2 ? xy[0] : 0, xy.size() >= 2 ? xy[1] : 0, r);
    Shape s = capsule(xy[0], xy[1], xy[2], xy[3], r);
    for (size_t i = 2; i + 3 < xy.size(); i += 2) s = unite(s, capsule(xy[i], xy[i + 1], xy[i + 2], xy[i + 3], r));
    return s;
}

Shape roughen(const Shape& a, float amp, float freq, uint32_t seed) {
    return {[a, amp, freq, seed](float x, float y) {
                return a(x, y) + amp * (fbm(x * freq, y * freq, 3, seed) * 2 - 1);
            },
            a.x0 - amp, a.y0 - amp, a.x1 + amp, a.y1 + amp};
}

// -------------------------------------------------------------------- paints

Paint solid(Col c) {
    return [c](float, float) { return c; };
}

Paint linear(float x0, float y0, Col c0, float x1, float y1, Col c1) {
    float ex = x1 - x0, ey = y1 - y0, ee = ex * ex + ey * ey;
    return [=](float x, float y) {
        float t = ee > 0 ? clamp01(((x - x0) * ex + (y - y0) * ey) / ee) : 0;
        return mix(c0, c1, t);
    };
}

Paint radial(float cx, float cy, float r, Col inner, Col outer) {
    return [=](float x, float y) { return mix(inner, outer, clamp01(std::hypot(x - cx, y - cy) / r)); };
}

static Paint relief(const Shape& s, Paint base, float width, float strength, bool round) {
    return [s, base, width, strength, round](float x, float y) {
        Col c = base(x, y);
        float d = s(x, y);
        const float e = 0.5f;
        float gx = s(x + e, y) - s(x - e, y), gy = s(x, y + e) - s(x, y - e);
        float gl = std::hypot(gx, gy);
        if (gl < 1e-6f) return c;
        gx /= gl;
        gy /= gl;
        float t = clamp01(-d / width);
        float slope = round ? (1 - t) : (t < 1 ? 1.0f : 0.0f) * 0.8f;
        float nz = round ? std::sqrt(std::max(0.05f, 1 - (1 - t) * (1 - t))) : 1.0f;
        float nx = gx * slope, ny = gy * slope;
        float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
        nx /= nl;
        ny /= nl;
        nz /= nl;
        const float lx = -0.55f, ly = -0.65f, lz = 0.52f;
        float lit = nx * lx + ny * ly + nz * lz - lz;   // 0 on a flat top
        float f = lit * strength * 2;
        Col out = f > 0 ? lighten(c, std::min(0.8f, f)) : scale_rgb(c, std::max(0.1f, 1 + f));
        if (round) {
            // Small specular spot where the dome faces the light.
            float spec = std::pow(std::max(0.0f, nx * lx + ny * ly + nz * lz), 24.0f) * strength;
            out = lighten(out, clamp01(spec));
        }
        return out;
    };
}

Paint bevel(const Shape& s, Paint base, float bevel_px, float strength) { return relief(s, base, bevel_px, strength, false); }
Paint dome(const Shape& s, Paint base, float radius_px, float strength) { return relief(s, base, radius_px, strength, true); }

// -------------------------------------------------------------------- canvas

Canvas::Canvas(int w_, int h_, Col fill_) : w(w_), h(h_), px((size_t)w_ * h_ * 4, 0.0f) { fill(fill_); }

Col Canvas::get(int x, int y) const {
    if ((unsigned)x >= (unsigned)w || (unsigned)y >= (unsigned)h) return {};
    const float* p = &px[((size_t)y * w + x) * 4];
    if (p[3] <= 0) return {};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::set(int x, int y, Col c) {
    if ((unsigned)x >= (unsigned)w || (unsigned)y >= (unsigned)h) return;
    float* p = &px[((size_t)y * w + x) * 4];
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
}

void Canvas::blend_px(int x, int y, Col c, float cov, Blend mode) {
    if ((unsigned)x >= (unsigned)w || (unsigned)y >= (unsigned)h || cov <= 0) return;
    float* p = &px[((size_t)y * w + x) * 4];
    float a = clamp01(c.a) * cov;
    float sr = c.r * a, sg = c.g * a, sb = c.b * a;
    switch (mode) {
    case Blend::Over:
        p[0] = sr + p[0] * (1 - a);
        p[1] = sg + p[1] * (1 - a);
        p[2] = sb + p[2] * (1 - a);
        p[3] = a + p[3] * (1 - a);
        break;
    case Blend::Behind: {
        float ia = 1 - p[3];
        p[0] += sr * ia;
        p[1] += sg * ia;
        p[2] += sb * ia;
        p[3] += a * ia;
        break;
    }
    case Blend::Add:
        p[0] = std::min(p[0] + sr, 1.0f);
        p[1] = std::min(p[1] + sg, 1.0f);
        p[2] = std::min(p[2] + sb, 1.0f);
        p[3] = std::max(p[3], std::max(std::max(p[0], p[1]), p[2]));
        break;
    case Blend::Multiply:
        p[0] *= lerp(1, c.r, a);
        p[1] *= lerp(1, c.g, a);
        p[2] *= lerp(1, c.b, a);
        break;
    case Blend::Atop: {
        // Source over destination colour, destination alpha kept.
        float da = p[3];
        p[0] = sr * da + p[0] * (1 - a);
        p[1] = sg * da + p[1] * (1 - a);
        p[2] = sb * da + p[2] * (1 - a);
        break;
    }
    case Blend::Erase:
        for (int i = 0; i < 4; i++) p[i] *= (1 - a);
        break;
    case Blend::Replace:
        for (int i = 0; i < 4; i++) p[i] = lerp(p[i], i == 0 ? c.r * c.a : i == 1 ? c.g * c.a : i == 2 ? c.b * c.a : c.a, cov);
        break;
    }
}

void Canvas::fill(Col c) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) set(x, y, c);
}

void Canvas::draw(const Shape& s, const Paint& p, Blend mode, float opacity) {
    int x0 = std::max(0, (int)std::floor(s.x0)), y0 = std::max(0, (int)std::floor(s.y0));
    int x1 = std::min(w - 1, (int)std::ceil(s.x1)), y1 = std::min(h - 1, (int)std::ceil(s.y1));
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            float fx = x + 0.5f, fy = y + 0.5f;
            float cov = clamp01(0.5f - s(fx, fy));
            if (cov <= 0) continue;
            blend_px(x, y, p(fx, fy), cov * opacity, mode);
        }
}

void Canvas::paint_all(const Paint& p, Blend mode, float opacity) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) blend_px(x, y, p(x + 0.5f, y + 0.5f), opacity, mode);
}

void Canvas::blit(const Canvas& src, int dx, int dy, Blend mode, float opacity) {
    for (int y = 0; y < src.h; y++)
        for (int x = 0; x < src.w; x++) {
            Col c = src.get(x, y);
            if (c.a <= 0) continue;
            blend_px(x + dx, y + dy, c, opacity, mode);
        }
}

void Canvas::blit_scaled(const Canvas& src, float dx, float dy, float s, Blend mode, float opacity) {
    int x0 = std::max(0, (int)std::floor(dx)), y0 = std::max(0, (int)std::floor(dy));
    int x1 = std::min(w - 1, (int)std::ceil(dx + src.w * s)), y1 = std::min(h - 1, (int)std::ceil(dy + src.h * s));
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            float sx = (x + 0.5f - dx) / s - 0.5f, sy = (y + 0.5f - dy) / s - 0.5f;
            if (sx < -0.5f || sy < -0.5f || sx > src.w - 0.5f || sy > src.h - 0.5f) continue;
            int ix = (int)std::floor(sx), iy = (int)std::floor(sy);
            float tx = sx - ix, ty = sy - iy;
            float acc[4] = {0, 0, 0, 0};
            for (int j = 0; j < 2; j++)
                for (int i = 0; i < 2; i++) {
                    int qx = std::clamp(ix + i, 0, src.w - 1), qy = std::clamp(iy + j, 0, src.h - 1);
                    float wgt = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
                    const float* p = &src.px[((size_t)qy * src.w + qx) * 4];
                    for (int k = 0; k < 4; k++) acc[k] += p[k] * wgt;
                }
            if (acc[3] <= 0) continue;
            blend_px(x, y, {acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], acc[3]}, opacity, mode);
        }
}

Canvas Canvas::crop(int x, int y, int cw, int ch) const {
    Canvas out(cw, ch);
    for (int j = 0; j < ch; j++)
        for (int i = 0; i < cw; i++)
            if ((unsigned)(x + i) < (unsigned)w && (unsigned)(y + j) < (unsigned)h)
                for (int k = 0; k < 4; k++) out.px[((size_t)j * cw + i) * 4 + k] = px[((size_t)(y + j) * w + x + i) * 4 + k];
    return out;
}

static void box_pass(std::vector<float>& v, int w, int h, int r, bool horiz) {
    std::vector<float> out(v.size());
    int n = horiz ? w : h, m = horiz ? h : w;
    float inv = 1.0f / (2 * r + 1);
    for (int j = 0; j < m; j++) {
        for (int k = 0; k < 4; k++) {
            auto at = [&](int i) -> float {
                i = std::clamp(i, -1, n);
                if (i < 0 || i >= n) return 0.0f;   // transparent outside
                size_t idx = horiz ? ((size_t)j * w + i) : ((size_t)i * w + j);
                return v[idx * 4 + k];
            };
            float sum = 0;
            for (int i = -r; i <= r; i++) sum += at(i);
            for (int i = 0; i < n; i++) {
                size_t idx = horiz ? ((size_t)j * w + i) : ((size_t)i * w + j);
                out[idx * 4 + k] = sum * inv;
                sum += at(i + r + 1) - at(i - r);
            }
        }
    }
    v.swap(out);
}

void Canvas::blur(float radius) {
    int r = std::max(1, (int)std::lround(radius / 1.7f));
    for (int pass = 0; pass < 3; pass++) {
        box_pass(px, w, h, r, true);
        box_pass(px, w, h, r, false);
    }
}

void Canvas::multiply_alpha(float f) {
    for (float& v : px) v *= f;
}

void Canvas::tint(Col c) {
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] *= c.r;
        px[i + 1] *= c.g;
        px[i + 2] *= c.b;
    }
}

void Canvas::outline(Col c, float width) {
    int r = (int)std::ceil(width) + 1;
    std::vector<float> cover((size_t)w * h, 0.0f);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float best = 0;
            for (int j = -r; j <= r; j++)
                for (int i = -r; i <= r; i++) {
                    float a = alpha_at(x + i, y + j);
                    if (a <= 0) continue;
                    float k = clamp01(width + 0.5f - std::hypot((float)i, (float)j));
                    best = std::max(best, a * k);
                }
            cover[(size_t)y * w + x] = best;
        }
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) blend_px(x, y, c, cover[(size_t)y * w + x], Blend::Behind);
}

void Canvas::shadow(Col c, float dx, float dy, float blur_radius) {
    Canvas sh(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float a = alpha_at((int)std::lround(x - dx), (int)std::lround(y - dy));
            if (a > 0) sh.set(x, y, with_alpha(c, a * c.a));
        }
    if (blur_radius > 0) sh.blur(blur_radius);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Col s = sh.get(x, y);
            if (s.a > 0) blend_px(x, y, s, 1, Blend::Behind);
        }
}

void Canvas::glow(Col c, float radius, float strength) {
    Canvas g(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float a = alpha_at(x, y);
            if (a > 0) g.set(x, y, with_alpha(c, a));
        }
    g.blur(radius);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Col s = g.get(x, y);
            if (s.a > 0) blend_px(x, y, with_alpha(s, clamp01(s.a * strength)), 1, Blend::Behind);
        }
}

void Canvas::harden(float threshold) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Col c = get(x, y);
            set(x, y, c.a >= threshold ? with_alpha(c, 1) : Col{});
        }
}

Canvas strip(const std::vector<Canvas>& cells) {
    if (cells.empty()) return {};
    int cw = cells[0].w, ch = cells[0].h;
    Canvas out(cw * (int)cells.size(), ch);
    for (size_t i = 0; i < cells.size(); i++) out.blit(cells[i], (int)i * cw, 0, Blend::Replace);
    return out;
}

}  // namespace ma
