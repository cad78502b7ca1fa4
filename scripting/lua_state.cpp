// The Lua state (stand-in until the scripting interface exists).
#include "scripting/lua_state.h"

int lua_allowweaponswitch = 1;
ChannelPtr lua_channel[10];
std::vector<std::string> g_gamemodes;
std::vector<std::string> g_gameenders;

int lua_reset() { return 0; }
