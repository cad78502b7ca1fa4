// Teams (stand-in until the game world exists).
#include "world/team.h"

#include "world/player.h"

std::list<std::shared_ptr<Tteam>> Tteam::list;

std::shared_ptr<Tteam> Tteam::weaponmenuteam() { return list.empty() ? nullptr : list.front(); }

std::shared_ptr<Tteam> Tteam::get(int id) {
    for (auto& t : list)
        if (t->id == id) return t;
    return nullptr;
}

int Tteam::livingplayers() const {
    int n = 0;
    for (auto& p : Tplayer::list)
        if (p->team == id && p->health > 0) ++n;
    return n;
}

int Tteam::needspawnplayers() const {
    int n = 0;
    for (auto& p : Tplayer::list)
        if (p->team == id && p->health == 0 && p->x == -5000 && p->y == -5000) ++n;
    return n;
}
