// Game objects (stand-in: the list, creation and the global id block).
#include "world/objects.h"

#include "core/shared_state.h"

std::list<std::shared_ptr<Tobj>> Tobj::list;

int Tobj::getfreeid(int) {
    for (int id = 56001; id <= 65535; ++id) {
        bool used = false;
        for (auto& o : list)
            if (o->id == id) {
                used = true;
                break;
            }
        if (!used) return id;
    }
    return 0;
}

std::shared_ptr<Tobj> Tobj::Create(int typ, int x, int y, int data, int id, int) {
    auto o = std::make_shared<Tobj>();
    o->typ = typ;
    o->x = (float)x;
    o->y = (float)y;
    o->data = data;
    o->id = id == -1 ? getfreeid(0) : id;
    list.push_back(o);
    return o;
}

int obj_create(int typ, int x, int y, int data, int id, int sfx) {
    std::shared_ptr<Tobj> o = Tobj::Create(typ, x, y, data, id, sfx);
    return o ? o->id : 0;
}
