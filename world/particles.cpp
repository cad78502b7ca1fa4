// Particles (stand-in until the game world exists: kept, not drawn).
#include "world/particles.h"

#include "core/shared_state.h"

std::array<std::list<std::shared_ptr<Tp>>, 3> Tp::list;

std::shared_ptr<Tp> Tp::Create(int kind, int x, int y, int layer) {
    auto p = std::make_shared<Tp>();
    p->kind = kind;
    p->x = (float)x;
    p->y = (float)y;
    if (layer >= 0 && layer < 3) list[layer].push_back(p);
    return p;
}

int Tp::clear() {
    for (auto& l : list) l.clear();
    return 0;
}

int particles_add(int kind, int x, int y, int layer) {
    Tp::Create(kind, x, y, layer);
    return 0;
}

int particles_add(int kind, int x, int y, int layer, int r, int g, int b) {
    std::shared_ptr<Tp> p = Tp::Create(kind, x, y, layer);
    p->r = r;
    p->g = g;
    p->b = b;
    return 0;
}

int particles_clear() { return Tp::clear(); }
