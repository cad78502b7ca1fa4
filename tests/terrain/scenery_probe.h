// Reading the scenery grid and the surface nodes back for comparison in tests.
#pragma once

#include <tuple>
#include <utility>
#include <vector>

#include "terrain/nodes.h"
#include "terrain/scenery_grid.h"

// Every field of a sprite that creation sets, with the cell and list it sits in.
struct SpriteRecord {
    int cx, cy, front;
    int typ, sub;
    float x, y, sx, sy;
    int r, g, b;
    float a;
    int t, sway, swaysp;
    auto key() const { return std::tie(cx, cy, front, typ, sub, x, y, sx, sy, r, g, b, a, t, sway, swaysp); }
    bool operator==(const SpriteRecord& o) const { return key() == o.key(); }
};

// All sprites, columns outer, rows inner, back list before front list.
inline std::vector<SpriteRecord> scenery_records() {
    std::vector<SpriteRecord> out;
    for (int cx = 0; cx <= Tscc::w; ++cx)
        for (int cy = 0; cy <= Tscc::h; ++cy)
            for (int front = 0; front < 2; ++front)
                for (const auto& s : front ? Tscc::map[cx][cy].listf() : Tscc::map[cx][cy].list())
                    out.push_back({cx, cy, front, s->typ, s->sub, s->x, s->y, s->sx, s->sy, s->r, s->g, s->b, s->a,
                                   s->t, s->sway, s->swaysp});
    return out;
}

inline int count_kind(const std::vector<SpriteRecord>& v, int typ) {
    int n = 0;
    for (const auto& s : v) n += s.typ == typ;
    return n;
}

inline std::vector<std::pair<int, int>> node_list() {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < Tmap_tn::peak; ++i) out.emplace_back(Tmap_tn::a[i].x, Tmap_tn::a[i].y);
    return out;
}
