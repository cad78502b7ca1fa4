// Widget toolkit globals and text drawing shared by every screen.
#pragma once

#include <string>

#include "core/shared_state.h"

extern int gui_in_scroll[11];
extern int gui_in_accessory[6];
extern int gui_slot[8];

int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
