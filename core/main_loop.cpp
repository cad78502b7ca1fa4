// Main loop and frame pacing (first cut: the globals).
#include "core/main_loop.h"

int g_fps_skipping = 0;
int g_fps_render = 1;
int g_fps_skipping_time = 0;
int g_fps_unskip = 0;
int in_fps = 0, in_fpsf = 0, in_fpst = 0;
int g_replay_fastforward = 0;

int main_loop_pass() { return 0; }
int main_loop(int) { return 0; }

int setHWND(const char*) { return 0; }
int flash() { return 0; }
int getos() { return 0; }
