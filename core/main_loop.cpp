// Main loop state (stand-in; the main loop fills this file).
#include "core/main_loop.h"

int g_replay_fastforward = 0;

int flash() { return 0; }
