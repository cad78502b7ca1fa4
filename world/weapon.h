// Weapon use: selecting a weapon and the per-use state it resets. (Stand-in:
// the selection rule and the attack hand-over; the game world fills this file.)
#pragma once

struct Tplayer;

// Hands the attack state (1 while the attack key is held and allowed) to the
// player's weapon script, with the player as the acting one. Returns 0.
int weapon_attack(Tplayer& player, int state);

// 1 when the switch may go ahead (per-use state reset), 0 while a weapon that
// locks switching has been used this turn.
int weapon_select(int weapon);
