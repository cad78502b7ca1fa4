// Script loading: builds the whole scripted content of the next match (or of
// the map editor) on this machine in one blocking call.
//
// Order: game modes and game enders (or, in a mission, the mission's general
// and map scripts), the weapon set's scripts, the AI script. Every file runs
// through the guarded loader (text only, under the instruction budget); a
// failing file is reported through luaerror and loading goes on with the next.
// Afterwards every script image, sound and file is compressed and listed for
// joining machines, and the weapon-set slots are bound to the weapons.
#pragma once

#include <string>
#include <vector>

// Names of the files offered to joining machines: "gfx/" + path of each
// script image, "sfx/" + path of each script sound, then each script file.
extern std::vector<std::string> g_filelist;

// The full rebuild; always 0. Ends the program with a message when no game
// mode or no game ender is defined (outside missions).
int lua_weaponscripts();
// The "Loading Weapons" progress screen, redrawn only when more than 20 ms
// passed since lasttime (which it then updates). Always 0.
int lua_weaponscript_progress(int& lasttime, int done, int total);

// Binds every filled weapon-set slot to the first weapon its script
// registered (0 when it registered none); slots of one path share the
// weapon, the first of them giving its amount, first-use round and chance.
int lua_bindweaponset();
