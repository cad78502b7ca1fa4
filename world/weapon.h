// Weapon use: selecting a weapon and the per-use state it resets. (Stand-in:
// the selection rule; the game world fills this file.)
#pragma once

// 1 when the switch may go ahead (per-use state reset), 0 while a weapon that
// locks switching has been used this turn.
int weapon_select(int weapon);
