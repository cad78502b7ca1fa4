// Weapon-set model: the weapon menu grid of 3 categories x 14 columns x 9 rows.
#pragma once

#include <cstdint>
#include <string>

// Script path per slot; "" for an empty slot.
extern std::string g_weaponset[3][14][9];
// Weapon index per slot (into Tscro::weapon); 0 for an empty slot.
extern uint8_t g_weaponseti[3][14][9];
// Three bytes per slot; the first is the ammunition count.
extern uint8_t g_weaponsets[3][14][9][3];
// Cooldown per slot, used by missions.
extern int g_weaponsetcd[3][14][9];
