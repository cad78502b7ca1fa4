// Script projectiles: an id, a projectile type and an active flag; position,
// speed and every other state live in the projectile's script, whose update
// and draw callbacks get the id.
//
// Ids restart at 1 at every turn start. Code keeps ids across frames, never
// pointers; a projectile removed inside its own callback still gives its id
// to the script (lua_pro holds the id).
#pragma once

#include <cstdint>
#include <list>
#include <memory>

struct Tpro {
    int id = 0;
    int typ = 0;         // index into the projectile registry, 1..255
    int player = 0;
    float x = 0, y = 0;
    float rot = 0;
    float fx = 0, fy = 0;
    float power = 0;
    int active = 0;      // 1 takes part in update and draw
    int timer = 0;
    uint64_t order = 0;  // creation order in the program, never reused
    // Place in list while listed (kept by Create, Remove, clear), so that a
    // pass over thousands of projectiles stays linear.
    bool listed = false;
    std::list<std::shared_ptr<Tpro>>::iterator self;

    using Ptr = std::shared_ptr<Tpro>;
    // In creation order. Only Create appends; empty it with clear().
    static std::list<Ptr> list;
    static int nextid;   // the last id handed out; 0 at every turn start

    // A new projectile with the next id, active, at the end of the list.
    static Ptr Create();
    // Removes the first projectile with that id; nothing when there is none.
    static int Remove(int id);
    static Ptr get(int id);
    // Empties the list.
    static int clear();
    // Runs every projectile's callbacks in list order (drawflag: draw
    // callbacks, on drawn frames; updateflag: update callbacks, in the world
    // step). Projectiles created during the pass are visited in it; removed
    // ones are skipped. Returns 0.
    static int draw(int drawflag, int updateflag);
    // The callbacks of this projectile (draw first). An unregistered type is
    // reported and the projectile removed. Returns 0.
    int update(int drawflag, int updateflag);
};
