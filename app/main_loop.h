// Main loop and frame pacing: one pass per 20 ms frame, frame skipping when the
// machine is slow, replay seek pacing, Escape and close handling, overlays.
#pragma once

#include <functional>

#include "core/shared_state.h"

extern int g_fps_skipping;       // skip level 0..5: one pass in level+1 is drawn
extern int g_fps_unskip;         // 1 ms sleeps in the current sample
extern int in_fps, in_fpsf, in_fpst;
extern int g_fps_due;             // frame-clock time (in_ms) at which the current pass ends

// Runs one pass of the loop.
int main_loop_pass();
// Runs passes forever (count < 0) or count passes.
int main_loop(int count = -1);

// The parts of a pass, in the order main_loop_pass runs them; exposed so the
// pacing rules can be checked one by one.
// Counts the pass and, once a second, adapts the frame-skip level.
int main_loop_fps_sample();
// Close request or Escape: the quit dialog, leaving a lobby, the in-game menu.
int main_loop_escape();
// Pointer, menu particles and the tooltip or weapon information box.
int main_loop_overlays();

// Test seam: called after the mode step of every pass (tests use it to stand
// for the time a slow machine spends there). Empty restores nothing-to-do.
void main_loop_set_work_hook(std::function<void()> hook);
