// Game modes and match settings: the selected mode's locks and hooks, and the
// host settings turned into match state (wind, gravity, the health scale,
// the camera glides).
#include <algorithm>

#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/text.h"
#include "match/game.h"
#include "match/presets.h"
#include "scripting/callbacks.h"
#include "scripting/lua_state.h"
#include "scripting/turn_state.h"
#include "world/player.h"
#include "world/team.h"

int g_gamemode_started = 0;

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

}  // namespace

int game_mode_load() {
    for (auto& f : setfreeze) f.clear();
    const int mode = set[19];
    if (mode >= 0 && mode < (int)g_gamemodesi.size() && !g_gamemodesi[(size_t)mode].empty() &&
        mode < (int)g_gamemodess.size()) {
        auto items = split(g_gamemodess[(size_t)mode], ',');
        for (size_t i = 2; i < items.size(); ++i) {
            size_t eq = items[i].find('=');
            if (eq == std::string::npos) continue;
            std::string key = trimstr(items[i].substr(0, eq));
            int index = -1;
            for (int k = 0; k < kHostSettings && index < 0; ++k)
                if (setn[k] == key) index = k;
            // The mode and the ender stay the host's choice.
            if (index < 0 || index == 19 || index == 18) continue;
            setfreeze[index] = trimstr(items[i].substr(eq + 1));
        }
    }
    return settings_check_host();
}

int game_mode_update(int draw, int update) {
    if (lua_gamemode_active().empty()) return 0;
    if (draw == 1 && g_fps_render == 1) lua_gm_draw();
    if (update == 1) {
        lua_gm_update();
        // The start hook runs once per match, after the first update.
        if (g_gamemode_started == 0) {
            g_gamemode_started = 1;
            lua_gm_start();
        }
    }
    return 0;
}

int game_setstorm() {
    auto uniform = [](float bound) { return (float)Rnd(-(double)bound, (double)bound); };
    switch (set[11]) {
        case 0: g_storm = 0; break;
        case 1: g_storm = uniform(0.025f); break;
        case 2: g_storm = uniform(0.05f); break;
        case 4: g_storm = Rand(1, 2) == 2 ? -0.1f : 0.1f; break;
        default: g_storm = uniform(0.1f); break;
    }
    return 0;
}

int game_checksettings() {
    g_gravity = 0.1f;
    if (set[21] >= 0 && set[21] < 7) g_gravity = g_gravityArray[set[21]];
    return 0;
}

int game_maxhealth() {
    hud_maxhealth = 0;
    for (int id = 0; id < 8; ++id) {
        if (!Tteam::get(id)) continue;
        long long sum = 0;
        for (auto& p : Tplayer::list)
            if (p->team == id) sum += p->health;
        hud_maxhealth = (int)std::clamp<long long>(std::max<long long>(hud_maxhealth, sum), 0, 0x7FFFFFFF);
    }
    return 0;
}

int game_scroll() {
    if (in_autotemp > 0) {
        in_auto = 1;
        in_autotx = in_autotempx;
        in_autoty = in_autotempy;
        in_autotemp = 0;
    }
    // A script's request made in the same frame wins.
    if (lua_scrolla == 1) {
        in_auto = 1;
        in_autotx = lua_scrollx;
        in_autoty = lua_scrolly;
        lua_scrolla = 0;
    }
    return 0;
}

int game_resetscroll() {
    in_auto = 0;
    in_autotemp = 0;
    lua_scrolla = 0;
    in_softmove_x = 0;
    in_softmove_y = 0;
    return 0;
}
