// Particles (stand-in until the game world exists: kept, not drawn).
#include "world/particles.h"

#include "core/random.h"

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

// Stand-in: a red of varying depth, drawing the one random value the real
// colouring draws.
int Tp::bloodcolor() {
    r = Rand(100, 200);
    g = 0;
    b = 0;
    return 0;
}
