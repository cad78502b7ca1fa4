// Script objects: the weapons, projectiles and objects that scripts define,
// each table indexed by its type index (empty slots are null).
#pragma once

#include <memory>
#include <string>
#include <vector>

struct Tscro {
    std::string name;  // display name
    std::string info;  // description; wrapped lines end with the two characters "\n"
    int index = 0;     // own index in its table
    int firstuse = 0;  // first round in which the weapon may be chosen
    int image = 0;     // resource image id for Tres::getimage
    int chance = 0;    // weapon: weight in supply crates, 0 never
    std::string path;                    // the type's script path, dotted
    std::vector<std::string> pathtable;  // path split at "."

    // 256 slots each.
    static std::vector<std::shared_ptr<Tscro>> weapon;
    static std::vector<std::shared_ptr<Tscro>> projectile;
    static std::vector<std::shared_ptr<Tscro>> obj;

    // Index of the definition whose path equals path exactly in the table of
    // kind 0 weapons, 1 projectiles, 2 objects; 0 when there is none.
    static int getbytable(int kind, const std::string& path);
};
