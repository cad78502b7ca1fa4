// Input polling and map scrolling: the in_* globals sampled once per frame,
// flushing, and moving the view over the terrain with the right button.
#pragma once

extern int in_ms_start;
extern int in_ms, in_sec, in_sect;
extern int menu_editordrawxo, menu_editordrawyo;
extern int in_mx, in_my, in_mz, in_mxs, in_mys, in_mzs;
extern float in_ma;
extern int in_m1, in_m2, in_m1d, in_m2d;
extern int in_char, in_esc, in_del, in_enter, in_ctrldown;
extern int in_f[12];
extern int in_cursor, in_cursort;
extern int in_suspended, in_flashmode;
extern int in_seed;
// Scrolling.
extern int in_movec_x, in_movec_y;
extern float in_softmove_x, in_softmove_y;
extern int in_auto, in_autotx, in_autoty;

int input_get();
int input_flush();
int input_mapscroll();
