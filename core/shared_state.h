// Shared game state: declarations of globals and entry points that lower
// layers read, set or call while their owners live higher up.
//
// The game's design shares many globals across subsystems. Each is defined by
// its owner (the file named beside it); this header only declares it, so a
// lower layer (core, terrain, world, scripting ...) never includes a higher
// layer's header to reach it. Keep the game's names; group by owner.
#pragma once

#include "platform/bank.h"

// ---- Lockstep frame buffer and world-event records (world/frame_buffer.*,
// world/events.*): names they reach in higher layers.

// match/replay.cpp
extern int g_replay;          // 1 while a replay plays: no records are written
extern int g_replay_pause;
extern BankPtr g_replay_cbuffer;
