// Menu frame and screen dispatch: the top-level mode, the current front-end
// screen and the calls that switch screens.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

extern int menu_firststart;
extern int menu_editorsub;
extern int menu_color[3];

int menu_ini();
int menu_getgfxmodes();
int menu_setsub(int sub);
// The Game Over screen: the result line and the selected statistics page
// with its count-up (one call per drawn pass).
int menu_gameover_draw();
int menu_error(const std::string& message, int returnsub);
int menu_draw();
int menu_options_video_change();

// The error screen's message and the screen its Okay button returns to.
extern std::string menu_error_message;
extern int menu_error_return;
