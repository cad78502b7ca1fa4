// Script projectiles: an id, a projectile type and an active flag; everything
// else lives in the projectile's script. (Stand-in: the list, Create, Remove
// and the step the frame buffer calls; the game world fills this file.)
#pragma once

#include <list>
#include <memory>

struct Tpro {
    int id = 0;
    int typ = 0;
    int active = 0;

    static std::list<std::shared_ptr<Tpro>> list;
    static int nextid;

    static std::shared_ptr<Tpro> Create();
    // Removes the first projectile with that id; nothing when there is none.
    static int Remove(int id);
    static std::shared_ptr<Tpro> get(int id);
    // Runs the projectiles' script callbacks (draw 1 on drawn frames, update 1
    // for the world step).
    static int draw(int draw, int update);
};
