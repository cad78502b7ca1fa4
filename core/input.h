// Input polling and map scrolling: the in_* globals sampled once per frame,
// flushing, and moving the view over the terrain with the right button.
//
// input_get samples everything at the start of a main-loop pass, before any
// screen, match or editor code runs; nothing else asks the platform. "Hit"
// values are non-zero on the frame of the press only (2 for a double press
// between frames), "held" values while the control is down. in_sect,
// in_cursort and in_flashmode carry over between frames; every other input
// global is resampled each frame.
#pragma once

extern int in_ms_start;                           // MilliSecs() at start-up: the zero of in_ms
extern int in_ms;                                 // frame clock in milliseconds
extern int in_sec, in_sect;                       // one-frame pulse every second, time of the last pulse
extern int menu_editordrawxo, menu_editordrawyo;  // previous pointer in map coordinates
extern int in_mx, in_my, in_mz, in_mxs, in_mys, in_mzs;
extern float in_ma;  // pointer opacity
extern int in_m1, in_m2, in_m1d, in_m2d;
extern int in_char, in_esc, in_del, in_enter, in_ctrldown;
extern int in_f[12];               // F1..F12 hit
extern int in_cursor, in_cursort;  // text-cursor blink and its last toggle
extern int in_suspended, in_flashmode;
extern int in_seed;
// Scrolling: drag anchor, coasting speed (pixels per frame) and glide target.
extern int in_movec_x, in_movec_y;
extern float in_softmove_x, in_softmove_y;
extern int in_auto, in_autotx, in_autoty;
// An automatic glide requested by the simulation (record 13), picked up by
// game_scroll: request flag and target offset.
extern int in_autotemp, in_autotempx, in_autotempy;

// Samples the frame's input; the first work of every main-loop pass.
int input_get();
// Forgets pending presses, typed characters and movement.
int input_flush();
// Moves the view: right-button drag, coasting and automatic glides.
int input_mapscroll();
