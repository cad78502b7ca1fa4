// Players (stand-in registry until the game world exists).
#include "world/player.h"

std::list<std::shared_ptr<Tplayer>> Tplayer::list;

std::shared_ptr<Tplayer> Tplayer::get(int id) {
    for (auto& p : list)
        if (p->id == id) return p;
    return nullptr;
}
