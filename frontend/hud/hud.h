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
    // The one-frame info line and its colour ("" none).
    static std::string info;
    static int infor, infog, infob;
    // The typing message box: open flag, its lines, the length of its text in
    // characters (-1 after reset) and the typing counter.
    static int msgbox;
    static std::vector<std::string> msgboxtext;
    static int msgboxtotallength, msgboxfadein, msgboxa;

    // Shows text as the single centre message (icon -1 none).
    static int add(const std::string& text, int r, int g, int b, int icon);
    // Closes the box and forgets its text length (match reset and start).
    static int reset();
};

// ---- Script HUD items, queued for the next rendered frame (stand-in: the
// HUD pass that draws and empties the queues comes with the HUD).
struct Thud_lua {
    std::string txt;
    int x = 0, y = 0;
    int rgb[3] = {255, 255, 255};
    int align = 0;
    static std::vector<Thud_lua> list;
    static int add(const std::string& text, int x, int y, int r, int g, int b, int align);

    struct Image {
        int image = 0, x = 0, y = 0, mode = 0;
        // The draw state at the call.
        int r = 255, g = 255, b = 255, blend = 0;
        float alpha = 1, scalex = 1, scaley = 1, rotation = 0;
    };
    static std::vector<Image> imglist;
    static int addimage(int image, int x, int y, int mode);
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
