// Script object registry: the weapons, projectile types and object types that
// scripts define, each table indexed by its type id.
//
// Each table has 256 slots created at start and never resized; slot 0 stays
// empty, so ids run 1..255 in registration order (the lowest empty slot is
// taken and records go only all at once, by clear). These ids are what
// weapon-set cells, team stocks, players, projectiles, objects and map
// spawns store and send. Each record names the Lua table that holds the
// type's callbacks by a dotted path.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct Tscro {
    std::string filename;   // script file running when the type was registered (lua_file)
    int index = 0;          // own slot, the type's id
    std::string path;       // Lua table path of the definition, dotted
    std::vector<std::string> pathtable;   // path split at "." (empty pieces kept)
    // Weapon: display name; projectile: path of the weapon registered before it.
    std::string name;
    int image = 0;          // weapon icon or object image (Tres::getimage id)
    int amount = 0;         // weapon: starting stock 0..100, 100 unlimited
    int firstuse = 0;       // weapon: first round it may be used
    int chance = 0;         // weapon: weight in supply crates, 0 never
    // Weapon: its flags; projectile: own flags, a space, the weapon's flags.
    std::string flags;
    int initiallock = 0;    // weapon: lock copied into each team at match start
    // Weapon description; wrapped lines end with the two characters "\n"
    // (a backslash and the letter n), where the tooltip splits them.
    std::string info;

    // 256 slots each.
    static std::vector<std::shared_ptr<Tscro>> weapon;
    static std::vector<std::shared_ptr<Tscro>> projectile;
    static std::vector<std::shared_ptr<Tscro>> obj;
    // Weapon a player holds when created and at each turn start; 0 at start.
    static int primaryweapon;

    static int clear();
    // Registration: the new id. A full table (a 256th type) ends the program
    // with the table's message, except for scripts received from a host or
    // read from a replay (lua_untrusted): then the result is 0 and the Lua
    // registration function raises the message as a script error, so no peer
    // can end a joining machine.
    static int addweapon(const std::string& path, const std::string& name, int image, int amount, int firstuse,
                         const std::string& flags, int initiallock);
    static int addprojectile(const std::string& path, const std::string& weapon, const std::string& flags);
    static int addobject(const std::string& path, int image);
    // Word-wraps text into 200-pixel lines of font_small appended to the info
    // of the first weapon with that path; nothing when there is none.
    static int addweaponinfo(const std::string& path, const std::string& text);
    // Highest occupied weapon slot, 0 when none.
    static int peakweapon();
    // primaryweapon = the first weapon named name, else 1.
    static int setprimaryweapon(const std::string& name);
    // Writes "Error: Weapon '...' has no draw-function!" / "attack-function!"
    // to the console for each weapon whose definition table lacks them (a
    // path link that is missing or not a table counts as lacking both).
    static int checkweapons();
    // Index of the definition whose path equals path exactly in the table of
    // kind 0 weapons, 1 projectiles, 2 objects; 0 when there is none.
    static int getbytable(int kind, const std::string& path);
    // First weapon-set cell (group, row, column order) bound to the weapon
    // with that path / holding that index: group, column x and row y; all -1
    // when none.
    static int getweaponposition(const std::string& path, int& group, int& x, int& y);
    static int getweaponpositionbyindex(int index, int& group, int& x, int& y);

    // "Too many weapons (limit is 256)" and the like; kind as for getbytable.
    static std::string overflow_message(int kind);
};

// 1 while scripts received from a host or read from a replay run (their
// readers set it): registry overflows become script errors.
extern int lua_untrusted;
// Path of the script file being run; table path and flags of the weapon
// registered last, to which descriptions and projectiles attach.
extern std::string lua_file;
extern std::string lua_lastdef_weapon;
extern std::string lua_lastdef_flags;
