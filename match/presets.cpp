// Host-settings preset files: writing, reading (with mission weapon slots) and
// the range check of the host settings.
#include "match/presets.h"

#include <algorithm>
#include <vector>

#include "core/host_settings.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "match/game.h"
#include "match/mission.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "scripting/lua_state.h"
#include "terrain/tiles.h"

namespace {

// Category 0 of the weapon menu: 14 columns by 9 rows.
constexpr int kWeaponColumns = 14, kWeaponRows = 9;

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// "w01".."w12" give their column in row 0; -1 for any other key.
int numbered_slot(const std::string& key) {
    if (key.size() != 3 || key[0] != 'w' || key[1] < '0' || key[1] > '1' || key[2] < '0' || key[2] > '9') return -1;
    int n = (key[1] - '0') * 10 + (key[2] - '0');
    return n >= 1 && n <= 12 ? n - 1 : -1;
}

// A mission's weapon line: script[,cooldown[,count]] into one slot of category 0.
void load_weapon_slot(const std::string& key, const std::string& value) {
    int column = -1, row = -1;
    if (key == "w") {
        for (int r = 1; r < kWeaponRows && row < 0; r++)
            for (int c = 0; c < kWeaponColumns; c++)
                if (g_weaponset[0][c][r].empty()) {
                    column = c, row = r;
                    break;
                }
        if (row < 0) {
            gui_addcon("Weapon menu full, preset weapon ignored: " + value);
            return;
        }
    } else {
        column = numbered_slot(key), row = 0;
    }
    std::vector<std::string> parts = text_split(value, ",");
    std::string script = trimstr(parts[0]);
    if (Tmission::selected) {
        const std::string folder = "missions/" + Tmission::selected->folder;
        script = replace_all(replace_all(script, "$MISSION", folder), "$mission", folder);
    }
    g_weaponset[0][column][row] = script;
    if (parts.size() > 1) g_weaponsetcd[0][column][row] = std::max(0, text_toint_saturating(trimstr(parts[1])));
    if (parts.size() > 2) g_weaponsets[0][column][row][0] = (uint8_t)std::clamp(text_toint_saturating(trimstr(parts[2])), 0, 99);
}

void load_line(const std::string& line) {
    std::vector<std::string> parts = text_split(line, "=");
    if (parts.size() < 2) return;
    std::string key = trimstr(parts[0]);
    std::string value = trimstr(parts[1]);
    if (menu == kMenuMission && (key == "w" || numbered_slot(key) >= 0)) {
        load_weapon_slot(key, value);
        return;
    }
    if (key.empty()) return;
    int number = text_toint_saturating(value);
    if (key == "terrainstyle" || key == "terrainform") {
        if (number >= -1 && number <= 4) (key == "terrainstyle" ? menu_mapstyle : menu_mapcave) = number;
        return;
    }
    if (key == "terrainwidth" || key == "terrainheight") {
        if (number >= 300 && number <= 3000) (key == "terrainwidth" ? map_xsize : map_ysize) = number;
        return;
    }
    std::string name = text_lower(key);
    for (int i = 0; i < kHostSettings; i++)
        if (!setn[i].empty() && text_lower(setn[i]) == name) {
            set[i] = number;
            return;
        }
}

}  // namespace

int settings_save_host(const std::string& path) {
    if (path.empty()) return 0;
    std::string file = ExtractExt(path).empty() ? path + ".cfg" : path;
    std::vector<std::string> lines = {
        "terrainstyle=" + std::to_string(menu_mapstyle),
        "terrainform=" + std::to_string(menu_mapcave),
        "terrainwidth=" + std::to_string(map_xsize),
        "terrainheight=" + std::to_string(map_ysize),
    };
    for (int i = 0; i < kHostSettings; i++)
        if (!setn[i].empty()) lines.push_back(setn[i] + "=" + std::to_string(set[i]));
    SaveLines(lines, file);
    return 0;
}

int settings_load_host(const std::string& path) {
    if (path.empty() || FileType(path) == FILETYPE_NONE) return 0;
    if (StreamPtr file = ReadFile(path)) {
        while (!file->Eof() && !file->Failed()) load_line(file->ReadLine());
        file->Close();
    }
    if (set[19] >= (int)g_gamemodes.size()) set[19] = 0;
    if (set[18] >= (int)g_gameenders.size()) set[18] = 0;
    game_mode_load();
    return 0;
}

// Runs after every preset load (through game_mode_load). The values of the
// lobby-settings message, the join reply and a replay's initial block arrive
// unchecked, so their readers run this same check on what they stored: it
// only clamps, so it is safe on any values at any time.
int settings_check_host() {
    for (int i = 0; i < kHostSettings; i++) {
        int lo, hi;
        if (set_array[i].size() == 1) {
            if (!host_setting_range(i, lo, hi)) continue;
            if (set[i] < lo) set[i] = lo;
            if (set[i] > hi) set[i] = hi;
        } else if (!set_array[i].empty()) {
            set[i] = std::clamp(set[i], 0, (int)set_array[i].size() - 1);
        }
    }
    return 0;
}
