// Water level of the world (stand-in: the globals).
#include "world/water.h"

int g_waterlevel = 0;
int g_waterlevel_change = 0;
