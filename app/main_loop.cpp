// Main loop and frame pacing.
//
// Every pass is one 20 ms step of the game's logic; drawing is shed before
// logic. At skip level s the render phase runs 1, 2, ..., s, 0, 1, ... and
// only phase 1 draws and flips. Once a second the passes counted decide the
// level: six slow seconds (below 49 passes) in a row raise it by one (at most
// 5); a good second whose frame waits slept at least 1000 / (level + 1) ms in
// all lowers it by one. A replay seek runs its passes without waiting and
// draws every 20th replay frame.
//
// The frame wait ends each pass on a 20 ms grid of the frame clock rather
// than 20 ms after the pass's own clock sample: counted from the sample,
// every sleep's overshoot and the time spent presenting the frame came on top
// of each pass, so a machine with time to spare ran 46-48 passes a second,
// which the adaptation took for slow seconds.
#include "app/main_loop.h"

#include <algorithm>
#include <string>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "frontend/file_prompt.h"
#include "frontend/hud/hud.h"
#include "frontend/hud/overlays.h"
#include "frontend/screens/console.h"
#include "frontend/screens/menu.h"
#include "frontend/widgets/widgets.h"
#include "match/game.h"
#include "match/mission.h"
#include "match/replay.h"
#include "net/pump.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "terrain/view.h"
#include "world/particles.h"
#include "world/player.h"

int g_fps_skipping = 0;
int g_fps_render = 1;
int g_fps_skipping_time = 0;
int g_fps_unskip = 0;
int in_fps = 0, in_fpsf = 0, in_fpst = 0;
int g_replay_fastforward = 0;
int g_fps_due = 0;

namespace {

std::function<void()> s_work_hook;

// Sums and differences of the 32-bit millisecond clock wrap rather than
// overflow (it wraps after 24.8 days).
int ms_since(int now, int then) { return (int)((unsigned)now - (unsigned)then); }
int ms_after(int time, int ms) { return (int)((unsigned)time + (unsigned)ms); }

// Spare milliseconds a good second needs before the level is lowered, by
// level: 1000 / (level + 1) cut to one decimal.
constexpr double kUnskipThreshold[6] = {0, 500, 333.3, 250, 200, 166.6};

}  // namespace

void main_loop_set_work_hook(std::function<void()> hook) { s_work_hook = std::move(hook); }

int main_loop_escape() {
    menu_firststart = 0;
    input_flush();
    switch (menu) {
        case kMenuFrontEnd:
            switch (menu_sub) {
                case kSubQuit: End();
                case kSubEditor: menu_editorsub = 6; break;
                case kSubStarting:
                case kSubLobby:
                case kSubLobbyOther:
                case kSubLobbyEditor:
                case kSubGameOver:
                case kSubLobbyWeapons:
                    game_leave(1);
                    menu_setsub(kSubMain);
                    break;
                default: menu_setsub(kSubQuit); break;
            }
            break;
        case kMenuMatch:
            if (hud_currentmenu == 0) {
                hud_rmenu = 0;
                hud_currentmenu = 1;
            } else {
                hud_currentmenu = 0;
            }
            break;
        case kMenuMission:
            if (hud_currentmenu == 0) {
                hud_rmenu = 0;
                hud_currentmenu = 1;
            } else {
                // The in-game menu of a mission stays open while the turn player is dead.
                std::shared_ptr<Tplayer> p = Tplayer::get(g_turn_player);
                if (p && p->health > 0) hud_currentmenu = 0;
            }
            break;
        default: break;
    }
    return 0;
}

int main_loop_overlays() {
    const ImagePtr& pointer = (in_m1d || in_m2d) ? gfx_pointer_click : gfx_pointer;
    SetTransform(0, 1, 1);
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(std::min(0.5f, in_ma / 2));
    DrawImage(pointer, (float)(in_mx + 2), (float)(in_my + 2), 0);
    SetColor(255, 255, 255);
    SetAlpha(std::min(1.0f, in_ma));
    DrawImage(pointer, (float)in_mx, (float)in_my, 0);

    if (menu == kMenuFrontEnd) {
        // Drawn on every drawn pass of the front end, so the front end uses up
        // one number of the shared generator per drawn pass.
        int roll = Rand(1, 10);
        if (roll == 1 && in_ma >= 1)
            Tp::Create(4, (int)((float)in_mx - map_x + 20), (int)((float)in_my - map_y + 21), 0);
    }

    if (menu == kMenuMatch) {
        if (!gui_tt.empty())
            hud_drawtooltip();
        else if (hud_rmenu > 0 && hud_weaponhovert > 25)
            hud_drawweaponinfo();
    }
    return 0;
}

int main_loop_fps_sample() {
    in_fpsf++;
    if (ms_since(in_ms, in_fpst) > 999) {
        in_fpst = in_ms;
        in_fps = in_fpsf;
        in_fpsf = 0;
        if (in_fps >= 49) {
            g_fps_skipping_time = 0;
            if (g_fps_unskip > 0 && g_fps_skipping > 0 && g_fps_skipping <= 5 &&
                (double)g_fps_unskip >= kUnskipThreshold[g_fps_skipping])
                g_fps_skipping--;
        } else {
            g_fps_skipping_time++;
            if (g_fps_skipping_time > 5) {
                if (g_fps_skipping < 5) g_fps_skipping++;
                g_fps_skipping_time = 0;
            }
        }
        g_fps_unskip = 0;
    }
    return 0;
}

int main_loop_pass() {
    // Render phase.
    if (g_fps_skipping > 0) {
        g_fps_render++;
        if (g_fps_render > g_fps_skipping) g_fps_render = 0;
    } else {
        g_fps_render = 1;
    }

    // Replay steering.
    g_replay_fastforward = 0;
    if (g_replay == 1 && menu == kMenuMatch) {
        if (g_replay_pause == 0) {
            TChan::updateRatesAuto();
            if (g_replay_goto > -1 && g_replay_frame < g_replay_goto) {
                g_replay_fastforward = 1;
                g_fps_render = (g_replay_frame % 20 == 0) ? 1 : 0;
            }
        }
    } else {
        g_replay_pause = 0;
        g_replay_speed = 2;
    }

    input_get();
    if (menu_file != 0) fileprompt_prepare();
    switch (menu) {
        case kMenuFrontEnd: menu_draw(); break;
        case kMenuMatch: game(); break;
        case kMenuMission: sp(); break;
        default: break;
    }
    if (s_work_hook) s_work_hook();
    // Tested again: a prompt opened by the mode is drawn in the same pass.
    if (menu_file != 0) fileprompt_draw();
    if (KeyDown(KEY_TAB) && g_fps_render == 1) gui_console();
    game_net();
    TChan::update();

    // The window's close button acts exactly as Escape.
    if (AppTerminate() || in_esc) main_loop_escape();

    if (g_fps_render == 1) main_loop_overlays();

    if (g_replay_fastforward != 1) {
        // Keep the 20 ms grid: a pass that began late by less than a frame
        // (sleep overshoot, presenting the last frame) ends on the grid anyway;
        // one that began later starts a new grid rather than rushing to catch up.
        int late = ms_since(in_ms, g_fps_due);
        g_fps_due = ms_after((late >= 0 && late < 20) ? g_fps_due : in_ms, 20);
        while (ms_since(ms_since(MilliSecs(), in_ms_start), g_fps_due) < 0) {
            Delay(1);
            g_fps_unskip++;
        }
    }

    main_loop_fps_sample();
    if (g_fps_render == 1) Flip(1);
    return 0;
}

int main_loop(int count) {
    for (int i = 0; count < 0 || i < count; i++) main_loop_pass();
    return 0;
}

int setHWND(const char*) { return 0; }
int flash() { return 0; }
int getos() { return 0; }
