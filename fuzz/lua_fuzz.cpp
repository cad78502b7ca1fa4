// Fuzz target: random source text run as a received script, then random
// table paths registered as weapon, projectile and object types and game
// mode and ender names, and every callback of the protocol called on them.
//
// Input: the script, then NUL-separated paths (object, weapon, projectile,
// game mode, game ender). Dialogs answer Yes and ending the program aborts
// (a finding): received scripts must never end a machine. Properties: no
// crash, no hang (the budget is lowered so a run stays short), the stack is
// left small.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <lua.hpp>

#include "frontend/screens/console.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "scripting/callbacks.h"
#include "scripting/lua_state.h"
#include "scripting/script_errors.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"

namespace {

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    lua_notify = [](const std::string&, bool) {};
    lua_proceed = [](const std::string&) { return 1; };
    SetEndHook([] { std::abort(); });
    lua_instruction_budget = 200000;
    lua_memory_limit = 64u << 20;
}

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 6)
            parts.emplace_back();
        else
            parts.back() += (char)data[i];
    }
    parts.resize(6);

    in_console.clear();
    Tscro::clear();
    lua_reset();
    lua_untrusted = 1;
    lua_file = "fuzz.lua";
    if (lua_runchunk(parts[0], "=received") != 0) luaerror("Parsing received weapon scripts (fuzz.lua)", "");
    int o = Tscro::addobject(parts[1], 0);
    int w = Tscro::addweapon(parts[2], "W", 0, 1, 0, "", 0);
    int p = Tscro::addprojectile(parts[3], parts[2], "");
    g_gamemodesi = {parts[4]};
    g_gameendersi = {parts[5]};
    lua_untrusted = 0;

    Tscro::checkweapons();
    lua_resetturn();
    lua_objectcall(o, "setup", 56001, 3, "Object Setup");
    lua_object_update(o, 56001, 1.5f, 2.5f);
    lua_object_draw(o, 56001, 1.5f, 2.5f);
    lua_objectcall(o, "damage", 56001, 30, "Object Damage");
    lua_weapon_attack(w, 1);
    lua_weapon_draw(w);
    lua_projectile_update(p, 1);
    lua_projectile_draw(p, 1);
    lua_gm_update();
    lua_gm_start();
    lua_gm_draw();
    int winner;
    lua_gm_endturn(2, 1, false, winner);
    check(winner >= -1 && winner <= 7);
    int d = lua_gm_playerdamage(1, 10);
    check(d == -1 || d > 0);
    lua_ge_run(0);
    lua_ai_call(1, "ai_init");
    lua_mission_call("mission_update");
    check(lua_gettop(lua) <= 2);
    return 0;
}
