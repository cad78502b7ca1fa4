// Input polling (first cut: the frame clock only).
#include "core/input.h"

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

int input_get() {
    in_ms = MilliSecs() - in_ms_start;
    PollSystem();
    in_esc = KeyHit(27);
    return 0;
}

int input_flush() {
    FlushKeys();
    FlushMouse();
    in_esc = 0;
    return 0;
}

int input_mapscroll() { return 0; }
