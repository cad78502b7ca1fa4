// Weapon-set model (stand-in storage until the weapon-set code arrives).
#include "frontend/weaponset.h"

std::string g_weaponset[3][14][9];
uint8_t g_weaponseti[3][14][9];
uint8_t g_weaponsets[3][14][9][3];
int g_weaponsetcd[3][14][9];
