// Players: the fighters of the teams.
#pragma once

#include <list>
#include <memory>

struct Tplayer {
    int id = 0;
    int health = 0;

    static std::list<std::shared_ptr<Tplayer>> list;
    static std::shared_ptr<Tplayer> get(int id);
};
