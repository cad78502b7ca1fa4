// Main loop and frame pacing (stand-in: the globals).
#include "core/main_loop.h"

int g_fps_render = 1;
int g_fps_skipping = 0;
int g_fps_skipping_time = 0;
int g_replay_fastforward = 0;
