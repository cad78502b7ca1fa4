// Water level of the world. (Stand-in: the globals; world events move it.)
#pragma once

// y of the water surface in map pixels, and the target it moves toward one
// pixel per simulated frame.
extern int g_waterlevel;
extern int g_waterlevel_change;
