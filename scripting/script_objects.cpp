// Script objects (stand-in storage until the script loader fills them).
#include "scripting/script_objects.h"

#include "core/shared_state.h"

std::vector<std::shared_ptr<Tscro>> Tscro::weapon(256);
std::vector<std::shared_ptr<Tscro>> Tscro::projectile(256);
std::vector<std::shared_ptr<Tscro>> Tscro::obj(256);

int Tscro::getbytable(int kind, const std::string& path) {
    if (kind < 0 || kind > 2) return 0;
    const auto& table = kind == 0 ? weapon : kind == 1 ? projectile : obj;
    for (size_t i = 1; i < table.size(); ++i)
        if (table[i] && table[i]->path == path) return (int)i;
    return 0;
}

int scro_objimage(const std::string& path) {
    int t = Tscro::getbytable(2, path);
    return t > 0 && Tscro::obj[(size_t)t] ? Tscro::obj[(size_t)t]->image : 0;
}
