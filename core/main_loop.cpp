// Main loop state (stand-in; the main loop fills this file).
#include "core/main_loop.h"

int g_replay_fastforward = 0;
int g_fps_render = 0;

int flash() { return 0; }
