// Game objects: fire, supply crates, mines, bear traps, medikits, items and
// script objects. (Stand-in: creation and ids as map spawns and shape maps
// call them; behaviour, drawing and the id reservations come with the game
// world.)
#pragma once

#include <list>
#include <memory>

struct Tobj {
    int id = 0;
    int typ = 0;   // -1 fire, -2 crate, -3 mine, -4 bear trap, -5 medikit, -7 item; >0 script type
    float x = 0, y = 0;
    int data = 0;

    static std::list<std::shared_ptr<Tobj>> list;

    // Creates and registers an object: data -1 takes the kind's default, id -1
    // takes getfreeid(0), sfx 1 plays the arrival sound.
    static std::shared_ptr<Tobj> Create(int typ, int x, int y, int data, int id, int sfx);
    // A free object id (global 1: from the block 56001..65535).
    static int getfreeid(int global);
};
