// Canvas: a small float RGBA drawing surface for the asset generator.
//
// Shapes are signed distance functions (negative inside, in pixels), so every
// edge is anti-aliased by its exact coverage and shapes combine by min/max.
// Pixels are stored premultiplied; colours passed in and out are straight.
// Everything here is deterministic: noise and randomness come from Rng and
// integer hashes seeded by the caller, never from the clock.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ma {

constexpr float kPi = 3.14159265358979f;

struct Col {
    float r = 0, g = 0, b = 0, a = 0;   // straight colour, 0..1
};

inline Col rgb(int r, int g, int b, float a = 1.0f) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }
inline Col with_alpha(Col c, float a) { c.a = a; return c; }
Col mix(Col a, Col b, float t);
Col scale_rgb(Col c, float f);          // brighten (>1) or darken (<1), alpha kept
Col lighten(Col c, float t);            // towards white by t
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smoothstep(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }

// Deterministic generator (splitmix64) for art decisions.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next();
    float uniform();                              // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int irange(int lo, int hi);                   // inclusive
private:
    uint64_t s_;
};

uint32_t hash_u32(uint32_t x);
uint32_t hash_str(const std::string& s);

// Value noise in [0, 1]. Periodic variants wrap every px by py lattice cells.
float vnoise(float x, float y, uint32_t seed);
float vnoise_p(float x, float y, int px, int py, uint32_t seed);
// Fractal sums normalised to [0, 1]; the periodic one tiles every px by py
// units of the first octave (each octave doubles the period).
float fbm(float x, float y, int octaves, uint32_t seed);
float fbm_p(float x, float y, int px, int py, int octaves, uint32_t seed);
// Cellular (Worley) distance to the nearest feature point, periodic.
float worley_p(float x, float y, int px, int py, uint32_t seed);
// Nearest and second-nearest feature distances and the nearest cell's hash.
struct Worley {
    float f1, f2;
    uint32_t id;
};
Worley worley2_p(float x, float y, int px, int py, uint32_t seed);

// A shape: signed distance plus a bounding box outside which it is empty.
struct Shape {
    std::function<float(float, float)> d;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float operator()(float x, float y) const { return d(x, y); }
};

Shape circle(float cx, float cy, float r);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape rect(float x0, float y0, float x1, float y1, float radius = 0);
Shape capsule(float ax, float ay, float bx, float by, float r);
// A capsule whose radius runs from ra at a to rb at b.
Shape taper(float ax, float ay, float bx, float by, float ra, float rb);
Shape polygon(const std::vector<float>& xy);   // x0, y0, x1, y1, ...
Shape ring(float cx, float cy, float r, float half_width);
Shape unite(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape intersect(const Shape& a, const Shape& b);
Shape grow(const Shape& a, float by);          // positive grows, negative shrinks
Shape rotated(const Shape& a, float cx, float cy, float degrees);
Shape translated(const Shape& a, float dx, float dy);
Shape mirrored_x(const Shape& a, float axis);
// Polyline of capsules (thick line with round joins).
Shape polyline(const std::vector<float>& xy, float r);
// Edge roughened by noise (amplitude in pixels, frequency per pixel).
Shape roughen(const Shape& a, float amp, float freq, uint32_t seed);

using Paint = std::function<Col(float x, float y)>;
Paint solid(Col c);
Paint linear(float x0, float y0, Col c0, float x1, float y1, Col c1);
Paint radial(float cx, float cy, float r, Col inner, Col outer);
// Lights a base paint as if the shape were a rounded relief: flat in the
// middle, rising over `bevel` pixels from its edge; light from the upper left.
Paint bevel(const Shape& s, Paint base, float bevel_px, float strength = 0.5f);
// Lights a base paint as a dome (sphere-like) over the shape's inside.
Paint dome(const Shape& s, Paint base, float radius_px, float strength = 0.6f);

enum class Blend { Over, Add, Multiply, Atop, Erase, Replace, Behind };

class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h, Col fill = {});

    int w = 0, h = 0;
    std::vector<float> px;   // premultiplied r, g, b, a per pixel

    Col get(int x, int y) const;                 // straight colour; outside: transparent
    void set(int x, int y, Col c);
    void blend_px(int x, int y, Col c, float coverage, Blend mode);

    void fill(Col c);
    void draw(const Shape& s, const Paint& p, Blend mode = Blend::Over, float opacity = 1.0f);
    void draw(const Shape& s, Col c, Blend mode = Blend::Over, float opacity = 1.0f) {
        draw(s, solid(c), mode, opacity);
    }
    // Paints every pixel through p (no shape), clipped to the canvas.
    void paint_all(const Paint& p, Blend mode = Blend::Over, float opacity = 1.0f);
    void blit(const Canvas& src, int dx, int dy, Blend mode = Blend::Over, float opacity = 1.0f);
    // Blits src scaled by s with bilinear filtering, top-left at (dx, dy).
    void blit_scaled(const Canvas& src, float dx, float dy, float s, Blend mode = Blend::Over, float opacity = 1.0f);
    Canvas crop(int x, int y, int cw, int ch) const;

    // Effects.
    void blur(float radius);                         // three box passes
    void multiply_alpha(float f);
    void tint(Col c);                                // multiply colours by c
    // Dark rim behind the shape: pixels within `width` of opaque pixels that
    // are themselves transparent get the colour.
    void outline(Col c, float width);
    void shadow(Col c, float dx, float dy, float blur_radius);
    void glow(Col c, float radius, float strength);
    // Pixels with alpha below threshold become fully transparent, others opaque.
    void harden(float threshold = 0.5f);
    float alpha_at(int x, int y) const { return (unsigned)x < (unsigned)w && (unsigned)y < (unsigned)h ? px[((size_t)y * w + x) * 4 + 3] : 0; }
};

// Strips of equal cells placed left to right.
Canvas strip(const std::vector<Canvas>& cells);

}  // namespace ma
