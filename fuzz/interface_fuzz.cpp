// Fuzz target: every interface function called with random arguments of every
// Lua type (nil, booleans, NaN, infinities, huge and small numbers, short and
// long strings, tables, functions) inside every kind of callback, with a
// world of players, teams, objects, projectiles and terrain present and the
// turn owner's records applied after each callback.
//
// Input: byte 0 picks the machine (turn owner or not); then a stream read by
// each callback's calls: a function index, an argument count and per
// argument a kind byte and its value bytes. Dialogs are answered and ending
// the program aborts (a finding): the scripts count as received ones. Properties: no crash, no undefined
// behaviour (the build checks both), no hang, positions stay finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include <lua.hpp>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/shared_state.h"
#include "frontend/screens/console.h"
#include "platform/image.h"
#include "platform/incbin.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "scripting/callbacks.h"
#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/object_calls.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"

namespace {

const uint8_t* s_data = nullptr;
size_t s_size = 0, s_pos = 0;
int s_calls = 0;
constexpr int kMaxCalls = 300;

int byte() { return s_pos < s_size ? s_data[s_pos++] : -1; }

int32_t int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | (uint32_t)(byte() & 255);
    return (int32_t)v;
}

double real() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | (uint64_t)(byte() & 255);
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

void push_arg(lua_State* L, int kind) {
    switch (kind % 20) {
        case 0: lua_pushnil(L); break;
        case 1: lua_pushboolean(L, 0); break;
        case 2: lua_pushboolean(L, 1); break;
        case 3: lua_pushnumber(L, std::numeric_limits<double>::quiet_NaN()); break;
        case 4: lua_pushnumber(L, HUGE_VAL); break;
        case 5: lua_pushnumber(L, -HUGE_VAL); break;
        case 6: lua_pushnumber(L, 1e300); break;
        case 7: lua_pushnumber(L, -1e300); break;
        case 8: lua_pushnumber(L, (double)(byte() & 255) - 128); break;
        case 9: lua_pushnumber(L, (double)int32()); break;
        case 10: lua_pushnumber(L, real()); break;
        case 11: lua_pushnumber(L, (double)int32() / 7.0); break;
        case 12: lua_pushstring(L, std::string(70000, (char)('a' + (byte() & 15))).c_str()); break;
        case 13: lua_pushstring(L, "Table"); break;
        case 14: lua_newtable(L); break;
        case 15: lua_pushnumber(L, 2147483648.0); break;
        case 16: lua_pushnumber(L, -2147483648.0); break;
        case 17: lua_pushnumber(L, 9.3e18); break;
        case 18: lua_pushstring(L, "12"); break;
        default: lua_pushnumber(L, (double)(byte() & 15)); break;
    }
}

// Called from inside every callback: a run of interface calls from the input.
int fuzz_calls(lua_State* L) {
    const auto& fns = lua_interface_functions();
    int n = byte();
    n = n < 0 ? 0 : n % 6;
    for (int i = 0; i < n && s_calls < kMaxCalls; ++i, ++s_calls) {
        int f = byte();
        if (f < 0) break;
        lua_getglobal(L, fns[(size_t)(f % 153)].name);
        int argc = (byte() & 255) % 9;
        for (int a = 0; a < argc; ++a) push_arg(L, byte() & 255);
        if (lua_pcall(L, argc, 0, 0) != 0) lua_pop(L, 1);
        lua_settop(L, 0);
    }
    return 0;
}

ImagePtr builtin(const char* name) {
    ImagePtr img = LoadImage(name, -1);
    if (img) MidHandleImage(img);
    return img;
}

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    lua_notify = [](const std::string&, bool) {};
    lua_proceed = [](const std::string&) { return 1; };
    SetEndHook([] { std::abort(); });
    lua_instruction_budget = 200000;
    lua_memory_limit = 64u << 20;
    for (const IncbinFile* f = incbin_builtin_files; f->name; ++f)
        if (!IncbinFind(f->name)) IncbinRegister(f->name, f->data, f->size);
    SetMaskColor(255, 0, 255);
    gfx_pl_col = builtin("incbin::incgfx/playercol.bmp");
    gfx_coldot2 = builtin("incbin::incgfx/coldot2.bmp");
    gfx_coldot5 = builtin("incbin::incgfx/coldot5.bmp");
    gfx_coldot10 = builtin("incbin::incgfx/coldot10.bmp");
    map_setup(3, 3, 1);
}

void world() {
    Tplayer::list.clear();
    Tteam::list.clear();
    Tobj::list.clear();
    Tobj::firelist.clear();
    Tobj::hudlist.clear();
    Tobj_fake::list.clear();
    Tpro::clear();
    Tpro::nextid = 0;
    Tp::clear();
    map_rect(0, 150, 300, 150, (int)0xFF806040u);
    for (int t = 0; t < 2; ++t) {
        auto team = std::make_shared<Tteam>();
        team->id = t;
        team->color = t;
        team->netplayer = t;
        for (int w = 0; w < 256; ++w) team->wamount[w] = 3;
        Tteam::list.push_back(team);
    }
    for (int i = 1; i <= 3; ++i) {
        auto p = Tplayer::add(i, (i - 1) % 2);
        p->health = 100;
        p->x = 60.0f * (float)i;
        p->y = 137.5f;
        p->dir = 1;
        p->wpn = 1;
    }
    Tobj::Create(-1, 40, 140, 3, 56001, 0);
    Tobj::Create(-3, 90, 140, 100, 56002, 0);
    Tobj::Create(1, 200, 140, 0, 56003, 0);
    g_frame_data = CreateBank(0);
    Tfb::loc = CreateBank(0);
    g_turn_player = 1;
    g_turn_team = 0;
    g_turn_state = 1;
    g_round = 1;
    g_server = 1;
    g_replay = 0;
    menu = 2;
}

void define(std::vector<std::shared_ptr<Tscro>>& table, const char* path, const char* name) {
    auto e = std::make_shared<Tscro>();
    e->path = path;
    e->pathtable = {path};
    e->name = name;
    e->index = 1;
    table[1] = e;
}

// The turn owner applies its own records after each callback, as after a step.
void settle() {
    if (Tfb::loc && Tfb::loc->Size() > 0) {
        BankPtr loc = CopyBank(*Tfb::loc);
        Tfb::loc->Resize(0);
        Tfb::process_additional(loc, Tplayer::get(g_turn_player));
    }
    if (g_frame_data->Size() > 60000) g_frame_data->Resize(0);
    lua_settop(lua, 0);
}

void check_world() {
    for (auto& p : Tplayer::list)
        if (!std::isfinite(p->x) || !std::isfinite(p->y) || std::fabs(p->x) > 2e9f) std::abort();
    for (auto& o : Tobj::list)
        if (!std::isfinite(o->x) || !std::isfinite(o->y)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    s_data = data;
    s_size = size;
    s_pos = 0;
    s_calls = 0;
    int machine = byte();
    in_console.clear();
    Tscro::clear();
    lua_reset();
    world();
    g_player = 0;
    g_turn_netplayer = machine >= 0 && (machine & 1) ? 1 : 0;
    lua_register(lua, "__fuzz", fuzz_calls);
    if (lua_runchunk("w = {attack = function() __fuzz() end, draw = function() __fuzz() end}\n"
                     "pr = {update = function() __fuzz() end, draw = function() __fuzz() end}\n"
                     "ob = {setup = function() __fuzz() end, update = function() __fuzz() end,\n"
                     "      draw = function() __fuzz() end, damage = function() __fuzz() end}\n"
                     "for _, n in ipairs({'fm_gm_start', 'fm_gm_update', 'fm_gm_draw', 'fm_gm_endturn',\n"
                     "  'fm_gm_playerdamage', 'fe_ge_run', 'ai_init', 'ai_move', 'ai_back',\n"
                     "  'mission_start', 'mission_update', 'mission_draw'}) do _G[n] = function() __fuzz() end end",
                     "=fuzz") != 0)
        std::abort();
    define(Tscro::weapon, "w", "Gun");
    define(Tscro::projectile, "pr", "w");
    define(Tscro::obj, "ob", "");
    g_gamemodesi = {"fm"};
    g_gameendersi = {"fe"};
    set[18] = 0;
    set[19] = 0;
    Tpro::Create()->typ = 1;
    lua_resetturn();
    // Scripts as a host sends them: a registry or list overflow is a script
    // error, never the end of this machine.
    lua_untrusted = 1;

    // While the input lasts, one kind of callback after another.
    while (s_pos < s_size && s_calls < kMaxCalls) {
        int kind = byte();
        if (kind < 0) break;
        lua_p = (kind >> 5) % 4;
        switch (kind % 16) {
            case 0: fuzz_calls(lua); break;   // as a script file loads
            case 1: lua_weapon_attack(1, kind & 1); break;
            case 2: lua_weapon_draw(1); break;
            case 3: Tpro::draw(0, 1); break;
            case 4: Tpro::draw(1, 0); break;
            case 5: lua_objectcall(1, "setup", 56003, 0, "Object Setup"); break;
            case 6: lua_object_update(1, 56003, 200, 140); break;
            case 7: lua_object_draw(1, 56003, 200, 140); break;
            case 8: lua_objectcall(1, "damage", 56003, 5, "Object Damage"); break;
            case 9: lua_gm_start(), lua_gm_update(), lua_gm_draw(); break;
            case 10: {
                int winner;
                lua_gm_endturn(2, 1, false, winner);
                lua_gm_playerdamage(1, 10);
                break;
            }
            case 11: lua_ge_run(0); break;
            case 12: lua_ai_call(1, "ai_init"); break;
            case 13: lua_ai_call(1, (kind & 16) ? "ai_move" : "ai_back"); break;
            case 14: lua_mission_call((kind & 16) ? "mission_draw" : "mission_update"); break;
            default: Tplayer::update(); break;
        }
        settle();
        check_world();
    }
    lua_untrusted = 0;
    lua_p = 0;
    lua_ailock = 0;
    return 0;
}
