// Interface art: widget frames, buttons, HUD pieces, icons, pointers, the
// controls chart and the main-menu pictures.
//
// Widgets the game tints (health bars, marks, icons of small buttons) are
// white or grey so the tint shows true. Magenta-masked BMPs are hard-edged;
// PNGs keep soft edges.
#include <algorithm>

#include "tools/makeassets/assets.h"
#include "tools/makeassets/strokefont.h"

namespace ma {
namespace {

const Col kWhite = rgb(255, 255, 255);
const Col kInk = rgb(24, 22, 30);
const Col kPanel = rgb(16, 20, 32, 0.72f);
const Col kEdge = rgb(190, 205, 230, 0.9f);

void panel(Canvas& c, float x0, float y0, float x1, float y1, float r, Col fill = kPanel, Col edge = kEdge) {
    c.draw(rect(x0, y0, x1, y1, r), edge);
    c.draw(rect(x0 + 1.2f, y0 + 1.2f, x1 - 1.2f, y1 - 1.2f, std::max(0.0f, r - 1)), Col{}, Blend::Replace);
    c.draw(rect(x0 + 1.2f, y0 + 1.2f, x1 - 1.2f, y1 - 1.2f, std::max(0.0f, r - 1)),
           linear(0, y0, lighten(fill, 0.08f), 0, y1, fill));
}

void label(Canvas& c, const std::string& s, float cx, float baseline, float cap, Col col, float weight = 0) {
    TextStyle ts;
    ts.cap = cap;
    ts.weight = weight > 0 ? weight : std::max(0.7f, cap * 0.1f);
    ts.spacing = 2.2f;
    float w = text_width(s, ts);
    c.draw(text_shape(s, cx - w / 2, baseline, ts), col);
}

Shape star_shape(float x, float y, float r, float inner = 0.45f) {
    std::vector<float> v;
    for (int i = 0; i < 10; i++) {
        float ang = (-90 + 36 * i) * kPi / 180, rr = i % 2 ? r * inner : r;
        v.push_back(x + rr * std::cos(ang));
        v.push_back(y + rr * std::sin(ang));
    }
    return polygon(v);
}

Shape heart(float x, float y, float s) {
    return unite(unite(circle(x - s * 0.5f, y - s * 0.2f, s * 0.55f), circle(x + s * 0.5f, y - s * 0.2f, s * 0.55f)),
                 polygon({x - s * 1.02f, y - 0.05f * s, x + s * 1.02f, y - 0.05f * s, x, y + s * 1.1f}));
}

Shape tick(float x, float y, float s, float w) { return polyline({x - s, y, x - s * 0.35f, y + s * 0.65f, x + s, y - s * 0.8f}, w); }
Shape cross(float x, float y, float s, float w) {
    return unite(capsule(x - s, y - s, x + s, y + s, w), capsule(x - s, y + s, x + s, y - s, w));
}

// ------------------------------------------------------------------ widgets

Canvas check_box(bool on) {
    Canvas c(20, 20);
    c.draw(rect(1, 1, 19, 19, 4), kEdge);
    c.draw(rect(2.5f, 2.5f, 17.5f, 17.5f, 3), linear(0, 2, rgb(50, 60, 80), 0, 18, rgb(20, 24, 36)), Blend::Replace);
    if (on) {
        Shape t = tick(10, 10, 5.5f, 1.6f);
        c.draw(grow(t, 1.0f), rgb(10, 40, 10));
        c.draw(t, rgb(90, 240, 90));
    }
    return c;
}

Canvas healthbar() {
    Canvas c(100, 13);
    Shape s = rect(0.5f, 0.5f, 99.5f, 12.5f, 5.5f);
    c.draw(s, [](float, float y) {
        float t = y / 13;
        float v = t < 0.35f ? lerp(1.0f, 0.92f, t / 0.35f) : lerp(0.85f, 0.55f, (t - 0.35f) / 0.65f);
        return Col{v, v, v, 1};
    });
    c.draw(capsule(4, 3.2f, 96, 3.2f, 1.1f), rgb(255, 255, 255));
    c.harden();
    return c;
}

Canvas storm_panel() {
    Canvas c(100, 50);
    panel(c, 0.5f, 0.5f, 99.5f, 49.5f, 8);
    c.draw(rect(4, 31, 96, 47, 5), rgb(0, 0, 0, 0.55f), Blend::Replace);
    c.draw(rect(49.3f, 29, 50.7f, 49), rgb(230, 235, 255, 0.9f));
    // Little ticks along the scale.
    for (int i = 1; i < 10; i++) {
        if (i == 5) continue;
        float x = 50 + (i - 5) * 9.5f;
        c.draw(rect(x - 0.5f, 44, x + 0.5f, 47), rgb(200, 210, 240, 0.6f));
    }
    return c;
}

Canvas storm_streak() {
    // One wind ribbon 26 px long, cut by the game into 13 strips of 2 px.
    Canvas c(26, 16);
    c.draw(polygon({0, 7, 18, 5.5f, 18, 2, 26, 8, 18, 14, 18, 10.5f, 0, 9}), [](float x, float) {
        return rgb(255, 255, 255, 0.25f + 0.75f * x / 26);
    });
    return c;
}

Canvas clock_shape() {
    // Shown as a black silhouette under the turn timer's digits.
    Canvas c(60, 60);
    c.draw(circle(30, 32, 25), kWhite);
    c.draw(circle(11, 11, 8), kWhite);
    c.draw(circle(49, 11, 8), kWhite);
    c.draw(capsule(14, 54, 10, 59, 3), kWhite);
    c.draw(capsule(46, 54, 50, 59, 3), kWhite);
    return c;
}

Canvas tab() {
    Canvas c(40, 40);
    panel(c, 0.5f, 0.5f, 46, 39.5f, 10);
    return c;
}

Canvas mbutton() {
    Canvas c(17, 17);
    Shape s = rect(0.5f, 0.5f, 16.5f, 16.5f, 3);
    c.draw(s, kInk);
    Shape in = rect(1.5f, 1.5f, 15.5f, 15.5f, 2.5f);
    c.draw(in, bevel(in, linear(0, 1, rgb(150, 160, 185), 0, 16, rgb(90, 98, 120)), 2, 0.6f));
    return c;
}

Canvas attention() {
    Canvas c(64, 64);
    Shape tri = polygon({32, 5, 60, 55, 4, 55});
    Shape r = grow(tri, 3);
    c.draw(grow(r, 1.5f), kInk);
    c.draw(r, bevel(r, linear(0, 4, rgb(255, 230, 80), 0, 60, rgb(245, 160, 20)), 4, 0.6f));
    c.draw(capsule(32, 22, 32, 38, 3.4f), kInk);
    c.draw(circle(32, 47, 3.4f), kInk);
    return c;
}

Canvas pointer(bool click) {
    Canvas c(24, 24);
    // Tip at (4, 4): the pointer's hot spot.
    Shape p = polygon({4, 4, 4, 21, 8.5f, 16.8f, 11.5f, 22.5f, 14.5f, 21, 11.5f, 15.5f, 17.5f, 15.5f});
    c.draw(grow(p, 1.1f), kInk);
    c.draw(p, linear(4, 4, kWhite, 14, 20, click ? rgb(255, 200, 120) : rgb(200, 215, 240)));
    if (click) {
        for (int k = 0; k < 3; k++) {
            float ang = (200 + k * 35) * kPi / 180;
            c.draw(capsule(4 + std::cos(ang) * 2.5f, 4 + std::sin(ang) * 2.5f, 4 + std::cos(ang) * 4.2f, 4 + std::sin(ang) * 4.2f, 0.6f), rgb(255, 220, 80));
        }
    }
    return c;
}

Canvas arrow() {
    Canvas c(24, 24);
    Shape a = polygon({12, 1.5f, 22, 14, 15.5f, 14, 15.5f, 22.5f, 8.5f, 22.5f, 8.5f, 14, 2, 14});
    c.draw(grow(a, 1.0f), kInk);
    c.draw(a, bevel(a, solid(kWhite), 2.5f, 0.4f));
    return c;
}

Canvas lock_icon() {
    Canvas c(10, 12);
    c.draw(ring(5, 4.5f, 2.6f, 0.9f), kWhite);
    c.draw(rect(1, 5, 9, 11.5f, 1.2f), kWhite);
    c.draw(rect(4.3f, 7, 5.7f, 9.5f), Col{}, Blend::Replace);
    c.harden();
    return c;
}

Canvas action_icon() {
    Canvas c(18, 16);
    Shape b = unite(rect(1, 1, 17, 11, 3.5f), polygon({4, 10, 4, 15, 9, 10}));
    c.draw(grow(b, 0.9f), kInk);
    c.draw(b, kWhite);
    for (int i = 0; i < 3; i++) c.draw(circle(5 + i * 4, 6, 1.3f), kInk);
    return c;
}

Canvas ping_icon() {
    Canvas c(10, 12);
    for (int i = 0; i < 3; i++) c.draw(rect(0.5f + i * 3.3f, 8 - i * 3.5f, 2.8f + i * 3.3f, 11.5f), kWhite);
    c.harden();
    return c;
}

Canvas ready_icon() {
    Canvas c(16, 20);
    c.draw(tick(8, 11, 6, 2.0f), kWhite);
    return c;
}

Canvas mouse_icon(bool right) {
    Canvas c(22, 30);
    Shape body = rect(2, 2, 20, 28, 8.5f);
    c.draw(grow(body, 1), kInk);
    c.draw(body, bevel(body, solid(rgb(235, 238, 245)), 3, 0.5f));
    c.draw(rect(10.4f, 2, 11.6f, 12), kInk);
    c.draw(rect(2, 11.4f, 20, 12.6f), kInk);
    Shape btn = intersect(body, right ? rect(11.6f, 0, 22, 11.4f) : rect(0, 0, 10.4f, 11.4f));
    c.draw(btn, rgb(230, 50, 40));
    return c;
}

Canvas yes_no(bool yes) {
    Canvas c(64, 64);
    Shape disc = circle(32, 32, 28);
    c.draw(grow(disc, 1.5f), kInk);
    c.draw(disc, dome(disc, solid(yes ? rgb(60, 190, 70) : rgb(210, 50, 40)), 14, 0.55f));
    Shape mark = yes ? tick(32, 33, 15, 4.5f) : cross(32, 32, 12, 4.5f);
    c.draw(grow(mark, 1.2f), rgb(0, 0, 0, 0.5f));
    c.draw(mark, kWhite);
    return c;
}

Canvas gameender() {
    // A skull, drawn tinted.
    Canvas c(48, 48);
    Shape skull = unite(circle(24, 20, 15), rect(15, 24, 33, 40, 4));
    Shape holes = unite(unite(ellipse(18, 22, 4.2f, 4.8f), ellipse(30, 22, 4.2f, 4.8f)), polygon({24, 27, 26.5f, 32, 21.5f, 32}));
    for (int i = 0; i < 3; i++) holes = unite(holes, rect(18.3f + i * 4.4f, 35, 20.2f + i * 4.4f, 41));
    Shape s = subtract(skull, holes);
    c.draw(grow(s, 1.2f), kInk);
    c.draw(s, dome(s, solid(rgb(245, 245, 240)), 6, 0.5f));
    return c;
}

Canvas score_cell(int i) {
    Canvas c(14, 18);
    Shape s = star_shape(7, 9.5f, 6.6f);
    Col col = i == 0 ? rgb(190, 195, 210) : i == 1 ? rgb(255, 210, 40) : rgb(230, 60, 50);
    c.draw(grow(s, 0.9f), kInk);
    c.draw(s, bevel(s, solid(col), 2, 0.6f));
    c.harden();
    return c;
}

Canvas load_mark() {
    Canvas c(32, 32, rgb(0, 0, 0));
    for (int i = 0; i < 10; i++) {
        float ang = i * 36 * kPi / 180;
        float v = 0.15f + 0.85f * i / 9.0f;
        c.draw(circle(16 + std::cos(ang) * 11, 16 + std::sin(ang) * 11, 1.6f + 1.4f * i / 9.0f), Col{v, v, v, 1});
    }
    return c;
}

Canvas editor_grid() {
    Canvas c(100, 100, rgb(0, 0, 0));
    for (int k = 20; k < 100; k += 20) {
        c.draw(rect(k, 0, k + 1, 100), rgb(110, 110, 110));
        c.draw(rect(0, k, 100, k + 1), rgb(110, 110, 110));
    }
    c.draw(rect(0, 0, 1, 100), kWhite);
    c.draw(rect(0, 0, 100, 1), kWhite);
    return c;
}

// Tiny 3x5 digits for the 7x7 weapon-set marks.
Canvas wset_marks() {
    static const char* digits[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                     "101101111001001", "111100111001111", "111100111101111", "111001010010010",
                                     "111101111101111", "111101111001111"};
    Canvas c(70, 7, rgb(0, 0, 0));
    auto put = [&](int d, int ox) {
        for (int j = 0; j < 5; j++)
            for (int i = 0; i < 3; i++)
                if (digits[d][j * 3 + i] == '1') c.set(ox + i, 1 + j, kWhite);
    };
    for (int n = 1; n <= 10; n++) {
        int ox = (n - 1) * 7;
        if (n < 10) {
            put(n, ox + 2);
        } else {
            put(1, ox);
            put(0, ox + 4);
        }
    }
    return c;
}

// ------------------------------------------------------------------ icons

Canvas icon_disc(bool ok) {
    Canvas c(32, 32);
    Shape d = circle(16, 16, 14);
    c.draw(grow(d, 1), kInk);
    c.draw(d, dome(d, solid(ok ? rgb(60, 190, 70) : rgb(220, 50, 40)), 7, 0.5f));
    Shape m = ok ? tick(16, 17, 7.5f, 2.4f) : cross(16, 16, 6, 2.4f);
    c.draw(m, kWhite);
    return c;
}

Canvas crate_picture(int size) {
    Canvas c(size, size);
    float s = size / 32.0f;
    Shape box = rect(3 * s, 5 * s, 29 * s, 28 * s, 2 * s);
    c.draw(grow(box, 1.2f * s), kInk);
    c.draw(box, bevel(box, [s](float, float y) { return ((int)(y / (5.8f * s)) & 1) ? rgb(200, 140, 70) : rgb(185, 125, 60); }, 2.5f * s, 0.5f));
    c.draw(rect(3 * s, 14 * s, 29 * s, 18.5f * s), rgb(120, 80, 40));
    c.draw(rect(14 * s, 5 * s, 18 * s, 28 * s), rgb(120, 80, 40));
    c.draw(circle(16 * s, 16.3f * s, 3.2f * s), rgb(250, 210, 60));
    c.draw(star_shape(16 * s, 16.5f * s, 2.4f * s), rgb(255, 255, 200));
    return c;
}

Canvas medikit_picture(int size) {
    Canvas c(size, size);
    float s = size / 32.0f;
    Shape box = rect(3 * s, 6 * s, 29 * s, 28 * s, 3 * s);
    c.draw(grow(box, 1.2f * s), kInk);
    c.draw(box, bevel(box, solid(rgb(245, 245, 245)), 3 * s, 0.5f));
    c.draw(rect(12 * s, 2.5f * s, 20 * s, 7 * s, 1.5f * s), kInk);
    c.draw(unite(rect(13.5f * s, 10 * s, 18.5f * s, 24 * s), rect(9 * s, 14.5f * s, 23 * s, 19.5f * s)), rgb(220, 30, 30));
    return c;
}

Canvas icon_weapons() {
    Canvas c(32, 32);
    // A rocket launcher over a crosshair.
    c.draw(ring(20, 13, 8, 1.4f), rgb(230, 60, 50));
    c.draw(unite(rect(19.3f, 2, 20.7f, 8), rect(27, 12.3f, 32, 13.7f)), rgb(230, 60, 50));
    Shape tube = rotated(rect(2, 15, 28, 22, 2.5f), 15, 18.5f, -25);
    c.draw(grow(tube, 1.2f), kInk);
    c.draw(tube, bevel(tube, solid(rgb(110, 140, 80)), 2.5f, 0.5f));
    Shape grip = rotated(rect(12, 21, 15.5f, 28, 1), 13, 24, -25);
    c.draw(grow(grip, 1), kInk);
    c.draw(grip, rgb(80, 60, 40));
    return c;
}

Canvas icon_tools() {
    Canvas c(32, 32);
    Shape handle = rotated(rect(14, 8, 18.5f, 30, 2), 16, 16, 40);
    Shape head = rotated(subtract(circle(16, 6, 6.5f), rect(14, -2, 18, 5)), 16, 16, 40);
    Shape w = unite(handle, head);
    c.draw(grow(w, 1.2f), kInk);
    c.draw(w, bevel(w, linear(0, 0, rgb(220, 225, 235), 32, 32, rgb(140, 150, 165)), 2.5f, 0.5f));
    return c;
}

Canvas icon_movement() {
    Canvas c(32, 32);
    // A boot with a jump arc.
    c.draw(polyline({4, 22, 9, 10, 16, 6, 23, 10, 27, 16}, 1.2f), rgb(120, 200, 255));
    c.draw(polygon({27, 19.5f, 29.5f, 13, 23.5f, 15}), rgb(120, 200, 255));
    Shape boot = unite(rect(6, 16, 13, 25, 1.5f), rect(6, 21, 19, 27, 2.5f));
    c.draw(grow(boot, 1.2f), kInk);
    c.draw(boot, bevel(boot, solid(rgb(150, 100, 60)), 2, 0.5f));
    c.draw(rect(6, 25.5f, 19, 27), rgb(60, 40, 30));
    return c;
}

Canvas extra_cell(int code) {
    Canvas c(13, 13);
    auto plus = [&](float x, float y) { c.draw(unite(rect(x - 2, y - 0.6f, x + 2, y + 0.6f), rect(x - 0.6f, y - 2, x + 0.6f, y + 2)), kWhite); };
    auto minus = [&](float x, float y) { c.draw(rect(x - 2, y - 0.7f, x + 2, y + 0.7f), kWhite); };
    switch (code) {
    case 0:
        c.draw(ring(6.5f, 6.5f, 5, 1), kWhite);
        c.draw(capsule(3, 10, 10, 3, 0.8f), kWhite);
        break;
    case 1:
    case 2:
        c.draw(ring(5, 7.5f, 4.2f, 0.8f), kWhite);
        c.draw(polyline({5, 5, 5, 7.5f, 6.8f, 8.5f}, 0.5f), kWhite);
        code == 1 ? plus(10.5f, 2.5f) : minus(10.5f, 2.5f);
        break;
    case 9:  // a robot head
        c.draw(rect(2, 3.5f, 11, 11.5f, 1.5f), kWhite);
        c.draw(circle(4.8f, 7, 1.2f), Col{}, Blend::Replace);
        c.draw(circle(8.2f, 7, 1.2f), Col{}, Blend::Replace);
        c.draw(rect(4.5f, 9.3f, 8.5f, 10.2f), Col{}, Blend::Replace);
        c.draw(capsule(6.5f, 3.5f, 6.5f, 1.2f, 0.5f), kWhite);
        break;
    case 10:  // a bell
        c.draw(unite(polygon({3, 9.5f, 4, 4.5f, 6.5f, 2.5f, 9, 4.5f, 10, 9.5f}), rect(1.5f, 9, 11.5f, 10.5f, 0.6f)), kWhite);
        c.draw(circle(6.5f, 11.6f, 1.1f), kWhite);
        break;
    case 11:
        c.draw(star_shape(6.5f, 7, 5.5f), kWhite);
        break;
    default: {  // health: a heart with plus or minus and one to three pips
        int n = code <= 5 ? code - 2 : code - 5;
        c.draw(heart(5.5f, 6, 3.6f), kWhite);
        code <= 5 ? plus(10.5f, 2.5f) : minus(10.5f, 2.5f);
        for (int i = 0; i < n; i++) c.draw(rect(9.5f, 6.2f + i * 2.2f, 11.8f, 7.4f + i * 2.2f), kWhite);
        break;
    }
    }
    c.harden();
    return c;
}

Canvas editor_cell(int i) {
    Canvas c(13, 13);
    switch (i) {
    case 0:  // brush
        c.draw(capsule(10.5f, 2, 6, 7, 1.0f), kWhite);
        c.draw(polygon({6.5f, 5.5f, 8, 7.5f, 4, 11.5f, 1.5f, 11.5f, 1.5f, 9.5f}), kWhite);
        break;
    case 1:  // eraser
        c.draw(rotated(rect(2, 4.5f, 11, 9, 1), 6.5f, 6.5f, -35), kWhite);
        c.draw(rotated(rect(2, 4.5f, 5.5f, 9), 6.5f, 6.5f, -35), Col{}, Blend::Replace);
        break;
    case 2: c.draw(rect(0.5f, 0.5f, 12.5f, 12.5f), kWhite); break;
    case 3: c.draw(circle(6.5f, 6.5f, 6.2f), kWhite); break;
    case 4: c.draw(circle(6.5f, 6.5f, 1.5f), kWhite); break;
    case 5: c.draw(circle(6.5f, 6.5f, 2.5f), kWhite); break;
    case 6: c.draw(circle(6.5f, 6.5f, 3.6f), kWhite); break;
    case 7: c.draw(circle(6.5f, 6.5f, 4.8f), kWhite); break;
    case 8: c.draw(circle(6.5f, 6.5f, 6.2f), kWhite); break;
    case 9:  // objects
        c.draw(rect(1, 4, 9, 12, 1), kWhite);
        c.draw(star_shape(9.5f, 3.8f, 3.8f), kWhite);
        break;
    case 10:  // open folder
        c.draw(polygon({0.5f, 2.5f, 4.5f, 2.5f, 5.5f, 4, 11, 4, 11, 6, 0.5f, 6}), kWhite);
        c.draw(polygon({2, 6.8f, 12.5f, 6.8f, 10.5f, 11.5f, 0.5f, 11.5f}), kWhite);
        break;
    case 11:  // disk
        c.draw(rect(0.5f, 0.5f, 12.5f, 12.5f, 1.2f), kWhite);
        c.draw(rect(3, 0.5f, 9.5f, 4.5f), Col{}, Blend::Replace);
        c.draw(rect(7, 1.2f, 8.6f, 3.8f), kWhite);
        c.draw(rect(2.5f, 7, 10.5f, 12.5f), Col{}, Blend::Replace);
        break;
    case 12:  // grid
        for (int k = 0; k < 4; k++) {
            c.draw(rect(0.5f + k * 3.8f, 0.5f, 1.6f + k * 3.8f, 12.5f), kWhite);
            c.draw(rect(0.5f, 0.5f + k * 3.8f, 12.5f, 1.6f + k * 3.8f), kWhite);
        }
        break;
    case 13: c.draw(polygon({6.5f, 0.5f, 12.5f, 12, 0.5f, 12}), kWhite); break;
    default:  // flag
        c.draw(rect(2, 1, 3.3f, 12.5f), kWhite);
        c.draw(polygon({3.3f, 1, 11.5f, 3.8f, 3.3f, 6.8f}), kWhite);
        break;
    }
    c.harden();
    return c;
}

// Terrain style swatches: a hill of the style's ground under its sky.
Canvas style_cell(int i) {
    static const Col tops[9] = {rgb(90, 190, 50), rgb(230, 200, 120), rgb(120, 110, 110), rgb(250, 250, 255), rgb(230, 120, 80),
                                rgb(90, 190, 50), rgb(230, 200, 120), rgb(250, 250, 255), rgb(230, 120, 80)};
    static const Col grounds[9] = {rgb(120, 80, 50), rgb(210, 150, 80), rgb(50, 46, 48), rgb(150, 165, 190), rgb(170, 80, 50),
                                   rgb(130, 122, 108), rgb(200, 140, 80), rgb(132, 142, 162), rgb(120, 60, 40)};
    Canvas c(13, 13);
    c.draw(rect(0, 0, 13, 13), linear(0, 0, rgb(90, 130, 200), 0, 13, rgb(170, 200, 240)));
    Shape hill = unite(ellipse(5, 13, 7, 7.5f), ellipse(11, 13, 4, 5));
    c.draw(hill, grounds[i]);
    c.draw(subtract(hill, translated(hill, 0, 2)), tops[i]);
    c.harden();
    return c;
}

Canvas form_cell(int i) {
    Canvas c(13, 13);
    const Col sky = rgb(110, 150, 215), ground = rgb(150, 105, 70), top = rgb(90, 190, 50);
    c.draw(rect(0, 0, 13, 13), sky);
    Shape g = rect(0, 20, 1, 21);
    switch (i) {
    case 0: g = unite(ellipse(4, 13, 6, 6), ellipse(10, 13, 4, 4)); break;
    case 1: g = unite(unite(ellipse(4, 13, 5, 4), ellipse(10, 13, 4, 3)), ellipse(8.5f, 4, 3, 1.6f)); break;
    case 2: g = unite(ellipse(4, 5, 3, 1.8f), ellipse(9.5f, 9, 3, 1.8f)); break;
    case 3: g = subtract(rect(0, 0, 13, 13), ellipse(6.5f, 7, 5, 4)); break;
    case 4: g = subtract(rect(0, 0, 13, 13), unite(ellipse(6.5f, 7, 5, 4), rect(0, 4, 13, 10))); break;
    default: break;
    }
    c.draw(g, ground);
    c.draw(subtract(g, translated(g, 0, 1.5f)), top);
    if (i == 5) label(c, "?", 6.5f, 11, 9, kWhite, 1.0f);
    c.harden();
    return c;
}

// ------------------------------------------------------------- big pictures

void keycap(Canvas& c, float x, float y, float w, const std::string& text, Shape glyph = {}) {
    Shape k = rect(x, y, x + w, y + 26, 5);
    c.draw(translated(k, 0, 2.5f), rgb(0, 0, 0, 0.45f));
    c.draw(grow(k, 1), kInk);
    c.draw(k, bevel(k, linear(0, y, rgb(245, 246, 250), 0, y + 26, rgb(200, 205, 215)), 3.5f, 0.45f));
    if (!text.empty()) label(c, text, x + w / 2, y + 18, 10, kInk, 1.1f);
    if (glyph.d) c.draw(glyph, kInk);
}

Canvas controls() {
    Canvas c(400, 230);
    panel(c, 0.5f, 0.5f, 399.5f, 229.5f, 12, rgb(14, 18, 30, 0.85f));
    label(c, "CONTROLS", 200, 22, 11, rgb(255, 220, 90), 1.3f);
    auto row_label = [&](const std::string& s, float y) {
        TextStyle ts;
        ts.cap = 10;
        ts.weight = 1.0f;
        ts.spacing = 2.2f;
        c.draw(text_shape(s, 230, y + 18, ts), kWhite);
    };
    auto arrow_glyph = [](float cx, float cy, float ang) {
        Shape a = polygon({cx, cy - 6, cx + 5.5f, cy + 2, cx + 2, cy + 2, cx + 2, cy + 6, cx - 2, cy + 6, cx - 2, cy + 2, cx - 5.5f, cy + 2});
        return rotated(a, cx, cy, ang);
    };
    float y = 34;
    keycap(c, 30, y, 28, "", arrow_glyph(44, y + 13, -90));
    keycap(c, 62, y, 28, "", arrow_glyph(76, y + 13, 90));
    label(c, "or", 110, y + 18, 8, rgb(180, 190, 210), 0.8f);
    keycap(c, 128, y, 28, "A");
    keycap(c, 160, y, 28, "D");
    row_label("walk", y);
    y += 32;
    keycap(c, 30, y, 28, "", arrow_glyph(44, y + 13, 0));
    keycap(c, 62, y, 28, "", arrow_glyph(76, y + 13, 180));
    label(c, "or", 110, y + 18, 8, rgb(180, 190, 210), 0.8f);
    keycap(c, 128, y, 28, "W");
    keycap(c, 160, y, 28, "S");
    row_label("aim", y);
    y += 32;
    keycap(c, 30, y, 60, "Ctrl");
    row_label("jump", y);
    y += 32;
    keycap(c, 30, y, 60, "Shift");
    row_label("back jump", y);
    y += 32;
    keycap(c, 30, y, 158, "Space");
    row_label("attack", y);
    y += 32;
    // Right mouse button.
    Shape body = rect(100, y - 2, 120, y + 28, 9);
    c.draw(grow(body, 1), kInk);
    c.draw(body, bevel(body, solid(rgb(235, 238, 245)), 3, 0.5f));
    c.draw(intersect(body, rect(110.6f, 0, 200, y + 9)), rgb(230, 50, 40));
    c.draw(rect(109.6f, y - 2, 110.6f, y + 9), kInk);
    row_label("weapons", y);
    return c;
}

// A fighter of our own drawn large for the menu pictures: body, shirt in a
// colour, face and optional hat, lit like the small sprite.
void big_fighter(Canvas& c, float x, float y, float s, Col shirt, bool flip = false, int mood = 0) {
    auto X = [&](float v) { return flip ? x + (32 - v) * s : x + v * s; };
    auto Y = [&](float v) { return y + v * s; };
    const Col skin = rgb(250, 190, 160), line = rgb(72, 38, 38);
    Shape head = circle(X(16.5f), Y(11), 6.3f * s);
    Shape torso = ellipse(X(16), Y(20.5f), 5.7f * s, 6.4f * s);
    Shape boots = unite(ellipse(X(13.3f), Y(26.6f), 2.8f * s, 1.8f * s), ellipse(X(19.2f), Y(26.6f), 2.8f * s, 1.8f * s));
    Shape arm = unite(capsule(X(19.5f), Y(18), X(22.5f), Y(20.5f), 1.2f * s), circle(X(22.5f), Y(20.5f), 1.8f * s));
    Shape all = unite(unite(head, torso), unite(boots, arm));
    c.draw(grow(all, 1.0f * s), line);
    c.draw(boots, dome(boots, solid(rgb(86, 60, 44)), 2 * s, 0.5f));
    c.draw(torso, dome(torso, solid(skin), 4 * s, 0.45f));
    Shape sh = intersect(torso, rect(0, Y(17), 1000, 1000));
    c.draw(sh, dome(torso, solid(shirt), 4 * s, 0.5f));
    c.draw(intersect(sh, rect(0, Y(23), 1000, Y(24.3f))), rgb(60, 50, 50));
    c.draw(grow(head, 0.6f * s), line);
    c.draw(head, dome(head, solid(skin), 4.5f * s, 0.5f));
    c.draw(grow(arm, 0.5f * s), line);
    c.draw(arm, dome(arm, solid(skin), 1.5f * s, 0.45f));
    for (float ex : {17.8f, 21.0f}) {
        c.draw(ellipse(X(ex), Y(10.3f), 1.35f * s, 1.9f * s), kWhite);
        c.draw(circle(X(ex + 0.5f), Y(10.6f), 0.95f * s), kInk);
    }
    if (mood == 0) c.draw(polyline({X(18.4f), Y(14), X(19.9f), Y(14.8f), X(21.4f), Y(13.8f)}, 0.55f * s), rgb(120, 30, 40));
    else c.draw(intersect(circle(X(20), Y(13.3f), 2.3f * s), rect(0, Y(13.4f), 1000, 1000)), rgb(120, 30, 40));
}

Canvas menu_picture(int which) {
    Canvas c(200, 160);
    Shape frame = rect(4, 4, 196, 156, 18);
    c.draw(grow(frame, 3), kInk);
    c.draw(frame, linear(0, 4, rgb(110, 150, 215), 0, 156, rgb(190, 215, 245)));
    Canvas in(200, 160);
    switch (which) {
    case 0: {  // mission: a flag on a far hill, a fighter setting off
        in.draw(ellipse(140, 150, 90, 55), linear(0, 95, rgb(110, 200, 70), 0, 160, rgb(60, 130, 40)));
        in.draw(ellipse(40, 165, 80, 45), linear(0, 120, rgb(90, 180, 60), 0, 170, rgb(50, 110, 35)));
        in.draw(rect(146, 48, 150, 100), rgb(90, 70, 50));
        Shape fl = polygon({150, 48, 185, 58, 150, 70});
        in.draw(grow(fl, 1.5f), kInk);
        in.draw(fl, bevel(fl, solid(rgb(230, 50, 40)), 3, 0.5f));
        big_fighter(in, 18, 62, 2.6f, rgb(60, 200, 80));
        break;
    }
    case 1: {  // hotseat: two fighters sharing one screen
        in.draw(rect(60, 18, 140, 80, 6), kInk);
        in.draw(rect(65, 23, 135, 75, 3), linear(0, 23, rgb(90, 200, 255), 0, 75, rgb(40, 110, 200)));
        in.draw(ellipse(100, 80, 40, 10), rgb(110, 180, 70), Blend::Atop);
        in.draw(rect(94, 80, 106, 96), kInk);
        in.draw(rect(80, 94, 120, 100, 2), kInk);
        big_fighter(in, -2, 70, 2.7f, rgb(240, 60, 50));
        big_fighter(in, 112, 70, 2.7f, rgb(60, 110, 250), true);
        break;
    }
    case 2: {  // host: a globe sending signals
        Shape g = circle(100, 84, 46);
        in.draw(grow(g, 2), kInk);
        in.draw(g, dome(g, [](float x, float y) {
            float n = fbm(x / 22, y / 22, 4, 3101);
            return n > 0.52f ? rgb(80, 180, 70) : rgb(40, 110, 220);
        }, 30, 0.6f));
        for (int k = 0; k < 3; k++) {
            in.draw(intersect(ring(100, 84, 56 + k * 12, 2.5f), polygon({100, 84, 40, -40, 160, -40})), rgb(255, 240, 120, 1 - k * 0.25f));
        }
        big_fighter(in, 120, 88, 2.0f, rgb(250, 200, 40));
        break;
    }
    default: {  // join: a fighter jumping towards a globe
        Shape g = circle(140, 96, 40);
        in.draw(grow(g, 2), kInk);
        in.draw(g, dome(g, [](float x, float y) {
            float n = fbm(x / 22, y / 22, 4, 3102);
            return n > 0.52f ? rgb(80, 180, 70) : rgb(40, 110, 220);
        }, 26, 0.6f));
        Shape a = rotated(polygon({20, 80, 70, 80, 70, 66, 96, 92, 70, 118, 70, 104, 20, 104}), 58, 92, -20);
        in.draw(grow(a, 2), kInk);
        in.draw(a, bevel(a, solid(rgb(250, 200, 40)), 4, 0.5f));
        big_fighter(in, 6, 16, 2.4f, rgb(180, 60, 255), false, 1);
        break;
    }
    }
    // Keep the drawing inside the frame.
    for (int y = 0; y < 160; y++)
        for (int x = 0; x < 200; x++) in.blend_px(x, y, rgb(0, 0, 0), clamp01(0.5f + frame(x + 0.5f, y + 0.5f)), Blend::Erase);
    c.blit(in, 0, 0);
    // Glassy highlight at the top.
    c.draw(intersect(frame, ellipse(100, 0, 120, 40)), rgb(255, 255, 255, 0.18f));
    return c;
}

}  // namespace

void add_interface_art(Registry& reg) {
    reg.image("gfx/attention.png", Fmt::Png, attention);
    reg.image("gfx/check0.png", Fmt::Png, [] { return check_box(false); });
    reg.image("gfx/check1.png", Fmt::Png, [] { return check_box(true); });
    reg.image("gfx/gui_input.png", Fmt::Png, [] {
        Canvas c(300, 24);
        panel(c, 0.5f, 0.5f, 299.5f, 23.5f, 7, rgb(10, 14, 26, 0.7f));
        return c;
    });
    reg.image("gfx/gui_selectlist.png", Fmt::Png, [] {
        Canvas c(200, 21);
        panel(c, 0.5f, 0.5f, 199.5f, 20.5f, 6, rgb(10, 14, 26, 0.55f), rgb(150, 165, 200, 0.6f));
        return c;
    });
    reg.image("gfx/gui_mbutton.png", Fmt::Png, mbutton);
    reg.image("gfx/ping.png", Fmt::Png, ping_icon);
    reg.image("gfx/ready.png", Fmt::Png, ready_icon);
    reg.image("gfx/gui_storm.png", Fmt::Png, storm_panel);
    reg.anim("gfx/gui_storm_thingy.png", Fmt::Png, 2, 16, 13, storm_streak);
    reg.image("gfx/gui_clock.png", Fmt::Png, clock_shape);
    reg.image("gfx/healthbar.bmp", Fmt::BmpMagenta, healthbar);
    reg.image("gfx/gui_wpnsel.png", Fmt::Png, tab);
    reg.image("gfx/controls.png", Fmt::Png, controls);
    reg.image("gfx/arrow.png", Fmt::Png, arrow);
    reg.anim("gfx/gui_extra.bmp", Fmt::BmpMagenta, 13, 13, 12, [] {
        std::vector<Canvas> v;
        for (int i = 0; i < 12; i++) v.push_back(extra_cell(i));
        return strip(v);
    });
    reg.anim("gfx/gui_editor.bmp", Fmt::BmpMagenta, 13, 13, 15, [] {
        std::vector<Canvas> v;
        for (int i = 0; i < 15; i++) v.push_back(editor_cell(i));
        return strip(v);
    });
    reg.image("gfx/pointer.png", Fmt::Png, [] { return pointer(false); });
    reg.image("gfx/pointer_click.png", Fmt::Png, [] { return pointer(true); });
    reg.image("gfx/gui_pw.bmp", Fmt::BmpMagenta, lock_icon);
    reg.image("gfx/action.png", Fmt::Png, action_icon);
    reg.mask("gfx/gui_wset.bmp", 7, 7, 10, wset_marks);
    reg.image("gfx/gui_mbl.png", Fmt::Png, [] { return mouse_icon(false); });
    reg.image("gfx/gui_mbr.png", Fmt::Png, [] { return mouse_icon(true); });
    reg.image("gfx/gui_yes.png", Fmt::Png, [] { return yes_no(true); });
    reg.image("gfx/gui_no.png", Fmt::Png, [] { return yes_no(false); });
    reg.image("gfx/gui_gameender.png", Fmt::Png, gameender);
    reg.anim("gfx/gui_score.bmp", Fmt::BmpMagenta, 14, 18, 3, [] {
        return strip({score_cell(0), score_cell(1), score_cell(2)});
    });
    reg.image("gfx/menu_mission.png", Fmt::Png, [] { return menu_picture(0); });
    reg.image("gfx/menu_hotseat.png", Fmt::Png, [] { return menu_picture(1); });
    reg.image("gfx/menu_host.png", Fmt::Png, [] { return menu_picture(2); });
    reg.image("gfx/menu_join.png", Fmt::Png, [] { return menu_picture(3); });
    reg.mask("gfx/gui_load.bmp", 0, 0, 1, load_mark);
    reg.mask("gfx/editor_grid.bmp", 0, 0, 1, editor_grid);
    reg.image("gfx/icon_x.png", Fmt::Png, [] { return icon_disc(false); });
    reg.image("gfx/icon_ok.png", Fmt::Png, [] { return icon_disc(true); });
    reg.image("gfx/icon_weapons.png", Fmt::Png, icon_weapons);
    reg.image("gfx/icon_tools.png", Fmt::Png, icon_tools);
    reg.image("gfx/icon_supply.png", Fmt::Png, [] { return crate_picture(32); });
    reg.image("gfx/icon_medikit.png", Fmt::Png, [] { return medikit_picture(32); });
    reg.image("gfx/icon_movement.png", Fmt::Png, icon_movement);
    reg.anim("gfx/terrain_style.bmp", Fmt::BmpMagenta, 13, 13, 9, [] {
        std::vector<Canvas> v;
        for (int i = 0; i < 9; i++) v.push_back(style_cell(i));
        return strip(v);
    });
    reg.anim("gfx/terrain_form.bmp", Fmt::BmpMagenta, 13, 13, 6, [] {
        std::vector<Canvas> v;
        for (int i = 0; i < 6; i++) v.push_back(form_cell(i));
        return strip(v);
    });
}

}  // namespace ma
