// Input polling and map scrolling.
//
// Scrolling keeps the coasting speed in single precision: it shrinks by 4%
// per frame and stops moving the view at 0.4 pixels per frame, so a coast
// from 15 lasts 89 frames; the frame count is part of how scrolling feels.
#include "core/input.h"

#include <cmath>

#include "core/shared_state.h"
#include "platform/input.h"
#include "platform/system.h"

int in_ms_start = 0;
int in_ms = 0, in_sec = 0, in_sect = 0;
int menu_editordrawxo = 0, menu_editordrawyo = 0;
int in_mx = 0, in_my = 0, in_mz = 0, in_mxs = 0, in_mys = 0, in_mzs = 0;
float in_ma = 0;
int in_m1 = 0, in_m2 = 0, in_m1d = 0, in_m2d = 0;
int in_char = 0, in_esc = 0, in_del = 0, in_enter = 0, in_ctrldown = 0;
int in_f[12];
int in_cursor = 0, in_cursort = 0;
int in_suspended = 0, in_flashmode = 0;
int in_seed = 0;
int in_movec_x = 0, in_movec_y = 0;
float in_softmove_x = 0, in_softmove_y = 0;
int in_auto = 0, in_autotx = 0, in_autoty = 0;
int in_autotemp = 0, in_autotempx = 0, in_autotempy = 0;

namespace {

// Differences of the 32-bit millisecond clock wrap rather than overflow.
int ms_since(int now, int then) { return (int)((unsigned)now - (unsigned)then); }

// Drag speed for one axis: a tenth of the distance to the anchor, at most 15.
int drag_speed(int anchor, int pointer) {
    long long move = ((long long)anchor - pointer) / 10;
    if (move < -15) move = -15;
    if (move > 15) move = 15;
    return (int)move;
}

void coast(float& offset, float& speed) {
    if (std::fabs(speed) > 0.4f) {
        offset += speed;
        speed *= 0.96f;
    }
}

}  // namespace

int input_get() {
    // Window events queue up on passes that draw nothing (and so do not flip);
    // read them before sampling.
    PollSystem();
    in_ms = ms_since(MilliSecs(), in_ms_start);
    in_sec = 0;
    if (ms_since(in_ms, in_sect) > 999) {
        in_sec = 1;
        in_sect = in_ms;
    }

    // The previous frame's pointer over the map, for the editor's strokes.
    menu_editordrawxo = (int)((float)in_mx - map_x);
    menu_editordrawyo = (int)((float)in_my - map_y);

    in_mx = MouseX();
    in_my = MouseY();
    in_mz = MouseZ();
    in_mxs = MouseXSpeed();
    in_mys = MouseYSpeed();
    in_mzs = -MouseZSpeed();

    if (in_mxs != 0 || in_mys != 0) {
        in_ma = 2;
    } else {
        in_ma -= 0.01f;
        if (in_ma < 0.05f) in_ma = 0.05f;
    }

    in_m1 = MouseHit(1);
    in_m2 = MouseHit(2);
    in_m1d = MouseDown(1);
    in_m2d = MouseDown(2);
    in_char = GetChar();
    in_esc = KeyHit(KEY_ESCAPE);
    in_del = KeyHit(KEY_DELETE);
    in_enter = KeyHit(KEY_ENTER);
    in_ctrldown = KeyDown(KEY_LCONTROL);
    if (!in_ctrldown) in_ctrldown = KeyDown(KEY_RCONTROL);
    for (int i = 0; i < 12; i++) in_f[i] = KeyHit(KEY_F1 + i);

    gui_tt.clear();
    if (in_m1) gui_infocus = -1;

    if (ms_since(in_ms, in_cursort) >= 300) {
        in_cursor = 1 - in_cursor;
        in_cursort = in_ms;
    }

    if (!in_m1d) gui_scrolllock = -1;

    // Presses made while switching windows belong to the other application.
    int suspended = AppSuspended() ? 1 : 0;
    if (suspended != in_suspended) {
        in_suspended = suspended;
        input_flush();
    }

    // Window attention: raised by whoever wants the user back, it re-flashes
    // every 49 frames in the background and ends once the window is in front.
    if (in_flashmode > 0) {
        if (!in_suspended) {
            in_flashmode = 0;
        } else {
            in_flashmode++;
            if (in_flashmode >= 50) {
                flash();
                in_flashmode = 1;
            }
        }
    }
    return 0;
}

int input_flush() {
    FlushMouse();
    FlushKeys();
    in_m1 = in_m2 = 0;
    in_char = 0;
    in_esc = in_del = in_enter = 0;
    in_mxs = in_mys = in_mzs = 0;
    // Movement made before the flush must not show in the next frame.
    MouseXSpeed();
    MouseYSpeed();
    MouseZSpeed();
    return 0;
}

int input_mapscroll() {
    if (in_m2) {
        in_movec_x = in_mx;
        in_movec_y = in_my;
        hud_rmenu = 0;
        in_auto = 0;
    }
    if (in_m2d) {
        in_softmove_x = (float)drag_speed(in_movec_x, in_mx);
        in_softmove_y = (float)drag_speed(in_movec_y, in_my);
        hud_rmenu = 0;
        in_auto = 0;
    } else if (in_auto == 1) {
        in_softmove_x = 0;
        in_softmove_y = 0;
        // A tenth of the remaining way per frame.
        float step_x = ((float)in_autotx - map_x) / 10.0f;
        float step_y = ((float)in_autoty - map_y) / 10.0f;
        map_x += step_x;
        map_y += step_y;
        if (std::fabs(map_x - (float)in_autotx) < 5 && std::fabs(map_y - (float)in_autoty) < 5) {
            in_auto = 0;
            in_softmove_x = step_x;
            in_softmove_y = step_y;
            in_movec_x = in_mx;
            in_movec_y = in_my;
        }
    }
    coast(map_x, in_softmove_x);
    coast(map_y, in_softmove_y);
    return 0;
}
