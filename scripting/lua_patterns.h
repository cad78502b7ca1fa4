// The string library's pattern functions, counted against the instruction
// budget (see lua_patterns.cpp).
#pragma once

struct lua_State;

// Replaces string.find, string.match, string.gmatch and string.gsub.
void lua_install_patterns(lua_State* L);
