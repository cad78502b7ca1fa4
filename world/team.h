// Teams: a team's players, weapon stock and locks.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

struct Tteam {
    int id = 0;
    uint8_t wamount[256] = {};   // count per weapon index, 0 none
    uint8_t wlocked[256] = {};   // 1 locked

    static std::list<std::shared_ptr<Tteam>> list;
    // The team whose weapons the local weapon menu shows, or null.
    static std::shared_ptr<Tteam> weaponmenuteam();
};
