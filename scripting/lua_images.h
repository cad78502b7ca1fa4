// Image lookup for the interface functions.
#pragma once

#include "platform/image.h"

// The image of a script image id (loadgfx) or a built-in id -1..-15, as
// Tres::getimage finds it, but without drawing from the shared random
// generator: the blood stains -4..-6 give their first shape. Scripts look
// images up in callbacks that run on one machine or only on drawn frames;
// without a draw, the turn holder's own random choices (sent to the others
// as records) do not depend on how often it draws or how its scripts look.
ImagePtr lua_getimage(int id);
