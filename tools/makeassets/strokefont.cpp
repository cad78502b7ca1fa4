// Stroke font glyph outlines and text layout.
//
// Each glyph is its advance width and a path program: "M x y" starts a new
// stroke at a point, "L x y" draws to a point, "A cx cy r a0 a1" and
// "E cx cy rx ry a0 a1" add a circular or elliptic arc from angle a0 to a1
// (degrees, counter-clockwise with y up) to the current stroke, and "N" ends
// the current stroke without starting a new one.
#include "tools/makeassets/strokefont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>

namespace ma {
namespace {

struct Glyph {
    float advance;
    const char* path;
};

const std::map<char, Glyph>& glyphs() {
    static const std::map<char, Glyph> table = {
        {'A', {9, "M0 0 L4.5 10 L9 0 M1.8 3.5 L7.2 3.5"}},
        {'B', {7.5f, "M0 0 L0 10 L4.2 10 A4.2 7.5 2.5 90 -90 L0 5 M4.2 5 L4.6 5 A4.6 2.5 2.5 90 -90 L0 0"}},
        {'C', {9, "A5 5 5 45 315"}},
        {'D', {8, "M0 0 L0 10 L3 10 A3 5 5 90 -90 L0 0"}},
        {'E', {7, "M7 10 L0 10 L0 0 L7 0 M0 5 L5.5 5"}},
        {'F', {7, "M7 10 L0 10 L0 0 M0 5 L5.5 5"}},
        {'G', {10, "A5 5 5 45 360 L6 5"}},
        {'H', {8, "M0 0 L0 10 M8 0 L8 10 M0 5 L8 5"}},
        {'I', {0, "M0 0 L0 10"}},
        {'J', {6, "M6 10 L6 3 A3 3 3 0 -160"}},
        {'K', {7.5f, "M0 0 L0 10 M7 10 L0 3.5 M2.4 5.6 L7.5 0"}},
        {'L', {6.5f, "M0 10 L0 0 L6.5 0"}},
        {'M', {10, "M0 0 L0 10 L5 3 L10 10 L10 0"}},
        {'N', {8, "M0 0 L0 10 L8 0 L8 10"}},
        {'O', {10, "A5 5 5 0 360"}},
        {'P', {7, "M0 0 L0 10 L4 10 A4 7.25 2.75 90 -90 L0 4.5"}},
        {'Q', {10, "A5 5 5 0 360 M6 2.5 L10 -1"}},
        {'R', {7.5f, "M0 0 L0 10 L4 10 A4 7.25 2.75 90 -90 L0 4.5 M3.6 4.5 L7.5 0"}},
        {'S', {8, "E4 7.5 3.6 2.5 25 270 E4 2.5 3.9 2.5 90 -155"}},
        {'T', {8, "M0 10 L8 10 M4 10 L4 0"}},
        {'U', {8, "M0 10 L0 4 A4 4 4 180 360 L8 10"}},
        {'V', {9, "M0 10 L4.5 0 L9 10"}},
        {'W', {13, "M0 10 L3 0 L6.5 8 L10 0 L13 10"}},
        {'X', {8, "M0 0 L8 10 M0 10 L8 0"}},
        {'Y', {9, "M0 10 L4.5 5 L9 10 M4.5 5 L4.5 0"}},
        {'Z', {8, "M0 10 L8 10 L0 0 L8 0"}},
        {'a', {7, "A3.5 3.5 3.5 0 360 M7 7 L7 0"}},
        {'b', {7, "M0 10.5 L0 0 N A3.5 3.5 3.5 0 360"}},
        {'c', {7, "A3.5 3.5 3.5 45 315"}},
        {'d', {7, "A3.5 3.5 3.5 0 360 M7 10.5 L7 0"}},
        {'e', {7, "M0.2 3.5 L7 3.5 A3.5 3.5 3.5 0 320"}},
        {'f', {5.5f, "M5.6 10 A4 8.5 2 50 180 L2 0 M0 7 L5 7"}},
        {'g', {7, "A3.5 3.5 3.5 0 360 M7 7 L7 -0.5 E3.5 -0.5 3.5 3 0 -160"}},
        {'h', {7, "M0 10.5 L0 0 M0 3.5 A3.5 3.5 3.5 180 0 L7 0"}},
        {'i', {0, "M0 0 L0 7 M0 9.6 L0 9.7"}},
        {'j', {2, "M2 7 L2 -1 E0 -1 2 2 0 -140 M2 9.6 L2 9.7"}},
        {'k', {6.5f, "M0 0 L0 10.5 M6 7 L0 2.5 M2 3.9 L6.5 0"}},
        {'l', {0, "M0 10.5 L0 0"}},
        {'m', {11, "M0 0 L0 7 M0 4.25 A2.75 4.25 2.75 180 0 L5.5 0 M5.5 4.25 A8.25 4.25 2.75 180 0 L11 0"}},
        {'n', {7, "M0 0 L0 7 M0 3.5 A3.5 3.5 3.5 180 0 L7 0"}},
        {'o', {7, "A3.5 3.5 3.5 0 360"}},
        {'p', {7, "M0 7 L0 -3 N A3.5 3.5 3.5 0 360"}},
        {'q', {7, "A3.5 3.5 3.5 0 360 M7 7 L7 -3"}},
        {'r', {5.5f, "M0 0 L0 7 M0 3.5 A4 3.5 3.5 180 70"}},
        {'s', {6, "E3 5.2 2.9 1.8 25 270 E3 1.8 3.1 1.8 90 -155"}},
        {'t', {5, "M1.8 9.5 L1.8 2 A3.8 2 2 180 300 M0 7 L4.6 7"}},
        {'u', {7, "M0 7 L0 3.5 A3.5 3.5 3.5 180 360 M7 7 L7 0"}},
        {'v', {7, "M0 7 L3.5 0 L7 7"}},
        {'w', {10, "M0 7 L2.5 0 L5 6 L7.5 0 L10 7"}},
        {'x', {6.5f, "M0 0 L6.5 7 M0 7 L6.5 0"}},
        {'y', {7, "M0 7 L3.6 0.4 M7 7 L2 -3"}},
        {'z', {6.5f, "M0 7 L6.5 7 L0 0 L6.5 0"}},
        {'0', {8, "E4 5 4 5 0 360"}},
        {'1', {4, "M0.5 8 L3.5 10 L3.5 0"}},
        {'2', {8, "A4 6.5 3.5 150 -30 L0 0 L8 0"}},
        {'3', {7.5f, "A3.8 7.6 2.4 150 -90 A3.8 2.6 2.8 90 -150"}},
        {'4', {8, "M6 0 L6 10 L0 3 L8 3"}},
        {'5', {7.5f, "M7 10 L1.2 10 L0.7 5.6 A3.8 3.3 3.3 135 -150"}},
        {'6', {7.6f, "A3.8 3.3 3.3 0 360 N M0.5 3.3 E5 3.3 4.5 6.7 180 80"}},
        {'7', {7.5f, "M0 10 L7.5 10 L2.5 0"}},
        {'8', {7.6f, "A3.8 7.6 2.4 0 360 N A3.8 2.6 2.8 0 360"}},
        {'9', {7.6f, "A3.8 6.7 3.3 0 360 N M7.1 6.7 E2.6 6.7 4.5 6.7 0 -100"}},
        {' ', {4, ""}},
        {'.', {0, "M0 0 L0 0.1"}},
        {',', {0.5f, "M0.5 0.3 L-0.4 -2"}},
        {'!', {0, "M0 10 L0 3 M0 0 L0 0.1"}},
        {'?', {7, "A3.5 7 3 160 -60 L3.5 3 M3.5 0 L3.5 0.1"}},
        {'-', {4.5f, "M0 4.5 L4.5 4.5"}},
        {'+', {7, "M0 4.5 L7 4.5 M3.5 1 L3.5 8"}},
        {'=', {6, "M0 6 L6 6 M0 3 L6 3"}},
        {':', {0, "M0 6 L0 6.1 M0 0 L0 0.1"}},
        {'/', {6, "M0 -1 L6 11"}},
        {'\'', {0, "M0 10.5 L0 7.5"}},
        {'(', {3, "E4 4 4 7 110 250"}},
        {')', {3, "E-1 4 4 7 70 -70"}},
        {'<', {6, "M6 8 L0 4.5 L6 1"}},
        {'>', {6, "M0 8 L6 4.5 L0 1"}},
        {'%', {9, "A2 8 1.6 0 360 N A7 2 1.6 0 360 N M0.5 0 L8.5 10"}},
        {'*', {5, "M2.5 10 L2.5 5 M0 8.8 L5 6.2 M0 6.2 L5 8.8"}},
    };
    return table;
}

struct Seg {
    float ax, ay, bx, by;
};

// Parses a glyph program into line segments in glyph units (y up).
std::vector<Seg> glyph_segments(const char* path) {
    std::vector<Seg> out;
    std::istringstream in(path);
    std::string cmd;
    bool have = false;
    float cx = 0, cy = 0;
    auto to = [&](float x, float y) {
        if (have) out.push_back({cx, cy, x, y});
        cx = x;
        cy = y;
        have = true;
    };
    while (in >> cmd) {
        char c = cmd[0];
        std::string rest = cmd.substr(1);
        auto num = [&](bool first) {
            if (first && !rest.empty()) return std::strtof(rest.c_str(), nullptr);
            float v = 0;
            in >> v;
            return v;
        };
        if (c == 'M') {
            float x = num(true), y = num(false);
            have = false;
            to(x, y);
        } else if (c == 'L') {
            float x = num(true), y = num(false);
            to(x, y);
        } else if (c == 'N') {
            have = false;
        } else if (c == 'A' || c == 'E') {
            float ax = num(true), ay = num(false), rx = num(false), ry = rx;
            if (c == 'E') ry = num(false);
            float a0 = num(false), a1 = num(false);
            int steps = std::max(4, (int)(std::fabs(a1 - a0) / 10));
            for (int i = 0; i <= steps; i++) {
                float a = (a0 + (a1 - a0) * i / steps) * kPi / 180.0f;
                to(ax + rx * std::cos(a), ay + ry * std::sin(a));
            }
        }
    }
    if (out.empty() && have) out.push_back({cx, cy, cx, cy});
    return out;
}

}  // namespace

float text_width(const std::string& text, const TextStyle& st) {
    float u = st.cap / 10.0f, w = 0;
    for (size_t i = 0; i < text.size(); i++) {
        auto it = glyphs().find(text[i]);
        float adv = it == glyphs().end() ? 6 : it->second.advance;
        w += adv * u;
        if (i + 1 < text.size()) w += st.spacing * u + 2 * st.weight;
    }
    return w + 2 * st.weight;
}

Shape text_shape(const std::string& text, float x, float baseline, const TextStyle& st) {
    struct PSeg {
        float ax, ay, bx, by;
    };
    auto segs = std::make_shared<std::vector<PSeg>>();
    float u = st.cap / 10.0f, pen = x + st.weight;
    for (char ch : text) {
        auto it = glyphs().find(ch);
        if (it == glyphs().end()) {
            pen += 6 * u + st.spacing * u + 2 * st.weight;
            continue;
        }
        for (const Seg& s : glyph_segments(it->second.path)) {
            float ax = pen + (s.ax + s.ay * st.slant) * u, ay = baseline - s.ay * u;
            float bx = pen + (s.bx + s.by * st.slant) * u, by = baseline - s.by * u;
            segs->push_back({ax, ay, bx, by});
        }
        pen += it->second.advance * u + st.spacing * u + 2 * st.weight;
    }
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const PSeg& s : *segs) {
        x0 = std::min({x0, s.ax, s.bx});
        x1 = std::max({x1, s.ax, s.bx});
        y0 = std::min({y0, s.ay, s.by});
        y1 = std::max({y1, s.ay, s.by});
    }
    float r = st.weight;
    if (segs->empty()) return {[](float, float) { return 1e9f; }, 0, 0, 0, 0};
    return {[segs, r](float px, float py) {
                float best = 1e18f;
                for (const PSeg& s : *segs) {
                    float ex = s.bx - s.ax, ey = s.by - s.ay, wx = px - s.ax, wy = py - s.ay;
                    // Cheap reject: a segment whose box is farther than the best distance.
                    float ee = ex * ex + ey * ey;
                    float t = ee > 0 ? clamp01((wx * ex + wy * ey) / ee) : 0;
                    float dx = wx - ex * t, dy = wy - ey * t;
                    best = std::min(best, dx * dx + dy * dy);
                }
                return std::sqrt(best) - r;
            },
            x0 - r - 1, y0 - r - 1, x1 + r + 1, y1 + r + 1};
}

}  // namespace ma
