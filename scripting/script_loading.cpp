// Script loading.
#include "scripting/script_loading.h"

#include <lua.hpp>

#include "core/bank_codec.h"
#include "core/host_settings.h"
#include "core/resources.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/system.h"
#include "scripting/lua_state.h"
#include "scripting/script_errors.h"
#include "scripting/script_files.h"
#include "scripting/script_objects.h"
#include "world/frame_buffer.h"

std::vector<std::string> g_filelist;

namespace {

constexpr int kSetGameEnderType = 18;
constexpr int kSetGameMode = 19;
const char kAiScript[] = "scripts/AI/AI.lua";

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

bool is_lua(const std::string& name) {
    size_t dot = name.rfind('.');
    return dot != std::string::npos && lower(name.substr(dot + 1)) == "lua";
}

// Runs a file and reports a failure under section + " (" + path + ")".
void run_reported(const std::string& path, const std::string& section) {
    lua_file = path;
    if (lua_runfile(path) != 0) {
        luaerror(section + " (" + path + ")", "");
        lua_settop(lua, 0);
    }
}

// Game modes or game enders: every ".lua" file of the folder in byte order.
void run_folder(const std::string& folder, const std::string& section, const std::vector<std::string>& names,
                const char* none, int setting) {
    for (const std::string& name : LoadDir(folder)) {
        if (!is_lua(name)) continue;
        std::string path = folder + "/" + name;
        Tscr::add(path);
        Tlua_check::add(path);
        run_reported(path, section);
    }
    if (names.empty()) {
        lua_notify(none, true);
        End(1);
    }
    if (set[setting] > (int)names.size() - 1) set[setting] = (int)names.size() - 1;
}

void run_mission_script(const std::string& path, const std::string& section) {
    if (FileType(path) != 1) return;
    Tscr::add(path);
    Tlua_check::add(path);
    run_reported(path, section);
}

// Reads a file into its transfer fields; false when it cannot be read (the
// fields then keep their values).
template <class Entry>
bool prepare(Entry& e, const std::string& file) {
    BankPtr bank = LoadBank(file);
    if (!bank) return false;
    e.size = (int)bank->Size();
    e.compr = CompressBank(*bank);
    e.crc32 = checksum_bank(*bank);
    bank->Resize(0);
    debugwrite("compress " + file);
    return true;
}

void prepare_resources(const Tres::Table& table, const char* prefix, int& lasttime, int& done, int total) {
    for (const auto& e : table) {
        if (!e || e->path.empty()) continue;
        ++done;
        std::string file = prefix + e->path;
        g_filelist.push_back(file);
        if (prepare(*e, file)) lua_weaponscript_progress(lasttime, done, total);
    }
}

}  // namespace

int lua_weaponscript_progress(int& lasttime, int done, int total) {
    int now = MilliSecs();
    // Unsigned difference: right across a wrap of the millisecond clock.
    if ((int)((unsigned)now - (unsigned)lasttime) <= 20) return 0;
    lasttime = now;
    int percent = total > 0 ? (int)((double)done / (double)total * 100.0) : 0;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    Cls();
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawTextC("Loading Weapons", set_scrxh, set_scryh - 10);
    DrawTextC(std::to_string(percent) + "%", set_scrxh, set_scryh + 10);
    Flip();
    return 0;
}

int lua_bindweaponset() {
    bool given[256] = {};
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 9; ++row)
            for (int col = 0; col < 14; ++col) {
                g_weaponseti[g][col][row] = 0;
                const std::string& path = g_weaponset[g][col][row];
                if (path.empty()) continue;
                for (int k = 1; k < (int)Tscro::weapon.size() && k < 256; ++k) {
                    const auto& w = Tscro::weapon[(size_t)k];
                    if (!w || w->filename != path) continue;
                    g_weaponseti[g][col][row] = (uint8_t)k;
                    if (!given[k]) {
                        given[k] = true;
                        w->amount = g_weaponsets[g][col][row][0];
                        w->firstuse = g_weaponsets[g][col][row][1];
                        w->chance = g_weaponsets[g][col][row][2];
                    }
                    break;
                }
            }
    return 0;
}

int lua_weaponscripts() {
    // This machine's own files: overflows end the program as for any local
    // script, whatever a replay or a joined match left here.
    lua_untrusted = 0;
    Tlua_check::clear();
    Tres::clear();
    Tscr::clear();
    Tscro::clear();
    g_gamemodes.clear();
    g_gamemodesi.clear();
    g_gamemodess.clear();
    g_gameenders.clear();
    g_gameendersi.clear();
    int lasttime = MilliSecs() - 50;
    lua_reset();

    if (menu != 3) {
        run_folder("scripts/Game Modes", "Parsing game mode scripts", g_gamemodes,
                   "No game modes defined (in scripts/Game Modes)!", kSetGameMode);
        run_folder("scripts/Game Enders", "Parsing game ender scripts", g_gameenders,
                   "No game enders defined (in scripts/Game Enders)!", kSetGameEnderType);
    } else {
        g_frame_data = CreateBank(0);
        lua_runchunk("function mission_start() end; function mission_draw() end; function mission_update() end;",
                     "=mission");
        lua_settop(lua, 0);
        std::string root = sp_currentroot();
        run_mission_script(root + "general.lua", "Parsing general mission script");
        run_mission_script(root + zerofill(sp_currentmap(), 3) + ".lua", "Parsing map mission script");
        g_frame_data->Resize(0);
    }

    for (const std::string& path : gui_weaponsb) {
        if (!is_lua(path)) continue;
        run_reported(path, "Parsing weapon scripts");
        Tscr::add(path);
        Tlua_check::add(path);
    }
    Tscro::checkweapons();

    run_reported(kAiScript, "Parsing AI script");
    Tlua_check::add(kAiScript);

    int total = Tres::countarray(Tres::gfx) + Tres::countarray(Tres::sfx);
    int done = 0;
    g_filelist.clear();
    prepare_resources(Tres::gfx, "gfx/", lasttime, done, total);
    prepare_resources(Tres::sfx, "sfx/", lasttime, done, total);
    for (const auto& e : Tscr::script) {
        if (!e || e->path.empty()) continue;
        g_filelist.push_back(e->path);
        prepare(*e, e->path);
    }

    lua_bindweaponset();
    if (Tscro::weapon.size() > 1 && Tscro::weapon[1]) Tscro::setprimaryweapon(Tscro::weapon[1]->name);
    return 0;
}
