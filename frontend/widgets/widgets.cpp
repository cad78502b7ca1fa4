// Widget toolkit globals (stand-in text drawing until the toolkit exists).
#include "frontend/widgets/widgets.h"

std::string gui_tt;
int gui_infocus = 0;
int gui_scrolllock = -1;
std::string gui_in_txt[11];
int gui_in_check[10];
int gui_in_sel[10];
int gui_in_scroll[11];
int gui_in_accessory[6];
int gui_slot[8];

int gui_text(const std::string&, int, int, int, int, int, int, float) { return 0; }
int gui_stext(const std::string&, int, int, int, int, int, int, float) { return 0; }
