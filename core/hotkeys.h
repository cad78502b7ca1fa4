// Weapon hotkeys: F1-F12 bound to weapon-menu cells, kept in sys/hotkeys.dat.
#pragma once

#include <list>
#include <memory>

struct Tinput_hotkey {
    int hotkey = 0;   // 0..11 for F1..F12
    int menu = 0;     // weapon-menu category 1..3
    int x = 0;        // column 0..13
    int y = 0;        // row 0..8

    static std::list<std::shared_ptr<Tinput_hotkey>> list;

    static int sethotkey(int menu, int x, int y, int key);
    static int drawhotkeys();
    static int checkhotkeys(int flag);
    static int savekeys();
    static int loadkeys();
};
