// Game objects: fire, supply crates, mines, bear traps, medikits, items and
// script objects. (Stand-in: creation and ids as map spawns and shape maps
// call them, and the fields and calls of the world-event records; behaviour,
// drawing and the id reservations come with the game world.)
#pragma once

#include <list>
#include <memory>

struct Tobj {
    int id = 0;
    int typ = 0;   // -1 fire, -2 crate, -3 mine, -4 bear trap, -5 medikit, -6 none, -7 item; >0 script type
    int data = 0;
    float x = 0, y = 0;
    float rot = 0;
    float alpha = 1;
    float fx = 0, fy = 0;
    int timer = 0;
    int anim = 0;
    int idle = 0;        // 1 at rest
    int dynamiccol = 0;
    int turns = 5;
    int mode = 0;
    int age = 0;

    static std::list<std::shared_ptr<Tobj>> list;

    // Creates and registers an object: data -1 takes the kind's default, id -1
    // takes getfreeid(0), sfx 1 plays the arrival sound.
    static std::shared_ptr<Tobj> Create(int typ, int x, int y, int data, int id, int sfx);
    // A free object id (global 1: from the block 56001..65535).
    static int getfreeid(int global);
    // The first object with that id, or null.
    static std::shared_ptr<Tobj> get(int id);
    // Removes every object with that id.
    static int free(int id);
    // One behaviour step of every object; decide 1 only on the turn holder.
    static int update(int decide);
    int setdata(int value);
};

// Object ids reserved by a record writer until its record is applied.
struct Tobj_fake {
    int id = 0;
    static std::list<std::shared_ptr<Tobj_fake>> list;
    static int add(int id);
    static int get(int id);
    static int free(int id);   // every reservation with that id
};
