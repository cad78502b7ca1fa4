// Teams: a team's players, weapon stock and locks. (Stand-in: the fields and
// calls the world-event records and net players use.)
#pragma once

#include <cstdint>
#include <list>
#include <memory>

struct Tteam {
    int id = 0;
    int netplayer = 0;           // net player that plays the team
    int color = 0;               // 0..7, also the alliance
    int players = 1;
    uint8_t wamount[256] = {};   // count per weapon index, 0 none, 100 unlimited
    uint8_t wlocked[256] = {};   // 1 locked
    int recentcol[256] = {};     // frames a collected weapon counts as recent

    static std::list<std::shared_ptr<Tteam>> list;
    // The team whose weapons the local weapon menu shows, or null.
    static std::shared_ptr<Tteam> weaponmenuteam();
    static std::shared_ptr<Tteam> get(int id);
    int livingplayers() const;
    int needspawnplayers() const;
};
