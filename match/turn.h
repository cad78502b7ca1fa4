// The turn cycle: the holder's turn logic, the host's turn changes and the
// start of a turn on every machine.
//
// Turn states: 0 no turn yet, 1 running, 2 backing time (the player still
// moves after using a weapon), 3 control over while the world settles, 99
// end requested (the world stands still for 50 blank frames), 100 the end
// synchronisation is written and flushed, 101 one more holder frame (holder
// only), 102 the turn is over, waiting for the host's next turn start.
#pragma once

#include <functional>

struct Tplayer;

// The holder's per-frame turn logic; returns the control flag (1 in states
// 1 and 2). Writes records 1/3 and 1/2 (applied by the holder too, through
// Tfb::loc) and the end synchronisation 1/1.
int game_turn_logic(Tplayer& p, int ai);
// A joined holder tells the host it finished the turn (message 100 sub 2).
int game_turn_confirm();
// Applies, in order, every waiting frame of the turn that follows on from
// g_turn_frames (a turn start must not drop frames that have arrived). The
// turn message's handler calls it before it stores the new turn's wind,
// times and round, so the old turn's frames run with the old values;
// game_turn_start calls it again (nothing left then).
int game_turn_drain();
// Test seam: called when game_turn_drain begins and after each frame it
// applies (null: none).
extern std::function<void()> game_drain_hook;
