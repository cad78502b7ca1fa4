// Main loop state read by other modules (stand-in; the main loop fills this file).
#pragma once

// 1 while the current pass seeks forward in a replay; 0 at the start of every pass.
extern int g_replay_fastforward;
// Render phase of this pass: the pass is drawn only when it is 1.
extern int g_fps_render;

// Platform hook: draws the user's attention to the window in the background.
// Does nothing on this platform.
int flash();
