// Per-turn script state: the acting player, the permissions, the 21 key flags
// with their hit and release edges, the AI lock and timer and the camera
// request that scripts and the match code share. The flags world code reads
// and sets are declared in core/shared_state.h.
//
// Within a frame the held flags are set first (from the key byte, the
// keyboard or the AI script), the turn player acts on them, and then
// lua_keyhitreleaseupdate derives the edges; so every machine, which derives
// the held flags from the same key byte, sees the same edges in every frame.
#pragma once

#include "core/shared_state.h"

// 1 once the AI script's ai_init ran in this turn.
extern int lua_ai_init;
// Weapon timer (1..10) the AI script chose; 0 for none.
extern int lua_timersetto;
// A camera move requested by scroll: pending flag and target.
extern int lua_scrolla, lua_scrollx, lua_scrolly;

// The turn-start state: permissions 1, lua_ai_init 0, all 21 key flags 0,
// no timer and no camera request, the seven weapon_* Lua globals 0.
// lua_p, lua_pro and lua_ailock are kept.
void lua_resetturn();
