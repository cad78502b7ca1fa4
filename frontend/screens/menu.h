// Menu frame and screen dispatch: the top-level mode, the current front-end
// screen and the calls that switch screens.
#pragma once

#include <string>
#include <vector>

// Top-level mode: 1 front end, 2 match or replay, 3 single-player mission.
extern int menu;
extern int menu_sub;
extern int menu_firststart;
extern int menu_editorsub;
extern int menu_mapstyle, menu_mapcave;
extern int menu_color[3];
extern std::vector<std::string> set_availgfxmodes;

int menu_ini();
int menu_getgfxmodes();
int menu_setsub(int sub);
int menu_error(const std::string& message, int returnsub);
int menu_draw();
int menu_options_video_change();

// The error screen's message and the screen its Okay button returns to.
extern std::string menu_error_message;
extern int menu_error_return;
