// Start-up sequence: built-in images, program-wide collections and tables,
// settings, graphics, resources, debug log, scripting, menus, the version
// check and the first screen, in this order; each step may rely on all the
// steps before it. Then the main loop, which ends the program through End.
#include "app/startup.h"

#include <algorithm>
#include <cstring>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/graphics_setup.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "core/temp_files.h"
#include "frontend/file_prompt.h"
#include "frontend/hud/hotkeys.h"
#include "frontend/screens/console.h"
#include "frontend/screens/menu.h"
#include "frontend/tips.h"
#include "frontend/weaponset.h"
#include "frontend/widgets/widgets.h"
#include "match/game.h"
#include "match/mission.h"
#include "match/replay.h"
#include "net/pump.h"
#include "net/qvgn.h"
#include "net/udp/udp.h"
#include "platform/audio.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "scripting/lua_state.h"
#include "scripting/script_files.h"
#include "scripting/script_objects.h"
#include "terrain/texture.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"

const BuiltinImage kBuiltinImages[kBuiltinImageCount] = {
    {"incgfx/playercol.bmp", 32, 32},
    {"incgfx/coldot1.bmp", 1, 1},
    {"incgfx/coldot2.bmp", 2, 2},
    {"incgfx/coldot3.bmp", 3, 3},
    {"incgfx/coldot4.bmp", 4, 4},
    {"incgfx/coldot5.bmp", 5, 5},
    {"incgfx/coldot10.bmp", 10, 10},
    {"incgfx/coldot20.bmp", 20, 20},
    {"incgfx/coldot30.bmp", 30, 30},
    {"incgfx/supply.bmp", 20, 16},
    {"incgfx/mine.bmp", 11, 6},
    {"incgfx/beartrap0.bmp", 15, 11},
    {"incgfx/beartrap1.bmp", 15, 11},
    {"incgfx/medikit.bmp", 20, 16},
    {"incgfx/terrain/branches0.bmp", 48, 58},
    {"incgfx/terrain/branches1.bmp", 17, 37},
    {"incgfx/terrain/branches2.bmp", 40, 38},
    {"incgfx/terrain/branches3.bmp", 25, 46},
    {"incgfx/terrain/branches4.bmp", 19, 35},
    {"incgfx/terrain/branches5.bmp", 13, 14},
    {"incgfx/terrain/branches6.bmp", 17, 19},
    {"incgfx/terrain/branches7.bmp", 12, 30},
    {"incgfx/terrain/branches8.bmp", 13, 37},
    {"incgfx/terrain/branches9.bmp", 20, 53},
    {"incgfx/terrain/branches10.bmp", 26, 67},
    {"incgfx/terrain/branches11.bmp", 33, 58},
    {"incgfx/terrain/rock0.bmp", 50, 50},
    {"incgfx/terrain/rock1.bmp", 35, 47},
    {"incgfx/terrain/rock2.bmp", 125, 51},
    {"incgfx/terrain/rock3.bmp", 101, 79},
    {"incgfx/terrain/rock4.bmp", 42, 36},
    {"incgfx/terrain/rock5.bmp", 30, 23},
    {"incgfx/terrain/rock6.bmp", 26, 30},
    {"incgfx/terrain/rock7.bmp", 35, 20},
    {"incgfx/terrain/rock8.bmp", 30, 20},
    {"incgfx/terrain/bar_h.bmp", 100, 10},
    {"incgfx/terrain/bar_v.bmp", 10, 100},
    {"incgfx/terrain/bar_c.bmp", 10, 10},
    {"incgfx/terrain/bar_d1.bmp", 77, 77},
    {"incgfx/terrain/bar_d2.bmp", 77, 77},
    {"incgfx/tiles/000.bmp", 10, 30},
    {"incgfx/tiles/001.bmp", 14, 6},
    {"incgfx/tiles/002.bmp", 100, 100},
    {"incgfx/tiles/003.bmp", 100, 100},
    {"incgfx/tiles/004.bmp", 100, 100},
    {"incgfx/tiles/005.bmp", 100, 100},
    {"incgfx/tiles/006.bmp", 100, 100},
    {"incgfx/tiles/007.bmp", 100, 5},
    {"incgfx/tiles/008.bmp", 5, 100},
    {"incgfx/tiles/009.bmp", 100, 100},
    {"incgfx/tiles/010.bmp", 100, 100},
    {"incgfx/tiles/011.bmp", 30, 10},
    {"incgfx/tiles/012.bmp", 30, 10},
    {"incgfx/tiles/013.bmp", 30, 10},
    {"incgfx/tiles/014.bmp", 10, 30},
    {"incgfx/tiles/015.bmp", 10, 30},
    {"incgfx/tiles/016.bmp", 10, 30},
};

std::string objn[10];
int objw[10], objh[10];

namespace {

const char* const kVersionCurrent = "Beta 0.1.0.1";
const char* const kVersionFailed = "Failed to check version. Maybe the Q.V.G.N. is offline!";
// With "/": a "\" separator never matches the real file on this platform and
// the service's reply would be written to a stray file named with it.
const char* const kServiceDataFile = "sys/qvgn.dat";

const IncbinFile* find_builtin(const IncbinFile* table, const char* name) {
    for (const IncbinFile* f = table; f && f->name; f++)
        if (std::strcmp(f->name, name) == 0) return f;
    return nullptr;
}

// Every record type's static collections, new and empty.
void create_collections() {
    TChan::list.clear();
    Tres::gfx.assign(300, nullptr);
    Tres::sfx.assign(300, nullptr);
    Ttemp::list.clear();
    Tscr::script.assign(300, nullptr);
    Tscro::weapon.assign(256, nullptr);
    Tscro::projectile.assign(256, nullptr);
    Tscro::obj.assign(256, nullptr);
    Tinput_hotkey::list.clear();
    Ttipp::list.clear();
    for (auto& line : Ttipp::tipp_current) line.clear();
    for (auto& layer : Tp::list) layer.clear();
    Tmission::list.clear();
    Tteam::list.clear();
    Tplayer::list.clear();
}

void create_globals() {
    std::fill(std::begin(in_f), std::end(in_f), 0);
    in_console.clear();
    std::fill(std::begin(menu_color), std::end(menu_color), 255);
    std::fill(std::begin(menu_file_mpos), std::end(menu_file_mpos), 0);
    menu_file_files.clear();
    for (auto& t : gui_in_txt) t.clear();
    std::fill(std::begin(gui_in_check), std::end(gui_in_check), 0);
    std::fill(std::begin(gui_in_sel), std::end(gui_in_sel), 0);
    std::fill(std::begin(gui_in_scroll), std::end(gui_in_scroll), 0);
    std::fill(std::begin(gui_in_accessory), std::end(gui_in_accessory), 0);
    std::fill(std::begin(gui_slot), std::end(gui_slot), 0);
    g_replay_cbuffer = CreateBank(0);
    for (auto& set : g_weaponset)
        for (auto& column : set)
            for (auto& slot : column) slot.clear();
    std::memset(g_weaponseti, 0, sizeof g_weaponseti);
    std::memset(g_weaponsets, 0, sizeof g_weaponsets);
    std::memset(g_weaponsetcd, 0, sizeof g_weaponsetcd);
    std::fill(std::begin(g_bgcol), std::end(g_bgcol), 0);
}

// The options screen shows "Default Driver" for the platform's "Null".
void list_audio_drivers() {
    aud = AudioDrivers();
    for (auto& name : aud)
        if (name == "Null") name = "Default Driver";
}

void open_debug_log() {
    if (debugstream) debugstream->Close();
    debugstream = nullptr;
    if (FileType("debug") != FILETYPE_DIR) CreateDir("debug");
    std::string date = CurrentDate(), time = CurrentTime();
    std::replace(date.begin(), date.end(), ' ', '-');
    std::replace(time.begin(), time.end(), ':', '-');
    // Null when it cannot be written: logging is then off, without a message.
    debugstream = WriteFile("debug/db_" + date + "_" + time + ".txt");
}

void fill_object_kinds() {
    static const struct {
        const char* name;
        int w, h;
    } kinds[8] = {{"Spawnpoint", 12, 24}, {"Fire", 2, 2},      {"Supply Crate", 20, 16}, {"Mine", 3, 3},
                  {"Bear Trap", 3, 3},    {"Medikit", 20, 16}, {"Node", 15, 15},         {"Item", 20, 16}};
    for (int i = 0; i < 10; i++) {
        objn[i] = i < 8 ? kinds[i].name : "";
        objw[i] = i < 8 ? kinds[i].w : 0;
        objh[i] = i < 8 ? kinds[i].h : 0;
    }
}

}  // namespace

int startup_register_builtins(const IncbinFile* table) {
    for (const BuiltinImage& b : kBuiltinImages) {
        const IncbinFile* f = find_builtin(table, b.name);
        if (!f) {
            Notify(std::string("The built-in image '") + b.name + "' is missing from this build!", true);
            End(1);
        }
        IncbinRegister(b.name, f->data, f->size);
    }
    return 0;
}

int startup_version_outcome() {
    if (Tqvgn::version.empty())
        menu_error(kVersionFailed, kSubMain);
    else if (Tqvgn::version != kVersionCurrent)
        menu_setsub(kSubOutdated);
    return 0;
}

int startup_checkversion() {
    loadscreen("Checking Game Version", 1);
    game_net_iniudp(0, 0);
    Tqvgn::ini(kServiceDataFile, 2);
    Tqvgn::natpunch_id = 10;
    Tqvgn::checkversion_start();
    while (Tqvgn::timeout > 0) {
        loadscreen("Checking Game Version", 1);
        if (Tqvgn::checkversion_update() > 0) break;
        Delay(50);
    }
    return startup_version_outcome();
}

int startup_firststart() {
    if (menu_sub == kSubMain && (set_name == "Mr. Grombat" || set_name == "Mr Grombat" || set_name == "Grombat")) {
        menu_setsub(kSubFirstStart);
        // The emptied name field gets the keyboard.
        gui_infocus = 0;
    }
    return 0;
}

int startup(const StartupOptions& options) {
    startup_register_builtins(options.builtins);
    PlatformOptions platform;
    platform.headless = options.headless;
    PlatformInit(platform);

    create_collections();
    set_scrxh = set_scrx / 2;
    set_scryh = set_scry / 2;
    host_settings_init();
    in_ms_start = MilliSecs();
    create_globals();
    SetAppTitle("Quorvane Software's Grombat Fraycup");
    // A second reading of the clock.
    in_seed = MilliSecs();
    SeedRnd(in_seed);

    settings_load(1);
    setupgraphics();
    list_audio_drivers();
    Fudp_initialize();
    // Fonts, images and sounds; ends with the three particle layers.
    catalogue_load();
    // A missing terrain texture must end the program here, never half-way
    // through building a match's map.
    std::string texture_error;
    if (!map_check_textures(texture_error)) {
        Notify(texture_error, true);
        End(1);
    }
    open_debug_log();
    fill_object_kinds();
    for (auto& channel : lua_channel) channel = nullptr;
    lua_reset();
    menu_ini();
    menu_getgfxmodes();
    Ttipp::loadtipps();
    startup_checkversion();
    SetClsColor(100, 120, 150);
    startup_firststart();
    Tinput_hotkey::loadkeys();
    return 0;
}

int game_main(int argc, char** argv, const StartupOptions& options) {
    SetAppArgs(argc, argv);
    // Resources are found relative to the program, wherever it is started from.
    if (options.change_dir) ChangeDir(AppDir());
    startup(options);
    main_loop(options.passes);
    return 0;
}
