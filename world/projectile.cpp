// Script projectiles (stand-in: the list).
#include "world/projectile.h"

std::list<std::shared_ptr<Tpro>> Tpro::list;
int Tpro::nextid = 0;

std::shared_ptr<Tpro> Tpro::Create() {
    auto p = std::make_shared<Tpro>();
    p->id = ++nextid;
    p->active = 1;
    list.push_back(p);
    return p;
}

int Tpro::Remove(int id) {
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)->id == id) {
            list.erase(it);
            break;
        }
    return 0;
}

std::shared_ptr<Tpro> Tpro::get(int id) {
    for (auto& p : list)
        if (p->id == id) return p;
    return nullptr;
}

int Tpro::draw(int, int) { return 0; }
