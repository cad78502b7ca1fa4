// Script projectiles.
#include "world/projectile.h"

#include <cstdint>
#include <string>

#include "core/shared_state.h"
#include "platform/system.h"

std::list<Tpro::Ptr> Tpro::list;
int Tpro::nextid = 0;

namespace {

uint64_t s_created = 0;   // creation counter behind Tpro::order

}  // namespace

Tpro::Ptr Tpro::Create() {
    auto p = std::make_shared<Tpro>();
    p->order = ++s_created;
    list.push_back(p);
    p->self = std::prev(list.end());
    p->listed = true;
    p->id = ++nextid;
    p->active = 1;
    return p;
}

int Tpro::Remove(int id) {
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)->id == id) {
            (*it)->listed = false;
            list.erase(it);
            break;
        }
    return 0;
}

int Tpro::clear() {
    for (auto& p : list) p->listed = false;
    list.clear();
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
        if (listed) {
            listed = false;
            list.erase(self);
        }
        return 0;
    }
    // By value: a callback may remove this projectile (the caller's handle
    // keeps the record alive), and the script reads the id through lua_pro.
    const int own = id, type = typ;
    lua_pro = own;
    if (drawflag != 0) lua_projectile_draw(type, own);
    if (updateflag != 0) lua_projectile_update(type, own);
    return 0;
}

int Tpro::draw(int drawflag, int updateflag) {
    // A callback may create projectiles (appended, so visited in this pass)
    // or remove any of them, itself included. The list is in creation order,
    // so when the current one left it the walk goes on with the first one
    // created after it, searching from the last visited one still listed.
    Ptr anchor;
    auto it = list.begin();
    while (it != list.end()) {
        const Ptr p = *it;
        p->update(drawflag, updateflag);
        if (p->listed) {
            anchor = p;
            it = std::next(p->self);
            continue;
        }
        it = anchor && anchor->listed ? std::next(anchor->self) : list.begin();
        while (it != list.end() && (*it)->order <= p->order) ++it;
    }
    return 0;
}
