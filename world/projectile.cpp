// Script projectiles.
#include "world/projectile.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/shared_state.h"
#include "platform/system.h"

std::list<Tpro::Ptr> Tpro::list;
int Tpro::nextid = 0;

namespace {
uint64_t s_created = 0;   // creation counter behind Tpro::order
}

Tpro::Ptr Tpro::Create() {
    auto p = std::make_shared<Tpro>();
    p->order = ++s_created;
    list.push_back(p);
    p->id = ++nextid;
    p->active = 1;
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

Tpro::Ptr Tpro::get(int id) {
    for (auto& p : list)
        if (p->id == id) return p;
    return nullptr;
}

int Tpro::update(int drawflag, int updateflag) {
    if (active != 1) return 0;
    if (!script_projectilepath(typ, nullptr)) {
        std::string text = "Invalid projectile type: " + std::to_string(typ) + " - deleting projectile!";
        Notify(text);
        gui_addcon(text);
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->get() == this) {
                list.erase(it);
                break;
            }
        return 0;
    }
    lua_pro = id;
    // The handle keeps this record alive when its own callback removes it.
    const int own = id, type = typ;
    if (drawflag != 0) lua_projectile_draw(type, own);
    if (updateflag != 0) lua_projectile_update(type, own);
    return 0;
}

int Tpro::draw(int drawflag, int updateflag) {
    // A callback may create projectiles (appended, so visited in this pass)
    // or remove any of them, itself included. The walk holds the current one
    // by handle and, when it left the list, goes on with the first one
    // created after it.
    auto it = list.begin();
    while (it != list.end()) {
        const Ptr p = *it;
        p->update(drawflag, updateflag);
        auto here = std::find(list.begin(), list.end(), p);
        if (here != list.end()) {
            it = std::next(here);
        } else {
            it = std::find_if(list.begin(), list.end(), [&p](const Ptr& q) { return q->order > p->order; });
        }
    }
    return 0;
}
