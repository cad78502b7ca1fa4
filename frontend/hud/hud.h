// In-game HUD state read outside the HUD: menus, weapon hover and the centre message.
#pragma once

#include <string>

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
