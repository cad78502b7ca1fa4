// Game objects: fire, supply crates, mines, bear traps, medikits, items and
// script objects; their lists, lockstep-safe ids, default data, creation,
// removal, data changes and the records that push and move them.
//
// Ids: the machine that holds the turn takes an id from its own block
// (net player p: p*7000+1 .. p*7000+6999) and reserves it (Tobj_fake) when it
// writes the record that creates the object; the reservation ends when that
// record is applied or the next turn starts, so frames in flight never get
// the same id twice. Map set-up, the host and replays use the global block
// 56001..65535. A full block gives id 0: the caller then creates and writes
// nothing.
//
// Code keeps ids across frames, never pointers: a removed object is dropped
// from the list at once and only handles taken during one call stay valid.
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tobj {
    int id = 0;          // 1..65535, written as u16 into records
    int typ = 0;         // -1 fire, -2 crate, -3 mine, -4 bear trap, -5 medikit, -6 none, -7 item; >0 script type
    int data = 0;        // kind-specific
    float x = 0, y = 0;
    float rot = 0;       // degrees, drawing only
    float alpha = 1;
    float fx = 0, fy = 0;
    int timer = 0;
    int anim = 0;        // drawing phase
    int idle = 0;        // 1 at rest
    int dynamiccol = 0;  // 1 while resting on a player or object
    int turns = 5;
    int mode = 0;
    int age = 0;
    // Local to this machine, never lockstep state: 1 once this machine wrote
    // the record that ends the object (71; 41 with 75; 72). The object moves
    // on like everywhere else until the record applies after the step, and
    // the record is written once.
    int written = 0;
    // 1 once taken out of list: a walk over a copy of the handles skips it.
    int unlisted = 0;

    using Ptr = std::shared_ptr<Tobj>;
    static std::list<Ptr> list;
    static std::list<Ptr> firelist;   // the fires, each also in list
    static std::list<Ptr> hudlist;    // fresh crates and medikits for the HUD markers
    static int burntimer;
    static int burnsfxtimer;

    static constexpr int kBlockSize = 7000;
    static constexpr int kGlobalFirst = 56001;
    static constexpr int kGlobalLast = 65535;

    // Creates and lists an object: data -1 takes the kind's default, id -1
    // takes getfreeid(0), sfx 1 plays the arrival sound of crates and
    // medikits. Draws anim, then rot, from the shared generator.
    static Ptr Create(int typ, int x, int y, int data, int id, int sfx);
    // A free id, reserved (global 1: from the global block); 0 when none is
    // free or this machine may not take one (after the notice).
    static int getfreeid(int global);
    // The default data of a kind.
    static int getdata(int typ);
    static int counttype(int typ);
    // The first object with that id, or null.
    static Ptr get(int id);
    // The turn-start step: reservations end, fire burns down, the other
    // built-in kinds get 5 turns again.
    static int turnupdate();
    // 1 when every object is at rest (also when there are none).
    static int allidle();
    // One behaviour step of every object (object_update.cpp): motion on
    // every machine; collection, triggers, mine explosions and supply drops
    // only with decide 1 (the machine that holds the turn).
    static int update(int decide);
    // Draws every object on rendered frames (object_draw.cpp); does nothing
    // at all on other frames.
    static int draw();
    // Takes the object out of list (and firelist), marked unlisted.
    static void unlist(const Ptr& o);
    // Removes the objects with that id (a fire burns out instead).
    static int free(int id);
    // Stores the data and plays the effects of a used medikit (0), a dud mine
    // (2000) or a snapped bear trap (2000).
    int setdata(int value);
    // On the turn holder: record 74 (position and new speed) / 76 (position).
    int sync_push(float pfx, float pfy);
    int sync_pos(float px, float py);
};

// Supply drops of the turn (object_update.cpp): frames to the next roll and
// objects dropped; the turn start sets them to 150 and 0.
extern int g_supply_lastspawn;
extern int g_supply_turncount;

// Object ids reserved until their record is applied or the turn ends.
struct Tobj_fake {
    int id = 0;
    static std::list<std::shared_ptr<Tobj_fake>> list;
    static int add(int id);
    static int get(int id);
    static int free(int id);   // every reservation with that id
};

// Message boxes of Tobj (the invalid-kind and id-collision notices). Record
// 70 sets it to write console lines instead while it applies, since a peer
// or a replay must not stop this machine with a dialog.
extern int obj_notice_console;
