// What the game world reads of the script registries (declared for world code
// in core/shared_state.h, since the world sits below the scripting layer).
#include "core/shared_state.h"
#include "scripting/script_objects.h"

int script_objectpath(int typ, std::string* path) {
    if (typ <= 0 || typ >= (int)Tscro::obj.size() || !Tscro::obj[(size_t)typ]) return 0;
    if (path) *path = Tscro::obj[(size_t)typ]->path;
    return 1;
}

int script_weaponinfo(int weapon, std::string* name, int* image) {
    if (weapon <= 0 || weapon >= (int)Tscro::weapon.size() || !Tscro::weapon[(size_t)weapon]) return 0;
    if (name) *name = Tscro::weapon[(size_t)weapon]->name;
    if (image) *image = Tscro::weapon[(size_t)weapon]->image;
    return 1;
}

int script_weaponcount() { return (int)Tscro::weapon.size(); }

int script_primaryweapon() { return Tscro::primaryweapon; }
int script_projectilepath(int typ, std::string* path) {
    if (typ <= 0 || typ >= (int)Tscro::projectile.size() || !Tscro::projectile[(size_t)typ]) return 0;
    if (path) *path = Tscro::projectile[(size_t)typ]->path;
    return 1;
}

int script_objectimage(int typ) {
    if (typ <= 0 || typ >= (int)Tscro::obj.size() || !Tscro::obj[(size_t)typ]) return 0;
    return Tscro::obj[(size_t)typ]->image;
}

int script_weaponchance(int weapon) {
    if (weapon <= 0 || weapon >= (int)Tscro::weapon.size() || !Tscro::weapon[(size_t)weapon]) return 0;
    return Tscro::weapon[(size_t)weapon]->chance;
}
