// Match-start placement (stand-in: creates and places the teams' players
// only; no mines, traps or seeding yet).
#include "world/map_stuff.h"

#include <algorithm>

#include "core/host_settings.h"
#include "world/player.h"
#include "world/team.h"

int map_stuffsetup() {
    int ok = 1;
    for (auto& t : Tteam::list) {
        for (int i = 0; i < t->players; ++i) {
            auto p = Tplayer::add(0, t->id);
            const std::string& entry = t->playernames[(size_t)std::min(i, 5)];
            size_t comma = entry.find(',');
            p->name = entry.substr(0, comma);
            if (comma != std::string::npos) p->accessory = std::atoi(entry.c_str() + comma + 1);
            p->dir = 1;
            if (set[7] == 1) {
                p->x = p->y = -5000;
                p->health = 0;
            } else {
                p->health = std::clamp(set[0], 1, 1000);
                if (!p->randomspawn()) ok = 0;
            }
        }
    }
    return ok;
}
