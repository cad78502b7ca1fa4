// Widget toolkit globals and text drawing shared by every screen.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

extern int gui_in_scroll[11];
extern int gui_in_accessory[6];
extern int gui_slot[8];

int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
// Test seam: when set, every gui_stext call is also handed to it (text,
// position, colour), drawn or not.
struct Tgui_textcall {
    std::string text;
    int x, y, r, g, b;
};
extern std::vector<Tgui_textcall>* gui_stext_record;
