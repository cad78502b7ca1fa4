// Widget toolkit globals and text drawing shared by every screen.
#pragma once

#include <string>

extern std::string gui_tt;          // tooltip of the widget under the pointer this frame
extern int gui_infocus;             // text field with keyboard focus, -1 none
extern int gui_scrolllock;          // dragged scroll bar, -1 none
extern std::string gui_in_txt[11];
extern int gui_in_check[10];
extern int gui_in_sel[10];
extern int gui_in_scroll[11];
extern int gui_in_accessory[6];
extern int gui_slot[8];

// Text in font_main / font_small, drawn only on drawn passes; align 1 centre, 2 right.
int gui_text(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
