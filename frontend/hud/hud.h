// In-game HUD state read outside the HUD: menus, weapon hover and the centre message.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

extern int hud_currentmenu;      // in-game menu page, 0 closed
extern int hud_weaponhover;      // weapon under the pointer, -1 none
extern int hud_weaponhovert;     // frames hovered
extern int hud_weaponhoverteam;  // team colour of the information box
extern int hud_wpnsel;           // weapon chosen this turn

struct Thud_msg {
    // The message on show: text ("" none), colour and icon.
    static std::string text;
    static int r, g, b, icon;

    // Shows text as the single centre message (icon -1 none).
    static int add(const std::string& text, int r, int g, int b, int icon);
};

// ---- Rising texts and in-match chat lines (stand-ins: kept, not drawn).
struct Thud_flytext {
    std::string text;
    int x = 0, y = 0, r = 0, g = 0, b = 0;
    static std::vector<Thud_flytext> list;
    static int add(const std::string& text, int x, int y, int r, int g, int b);
};
struct Thud_chat {
    int id = 0;
    std::string text;
    int frames = 0;
    std::string suffix;
    static std::vector<Thud_chat> list;
    static int add(int id, const std::string& text, int seconds, const std::string& suffix);
};
