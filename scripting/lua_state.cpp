// The Lua state (stand-in until the scripting interface exists).
#include "scripting/lua_state.h"

#include <map>

int lua_allowweaponswitch = 1;
ChannelPtr lua_channel[10];
std::vector<std::string> g_gamemodes;
std::vector<std::string> g_gameenders;

int lua_reset() { return 0; }

// ---- Key flags and script calls used by the frame buffer and world-event
// records (stand-ins until the scripting interface exists; declared for world
// code in core/shared_state.h).
int lua_keyup = 0, lua_keydown = 0, lua_keyleft = 0, lua_keyright = 0, lua_keyjump = 0, lua_keybackjump = 0,
    lua_keyattack = 0;
int lua_allowplayercontrol = 1;
int lua_keyhit[7] = {}, lua_keyrelease[7] = {};
std::map<std::string, int> lua_globalints;
std::vector<std::string> lua_errors;

int lua_keyhitreleaseupdate(int up, int down, int left, int right, int jump, int backjump, int attack) {
    const int before[7] = {up, down, left, right, jump, backjump, attack};
    const int now[7] = {lua_keyup, lua_keydown, lua_keyleft, lua_keyright, lua_keyjump, lua_keybackjump, lua_keyattack};
    for (int i = 0; i < 7; ++i) {
        lua_keyhit[i] = before[i] == 0 && now[i] == 1;
        lua_keyrelease[i] = before[i] == 1 && now[i] == 0;
    }
    return 0;
}

int luaerror(const std::string& section, const std::string& msg) {
    if (lua_errors.size() >= 256) lua_errors.erase(lua_errors.begin());
    lua_errors.push_back(section + (msg.empty() ? "" : ": " + msg));
    return 0;
}

int lua_setglobalint(const std::string& name, int value) {
    lua_globalints[name] = value;
    return 0;
}
