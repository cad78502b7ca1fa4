// Main loop and frame pacing: the frame-skip state that drawing code reads.
// (Stand-in: the globals; the main loop fills this file.)
#pragma once

// 1 on frames that are drawn, 0 on skipped ones.
extern int g_fps_render;
extern int g_fps_skipping;
// Seconds counted toward frame-skip adaptation; long operations reset it.
extern int g_fps_skipping_time;
extern int g_replay_fastforward;
