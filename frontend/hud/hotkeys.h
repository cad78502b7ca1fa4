// Weapon hotkeys: F1-F12 bound to weapon-menu cells, kept in sys/hotkeys.dat.
//
// The list holds at most one binding per key and one per cell, and only
// bindings that address a real key and cell. The file is 4-byte records
// (menu, x, y, hotkey) in list order; records outside the model are dropped
// on loading.
#pragma once

#include <list>
#include <memory>

inline constexpr const char* kHotkeysFile = "sys/hotkeys.dat";

struct Tinput_hotkey {
    int hotkey = 0;   // 0..11 for F1..F12
    int menu = 0;     // weapon-menu category 1..3
    int x = 0;        // column 0..13
    int y = 0;        // row 0..8

    static std::list<std::shared_ptr<Tinput_hotkey>> list;

    // Binds key to the cell, moves it there from another cell, or unbinds it
    // when the cell already has it; then saves the list.
    static int sethotkey(int menu, int x, int y, int key);
    // Labels "F1".."F12" on the cells of the open category (drawn passes only).
    static int drawhotkeys();
    // flag 1 when the local user controls the turn.
    static int checkhotkeys(int flag);
    static int savekeys();
    static int loadkeys();
};
