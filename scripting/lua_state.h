// The Lua state and the scripting globals read outside the scripting interface.
#pragma once

#include <string>
#include <vector>

#include "platform/audio.h"

extern int lua_allowweaponswitch;
extern ChannelPtr lua_channel[10];
// Registered game modes and game enders (name and definition text).
extern std::vector<std::string> g_gamemodes;
extern std::vector<std::string> g_gameenders;

int lua_reset();
