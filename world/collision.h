// Collision queries: does an image placed at a point touch a living player,
// the terrain or a script object? (Stand-in: the terrain test; players and
// script objects join it with the game world.)
#pragma once

#include "core/shared_state.h"
#include "platform/image.h"

// 1 when the image, placed by its handle at (x, y), touches a terrain pixel of
// alpha 128 or more.
int collide_env(const ImagePtr& image, int x, int y, int frame);
// Wakes every player (idle 0, idletimer at least 5, a resting one gets a small
// fall speed so it checks its footing) and every object (idle 0) after the
// world changed under them. Returns 0.
int collide_update();
