// Script object registry.
#include "scripting/script_objects.h"

#include <lua.hpp>

#include "core/catalogue.h"
#include "core/services.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/draw.h"
#include "platform/system.h"
#include "scripting/callbacks.h"
#include "scripting/lua_state.h"

std::vector<std::shared_ptr<Tscro>> Tscro::weapon(256);
std::vector<std::shared_ptr<Tscro>> Tscro::projectile(256);
std::vector<std::shared_ptr<Tscro>> Tscro::obj(256);
int Tscro::primaryweapon = 0;

int lua_untrusted = 0;
std::string lua_file;
std::string lua_lastdef_weapon;
std::string lua_lastdef_flags;

namespace {

constexpr int kSlots = 256;

std::vector<std::shared_ptr<Tscro>>& table_of(int kind) {
    return kind == 0 ? Tscro::weapon : kind == 1 ? Tscro::projectile : Tscro::obj;
}

std::vector<std::string> split_path(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

// A new record in the lowest empty slot 1..255 of the kind's table; null when
// the table is full (after ending the program for local scripts).
std::shared_ptr<Tscro> new_record(int kind, const std::string& path) {
    auto& table = table_of(kind);
    if (table.size() < (size_t)kSlots) table.resize(kSlots);
    for (int i = 1; i < kSlots; ++i) {
        if (table[(size_t)i]) continue;
        auto r = std::make_shared<Tscro>();
        r->filename = lua_file;
        r->index = i;
        r->path = path;
        r->pathtable = split_path(path);
        table[(size_t)i] = r;
        return r;
    }
    if (!lua_untrusted) {
        lua_notify(Tscro::overflow_message(kind), true);
        End(1);
    }
    return nullptr;
}

// Width of trimstr(text[0..j)) for every j, in one pass: the leading blanks
// trimstr drops never count, a run of trailing blanks counts once a later
// character ends it.
class PrefixWidth {
public:
    explicit PrefixWidth(const std::string& text) : text_(text) {}
    // Width of the trimmed first j characters; j must not go down.
    int at(size_t j) {
        while (upto_ < j) {
            unsigned char c = (unsigned char)text_[upto_++];
            int w = TextWidth(std::string(1, (char)c));
            bool blank = c == ' ' || c == '\t' || c == 160;
            if (blank) {
                if (started_) pending_ += w;
            } else {
                started_ = true;
                width_ += pending_ + w;
                pending_ = 0;
            }
        }
        return width_;
    }

private:
    const std::string& text_;
    size_t upto_ = 0;
    bool started_ = false;
    int width_ = 0, pending_ = 0;
};

int trimmed_width(const std::string& text) { return PrefixWidth(text).at(text.size()); }

// Runs in a protected call: pushes whether the weapon's definition (upvalue:
// the record) has a draw and an attack function.
int weapon_functions(lua_State* L) {
    const Tscro* w = static_cast<const Tscro*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    lua_pushpath(L, w->pathtable);
    bool table = lua_istable(L, -1);
    for (const char* fn : {"draw", "attack"}) {
        if (table) {
            lua_getfield(L, 1, fn);
            lua_pushboolean(L, lua_isfunction(L, -1));
            lua_remove(L, -2);
        } else {
            lua_pushboolean(L, 0);
        }
    }
    return 2;
}

}  // namespace

std::string Tscro::overflow_message(int kind) {
    const char* what = kind == 0 ? "weapons" : kind == 1 ? "projectiles" : "objects";
    return std::string("Too many ") + what + " (limit is " + std::to_string(kSlots) + ")";
}

int Tscro::clear() {
    for (int kind = 0; kind < 3; ++kind)
        for (auto& slot : table_of(kind)) slot = nullptr;
    return 0;
}

int Tscro::addweapon(const std::string& path, const std::string& name, int image, int amount, int firstuse,
                     const std::string& flags, int initiallock) {
    auto r = new_record(0, path);
    if (!r) return 0;
    r->name = name;
    r->image = image;
    r->amount = amount < 0 ? 0 : amount > 100 ? 100 : amount;
    r->firstuse = firstuse < 0 ? 0 : firstuse;
    r->flags = flags;
    r->initiallock = initiallock;
    r->chance = 3;
    debugwrite("add weapon '" + name + "' #" + std::to_string(r->index) + " > " + path);
    return r->index;
}

int Tscro::addprojectile(const std::string& path, const std::string& weapon, const std::string& flags) {
    auto r = new_record(1, path);
    if (!r) return 0;
    r->name = weapon;
    r->flags = flags + " " + lua_lastdef_flags;
    debugwrite("add projectile #" + std::to_string(r->index) + " > " + path);
    return r->index;
}

int Tscro::addobject(const std::string& path, int image) {
    auto r = new_record(2, path);
    if (!r) return 0;
    r->image = image;
    debugwrite("add object #" + std::to_string(r->index) + " > " + path);
    return r->index;
}

int Tscro::addweaponinfo(const std::string& path, const std::string& text_in) {
    std::shared_ptr<Tscro> w;
    for (size_t i = 1; i < weapon.size() && !w; ++i)
        if (weapon[i] && weapon[i]->path == path) w = weapon[i];
    if (!w) return 0;
    SetRotation(0);
    SetScale(1, 1);
    SetImageFont(font_small);
    constexpr int kWidth = 200;
    const std::string marker = "\\n";
    std::string text = text_in;
    if (trimmed_width(text) > kWidth) {
        for (int pass = 0; pass < 31 && trimmed_width(text) > kWidth; ++pass) {
            PrefixWidth width(text);
            long space = -1;
            for (size_t j = 0; j + 1 <= text.size(); ++j) {
                if (text[j] == ' ') space = (long)j;
                if (width.at(j) <= kWidth) continue;
                if (space > 0) {
                    w->info += trimstr(text.substr(0, (size_t)space)) + marker;
                    text = trimstr(text.substr((size_t)space + 1));
                } else {
                    // j is at least 1 here: an empty prefix has no width.
                    w->info += trimstr(text.substr(0, j - 1)) + marker;
                    text = trimstr(text.substr(j - 1));
                }
                break;
            }
        }
    }
    if (!trimstr(text).empty()) w->info += trimstr(text) + marker;
    return 0;
}

int Tscro::peakweapon() {
    for (int i = kSlots - 1; i >= 1; --i)
        if ((size_t)i < weapon.size() && weapon[(size_t)i]) return i;
    return 0;
}

int Tscro::setprimaryweapon(const std::string& name) {
    primaryweapon = 1;
    for (size_t i = 1; i < weapon.size() && i < (size_t)kSlots; ++i) {
        if (weapon[i] && weapon[i]->name == name) {
            primaryweapon = (int)i;
            break;
        }
    }
    return 0;
}

int Tscro::checkweapons() {
    if (!lua) return 0;
    lua_settop(lua, 0);
    for (size_t i = 1; i < weapon.size() && i < (size_t)kSlots; ++i) {
        const std::shared_ptr<Tscro>& w = weapon[i];
        if (!w) continue;
        bool draw = false, attack = false;
        lua_pushcfunction(lua, weapon_functions);
        lua_pushlightuserdata(lua, w.get());
        if (lua_protectedcall(1, 2) == 0) {
            draw = lua_toboolean(lua, -2);
            attack = lua_toboolean(lua, -1);
        }
        lua_settop(lua, 0);
        if (!draw) gui_addcon("Error: Weapon '" + w->name + "' has no draw-function!");
        if (!attack) gui_addcon("Error: Weapon '" + w->name + "' has no attack-function!");
    }
    return 0;
}

int Tscro::getbytable(int kind, const std::string& path) {
    if (kind < 0 || kind > 2) return 0;
    for (const auto& r : table_of(kind))
        if (r && r->path == path) return r->index;
    return 0;
}

int Tscro::getweaponposition(const std::string& path, int& group, int& x, int& y) {
    group = x = y = -1;
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 9; ++row)
            for (int col = 0; col < 14; ++col) {
                int k = g_weaponseti[g][col][row];
                if (k > 0 && (size_t)k < weapon.size() && weapon[(size_t)k] && weapon[(size_t)k]->path == path) {
                    group = g, x = col, y = row;
                    return 0;
                }
            }
    return 0;
}

int Tscro::getweaponpositionbyindex(int index, int& group, int& x, int& y) {
    group = x = y = -1;
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 9; ++row)
            for (int col = 0; col < 14; ++col)
                if (g_weaponseti[g][col][row] == index) {
                    group = g, x = col, y = row;
                    return 0;
                }
    return 0;
}

int scro_objimage(const std::string& path) {
    int t = Tscro::getbytable(2, path);
    return t > 0 && Tscro::obj[(size_t)t] ? Tscro::obj[(size_t)t]->image : 0;
}
