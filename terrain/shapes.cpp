// Terrain shapes (stand-in: the list and add).
#include "terrain/shapes.h"

std::list<std::shared_ptr<Tmap_shape>> Tmap_shape::list;

std::shared_ptr<Tmap_shape> Tmap_shape::add(int id, int x, int y, int w, int h) {
    auto s = std::make_shared<Tmap_shape>();
    s->id = id;
    s->x = x;
    s->y = y;
    s->w = w;
    s->h = h;
    list.push_back(s);
    return s;
}
