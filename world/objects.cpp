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

std::list<std::shared_ptr<Tobj_fake>> Tobj_fake::list;

std::shared_ptr<Tobj> Tobj::get(int id) {
    for (auto& o : list)
        if (o->id == id) return o;
    return nullptr;
}

int Tobj::free(int id) {
    list.remove_if([id](const std::shared_ptr<Tobj>& o) { return o->id == id; });
    return 0;
}

// Stand-in behaviour: objects drift by their speed and come to rest.
int Tobj::update(int) {
    for (auto& o : list) {
        if (o->fx == 0 && o->fy == 0) {
            o->idle = 1;
            continue;
        }
        o->x += o->fx;
        o->y += o->fy;
        o->fx *= 0.5f;
        o->fy *= 0.5f;
        if (o->fx > -0.01f && o->fx < 0.01f) o->fx = 0;
        if (o->fy > -0.01f && o->fy < 0.01f) o->fy = 0;
    }
    return 0;
}

int Tobj::setdata(int value) {
    data = value;
    return 0;
}

int Tobj_fake::add(int id) {
    auto f = std::make_shared<Tobj_fake>();
    f->id = id;
    list.push_back(f);
    return 0;
}

int Tobj_fake::get(int id) {
    for (auto& f : list)
        if (f->id == id) return 1;
    return 0;
}

int Tobj_fake::free(int id) {
    list.remove_if([id](const std::shared_ptr<Tobj_fake>& f) { return f->id == id; });
    return 0;
}

int obj_create(int typ, int x, int y, int data, int id, int sfx) {
    std::shared_ptr<Tobj> o = Tobj::Create(typ, x, y, data, id, sfx);
    return o ? o->id : 0;
}
