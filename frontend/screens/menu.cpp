// Menu frame and screen dispatch (stand-in until the front end exists: a plain
// screen).
#include "frontend/screens/menu.h"

int menu = 0;
int menu_sub = 0;
int menu_firststart = 0;
int menu_editorsub = 0;
int menu_mapstyle = 0, menu_mapcave = 0;
int menu_color[3];
std::vector<std::string> set_availgfxmodes;

int menu_ini() {
    menu = 1;
    menu_sub = 0;
    return 0;
}
int menu_getgfxmodes() { return 0; }
int menu_setsub(int sub) {
    if (menu != 2 && menu != 3) menu_sub = sub;
    return 0;
}
int menu_error(const std::string&, int) { return menu_setsub(11); }
int menu_draw() { return 0; }
int menu_options_video_change() { return 0; }
