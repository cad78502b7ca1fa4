// Menu frame and screen dispatch (stand-in until the front end exists: a plain
// screen with the title, the quit dialog and the error screen's message).
#include "frontend/screens/menu.h"

#include <algorithm>
#include <cmath>

#include "core/catalogue.h"
#include "core/services.h"
#include "core/sound.h"
#include "core/input.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "frontend/screens/console.h"
#include "frontend/widgets/widgets.h"
#include "match/game.h"
#include "match/statistics.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "terrain/draw.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/water.h"

int menu = 0;
int menu_sub = 0;
int menu_firststart = 0;
int menu_editorsub = 0;
int menu_mapstyle = 0, menu_mapcave = 0;
int menu_color[3];
std::vector<std::string> set_availgfxmodes;
std::string menu_error_message;
int menu_error_return = 0;

int menu_ini() {
    menu = kMenuFrontEnd;
    menu_sub = kSubMain;
    return 0;
}

int menu_getgfxmodes() {
    for (const TGraphicsMode& m : GraphicsModes()) {
        if (m.width < 640 || m.height < 480) continue;
        std::string mode = std::to_string(m.width) + "x" + std::to_string(m.height);
        bool known = false;
        for (const std::string& have : set_availgfxmodes) known = known || have == mode;
        if (!known) set_availgfxmodes.push_back(mode);
    }
    return 0;
}

int menu_setsub(int sub) {
    input_flush();
    if (menu != kMenuMatch && menu != kMenuMission) menu_sub = sub;
    if (sub == kSubGameOver) {
        // Entering the Game Over screen starts the first page's count-up.
        menu_stats = 0;
        menu_stats_buildup = 0;
        menu_stats_flash = 0;
    }
    if (sub == 80) {
        gui_in_txt[0].clear();
        gui_in_txt[1] = set_qvgnu;
        gui_in_txt[2] = set_qvgnp;
    }
    return 0;
}

int menu_error(const std::string& message, int returnsub) {
    menu_error_message = message;
    menu_error_return = returnsub;
    menu_setsub(kSubError);
    gui_addcon("*** " + message + " ***");
    return 0;
}

int menu_gameover_draw() {
    // The result line: a team colour, the pulsing "DRAW", or red text.
    if (menu_wincol > -1) {
        teamcolor(menu_wincol);
        int r = 255, g = 255, b = 255;
        GetColor(r, g, b);
        gui_text(menu_winstring, set_scrxh, 50, 1, r, g, b, 1);
    } else if (menu_winstring.empty()) {
        const int v = 105 + (int)(150 * std::fabs(std::sin((in_ms / 3) * 3.14159265358979 / 180)));
        gui_text("DRAW", set_scrxh, 50, 1, v, 0, 0, 1);
    } else {
        gui_text(menu_winstring, set_scrxh, 50, 1, 255, 0, 0, 1);
    }
    if (menu_stats == 0) Ts_turn::draw();
    if (menu_stats == 1) stats_drawstats();
    if (menu_stats == 2) Ts_weapons::draw();
    if (menu_stats_buildup < 50) {
        menu_stats_buildup++;
        if (menu_stats_buildup % 3 == 0) play(sfx_tick, 1.0f);
        if (menu_stats_buildup == 50) {
            play(sfx_stats_done, 1.0f);
            menu_stats_flash = 255;
        }
    }
    menu_stats_flash = std::max(0, menu_stats_flash - 15);
    return 0;
}

int menu_draw() {
    // The menus show the sky, the current terrain (none yet) and the water
    // behind their widgets, with a light breeze moving the clouds.
    if (g_storm > -0.01f && g_storm < 0.01f) g_storm = 0.05f;
    if (g_fps_render == 1) Cls();
    map_draw_bg();
    map_x = (float)(set_scrxh - map_xsize / 2);
    map_y = (float)(map_ysize > 0 ? set_scry - map_ysize - 50 : set_scry - 50);
    g_waterlevel = map_ysize - 10;
    map_draw_water(1);
    if (g_fps_render != 1) return 0;
    SetTransform(0, 1, 1);
    SetBlend(ALPHABLEND);
    if (font_title) {
        SetImageFont(font_title);
        SetAlpha(1);
        SetColor(255, 255, 255);
        const std::string title = "Grombat Fraycup";
        DrawText(title, (float)(set_scrxh - TextWidth(title) / 2), (float)(set_scryh - 90));
    }
    if (menu_sub == kSubQuit) {
        gui_text("Do you really want to quit?", set_scrxh, set_scryh - 10, 1, 255, 255, 255, 1);
        gui_text("Press Escape again to quit", set_scrxh, set_scryh + 15, 1, 255, 255, 255, 1);
        return 0;
    }
    if (menu_sub == kSubError) gui_text(menu_error_message, set_scrxh, set_scryh - 10, 1, 255, 200, 200, 1);
    if (menu_sub == kSubGameOver) menu_gameover_draw();
    gui_text("Press Escape twice to quit", set_scrxh, set_scry - 40, 1, 255, 255, 255, 0.8f);
    return 0;
}

int menu_options_video_change() { return 0; }
