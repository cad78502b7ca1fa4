// Weapon sets: the grid of weapon scripts in play (3 categories x 14 columns x
// 9 rows, the weapon menu's layout), the weapon-set file, and the list of
// scripts the script loader runs.
//
// Slot order, used by the file, the script list and the weapon binding alike:
// category 0..2, within it row 0..8, within it column 0..13.
//
// The file (weaponsets/<name>.gfws), version 2: the line "<GFWS V 2.0>", CR LF,
// then per slot in slot order its path (one byte per character), CR LF and
// three bytes (amount, first-use round, crate chance). Version 1 (read only)
// has no header line and two bytes per slot (chance 3). An all-empty set is
// 14 + 378 x 5 = 1,904 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/shared_state.h"

inline constexpr int kWeaponSetSlots = 3 * 14 * 9;

// The slot arrays (g_weaponset, g_weaponseti, g_weaponsets, g_weaponsetcd)
// are declared in core/shared_state.h.
// The distinct non-empty paths of the set, in slot order.
extern std::vector<std::string> gui_weaponsb;
// menu_wpns_default's results: amount 0..100 and first-use round 1..10.
extern int menu_wpn_defaultammo;
extern int menu_wpn_defaultfirstuse;

// Reads a set file. A file that cannot be opened, or that ends before its
// 378th record is whole, leaves the set unchanged (the latter with a console
// line). Always 0.
int menu_wpns_loadset(const std::string& path);
// Writes the set as a version-2 file, creating a missing folder first; a file
// that cannot be written is passed over. Always 0.
int menu_wpns_saveset(const std::string& path);
// 1 when a slot holds exactly this (non-empty) path.
int menu_wpns_isinset(const std::string& path);
// Zeroes g_weaponseti and rebuilds gui_weaponsb. Always 0.
int menu_wpns_listfromset();
// Reads the amount and first-use round from the script's first "addweapon(" line.
int menu_wpns_default(const std::string& path);
