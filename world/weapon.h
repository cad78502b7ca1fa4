// Weapon use: the current weapon's attack callback every simulation frame of
// a turn, and the per-use state that choosing a weapon resets.
#pragma once

struct Tplayer;

// Hands the attack state (1 while the attack key is held and allowed) to the
// player's weapon script, with the player as the acting one (lua_p, left
// set). Nothing in a mission whose weapon is out of ammunition, nor for a
// weapon without a registry entry. Returns 0.
int weapon_attack(Tplayer& player, int state);

// 1 when weapon_select would take a pick now (no weapon that locks switching
// has been used this turn); changes nothing.
int weapon_selectable();
// 0 while a weapon that locks switching has been used this turn (nothing
// changes); otherwise resets the use state (g_wpn_attacked, the HUD's
// placement cursor and timer bar, the weapon_* script globals) and gives 1.
int weapon_select(int weapon);
