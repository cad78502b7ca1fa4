// Scenery grid: storing, drawing and knocking off the sprites per tile.
#include "terrain/scenery_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/random.h"
#include "terrain/tiles.h"

Tmap_grid<Tscc> Tscc::map;
int Tscc::w = -1;
int Tscc::h = -1;

namespace {

// Inclusive cell range of a check, from map bounds divided by 100 with
// truncation toward zero and clamped to the grid; false when empty.
bool cell_range(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int& cx0, int& cy0, int& cx1, int& cy1) {
    int64_t a = std::max<int64_t>(x0 / 100, 0), b = std::max<int64_t>(y0 / 100, 0);
    int64_t c = std::min<int64_t>(x1 / 100, Tscc::w), d = std::min<int64_t>(y1 / 100, Tscc::h);
    if (a > c || b > d) return false;
    cx0 = (int)a, cy0 = (int)b, cx1 = (int)c, cy1 = (int)d;
    return true;
}

void knock_off(Tsc& s) {
    s.kill = 1;
    s.fx = (float)Rnd(-3, 3);
    s.fy = (float)Rnd(-3, 3);
}

// Walks the cells of the range, back list before front list, and knocks off
// every sprite that hit accepts.
template <class Hit>
void check_cells(int cx0, int cy0, int cx1, int cy1, Hit hit) {
    for (int cx = cx0; cx <= cx1; ++cx) {
        Tscc* col = Tscc::map[cx];
        for (int cy = cy0; cy <= cy1; ++cy) {
            const Tscc::Lists* l = col[cy].lists.get();
            if (!l) continue;
            for (const auto& s : l->list)
                if (hit(*s)) knock_off(*s);
            for (const auto& s : l->listf)
                if (hit(*s)) knock_off(*s);
        }
    }
}

// The cell index of a sprite coordinate, or -1 when it lies outside 0..max.
int cell_of(float v, int max) {
    float q = v / 100.0f;
    if (!(q > -1.0f && q < (float)max + 1.0f)) return -1;   // also NaN
    return (int)q;
}

}  // namespace

const Tsc_list& Tscc::no_sprites() {
    static const Tsc_list none;
    return none;
}

int Tscc::setup() {
    map.reset(map_xtiles, map_ytiles);
    w = map_xtiles - 1;
    h = map_ytiles - 1;
    return 0;
}

int Tscc::clear() {
    if (w < 0 || h < 0) return 0;
    for (auto& cell : map.cells) cell.lists.reset();
    return 0;
}

int Tscc::add(const std::shared_ptr<Tsc>& sprite, int front, int first) {
    if (!sprite) return 0;
    int cx = cell_of(sprite->x, w), cy = cell_of(sprite->y, h);
    if (cx < 0 || cy < 0 || cx > w || cy > h) return 0;
    std::unique_ptr<Lists>& cell = map[cx][cy].lists;
    if (!cell) cell = std::make_unique<Lists>();
    Tsc_list& l = front != 0 ? cell->listf : cell->list;
    if (first != 0)
        l.push_front(sprite);
    else
        l.push_back(sprite);
    return 0;
}

int Tscc::draw(int front, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, w);
    y1 = std::min(y1, h);
    for (int cx = x0; cx <= x1; ++cx) {
        Tscc* col = map[cx];
        for (int cy = y0; cy <= y1; ++cy) {
            if (!col[cy].lists) continue;
            Tsc_list& l = front != 0 ? col[cy].lists->listf : col[cy].lists->list;
            for (auto it = l.begin(); it != l.end();) {
                // The sprite may take itself out of l: step on first, and
                // hold it until its draw has returned.
                std::shared_ptr<Tsc> s = *it++;
                s->draw(l);
            }
        }
    }
    return 0;
}

int Tscc::check_circle(int x, int y, int r) {
    int cx0, cy0, cx1, cy1;
    if (!cell_range((int64_t)x - r, (int64_t)y - r, (int64_t)x + r, (int64_t)y + r, cx0, cy0, cx1, cy1)) return 0;
    check_cells(cx0, cy0, cx1, cy1, [&](const Tsc& s) {
        double dx = (double)x - s.x, dy = (double)y - s.y;
        return std::sqrt(dx * dx + dy * dy) <= (double)r;
    });
    return 0;
}

int Tscc::check_rect(int x, int y, int w, int h) {
    int cx0, cy0, cx1, cy1;
    if (!cell_range(x, y, (int64_t)x + w, (int64_t)y + h, cx0, cy0, cx1, cy1)) return 0;
    const double xl = x, yl = y, xr = (double)x + w, yb = (double)y + h;
    check_cells(cx0, cy0, cx1, cy1,
                [&](const Tsc& s) { return s.x >= xl && s.x <= xr && s.y >= yl && s.y <= yb; });
    return 0;
}
