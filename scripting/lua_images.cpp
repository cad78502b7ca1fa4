// Image lookup for the interface functions.
#include "scripting/lua_images.h"

#include "core/catalogue.h"
#include "core/resources.h"

ImagePtr lua_getimage(int id) {
    if (id <= -4 && id >= -6) {
        ImagePtr* stains[3] = {gfx_blood25, gfx_blood50, gfx_blood75};
        return stains[-id - 4][0];
    }
    return Tres::getimage(id);
}
