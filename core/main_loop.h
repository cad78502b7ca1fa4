// Main loop and frame pacing: one pass per 20 ms frame, frame skipping when the
// machine is slow, replay seek pacing, Escape and close handling, overlays.
#pragma once

extern int g_fps_skipping;        // skip level 0..5: one pass in level+1 is drawn
extern int g_fps_render;          // 1 on passes that draw
extern int g_fps_skipping_time;   // consecutive slow one-second samples
extern int g_fps_unskip;          // 1 ms sleeps in the current sample
extern int in_fps, in_fpsf, in_fpst;
extern int g_replay_fastforward;  // 1 while this pass seeks forward in a replay

// Runs one pass of the loop.
int main_loop_pass();
// Runs passes forever (count < 0) or count passes.
int main_loop(int count = -1);

// Platform hooks that do nothing on this platform.
int setHWND(const char* title);
int flash();
int getos();
