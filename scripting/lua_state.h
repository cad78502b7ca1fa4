// The Lua state and the scripting globals read outside the scripting interface.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/audio.h"

extern int lua_allowweaponswitch;
extern ChannelPtr lua_channel[10];
// Registered game modes and game enders (name and definition text).
extern std::vector<std::string> g_gamemodes;
extern std::vector<std::string> g_gameenders;

int lua_reset();

// ---- Key flags and script calls of the frame buffer and world-event records
// (stand-ins; declared for world code in core/shared_state.h).
extern int lua_keyhit[7], lua_keyrelease[7];            // up, down, left, right, jump, back jump, attack
extern std::map<std::string, int> lua_globalints;      // stand-in: integer globals set
extern std::vector<std::string> lua_errors;            // stand-in: luaerror sections, oldest first
