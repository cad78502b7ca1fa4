// Game enders: from a chosen round on, once per turn, the water rises or a
// lethal laser band sweeps the map, or a script ender acts. Only the turn
// holder runs them; every effect travels as records that every machine (the
// holder through Tfb::loc) applies in the same frame.
#include <string>

#include "core/host_settings.h"
#include "core/random.h"
#include "match/game.h"
#include "scripting/callbacks.h"
#include "scripting/lua_state.h"
#include "terrain/tiles.h"
#include "world/explosion.h"
#include "world/frame_buffer.h"
#include "world/water.h"

int g_enddone = 0;

namespace {

constexpr int kBand = 30;          // thickness of a band and its step
constexpr int kReach = 500;        // the damage reaches beyond the map's ends
constexpr int kBandDamage = 100000;

void sound(int which) {
    if (!Tfb::fits(2)) return;
    Tfb::wbyte(78);
    Tfb::wbyte(which);
    Tfb::copyloc(2);
}

void flood() {
    if (Tfb::fits(5)) {
        Tfb::wbyte(31);
        Tfb::wint(g_waterlevel_change - kBand);
        Tfb::copyloc(5);
    }
    sound(0);
}

void band(int x, int y, int vertical) {
    if (!Tfb::fits(12)) return;
    Tfb::wbyte(79);
    Tfb::wint(x);
    Tfb::wint(y);
    Tfb::wshort(kBand);
    Tfb::wbyte(vertical);
    Tfb::copyloc(12);
}

void horizontal(int y) {
    band(0, y, 0);
    rectdamage(-kReach, y, map_xsize + 2 * kReach, kBand, kBandDamage);
}

void vertical(int x) {
    band(x, 0, 1);
    rectdamage(x, -kReach, kBand, map_ysize + 2 * kReach, kBandDamage);
}

void laser_top(int s) {
    int y = kBand * s;
    if (y > map_ysize) return;
    sound(1);
    horizontal(y);
}

}  // namespace

int game_ender() {
    const int start = set[17], type = set[18];
    if (g_enddone != 0 || start <= 0 || g_round < start || type < 0 || type >= (int)g_gameendersi.size()) return 0;
    const std::string n = g_gameendersi[(size_t)type];
    const int s = g_endstep;
    if (!n.empty() && n[0] == '<') {
        if (n == "<flood>") {
            flood();
        } else if (n == "<laser-top>") {
            laser_top(s);
        } else if (n == "<laser-left>") {
            int x = kBand * s;
            if (x <= map_xsize) {
                sound(1);
                vertical(x);
            }
        } else if (n == "<laser-right>") {
            int x = map_xsize - kBand - kBand * s;
            if (x + 25 >= 0) {
                sound(1);
                vertical(x);
            }
        } else if (n == "<laser-left+right>") {
            int x1 = kBand * s, x2 = map_xsize - kBand - kBand * s;
            if (x1 <= x2) {
                sound(1);
                band(x1, 0, 1);
                band(x2, 0, 1);
                rectdamage(x1, -kReach, kBand, map_ysize + 2 * kReach, kBandDamage);
                rectdamage(x2, -kReach, kBand, map_ysize + 2 * kReach, kBandDamage);
            }
        } else if (n == "<flood+laser-top>") {
            flood();
            laser_top(s);
        } else if (n == "<laser-random>") {
            sound(1);
            horizontal(Rand(0, map_ysize - kBand));
            vertical(Rand(0, map_xsize - kBand));
        }
    } else {
        lua_ge_run(s);
    }
    if (Tfb::fits(3)) {
        Tfb::wbyte(80);
        Tfb::wshort((s + 1) & 0xFFFF);
        Tfb::copyloc(3);
    }
    g_enddone = 1;
    if (g_turn_idletimer < 50) g_turn_idletimer = 50;
    return 0;
}
