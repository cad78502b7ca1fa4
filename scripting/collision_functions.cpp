// Collision functions of the interface: an image at a map point against the
// terrain, living players, script objects, fires and another image. They only
// read lockstep state, so every machine gets the same answers.
#include <lua.hpp>

#include "core/catalogue.h"
#include "core/resources.h"
#include "core/shared_state.h"
#include "scripting/interface.h"
#include "world/collision.h"
#include "world/objects.h"
#include "world/player.h"

namespace {

// Results of the last collision() call.
int s_terrain = 0, s_player = 0, s_object = 0;

// -1..-9: the built-in squares and the player mask; 0 and up: a script image
// slot. Resolving draws nothing from the shared generator.
ImagePtr image_of(int id) {
    switch (id) {
        case -1: return gfx_coldot1;
        case -2: return gfx_coldot2;
        case -3: return gfx_coldot3;
        case -4: return gfx_coldot4;
        case -5: return gfx_coldot5;
        case -6: return gfx_pl_col;
        case -7: return gfx_coldot10;
        case -8: return gfx_coldot20;
        case -9: return gfx_coldot30;
        default: break;
    }
    if (id < 0) return nullptr;
    auto e = Tres::slot(Tres::gfx, id);
    return e ? e->image : nullptr;
}

}  // namespace

// collision(image, x, y [, terrain=1, players=1, objects=1, ignoreplayer=-1, ignoreobject=-1])
int lua_collision(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    int terrain = lua_optint(L, 4, 1), players = lua_optint(L, 5, 1), objects = lua_optint(L, 6, 1);
    int ignorep = lua_optint(L, 7, -1), ignoreo = lua_optint(L, 8, -1);
    std::shared_ptr<Tplayer> skipp;
    if (ignorep == 0 && lua_p > 0) skipp = Tplayer::get(lua_p);
    else if (ignorep > 0) skipp = Tplayer::get(ignorep);
    std::shared_ptr<Tobj> skipo = ignoreo >= 0 ? Tobj::get(ignoreo) : nullptr;
    s_terrain = s_player = s_object = 0;
    ImagePtr image = image_of(img);
    int hits = 0;
    if (image) {
        if (terrain == 1 && collide_env(image, x, y, 0)) s_terrain = 1, ++hits;
        if (players == 1 && (s_player = collide_player(image, x, y, 0, skipp.get())) > 0) ++hits;
        if (objects == 1 && (s_object = collide_object(image, x, y, 0, skipo.get())) > 0) ++hits;
    }
    lua_pushinteger(L, hits > 0 ? 1 : 0);
    return 1;
}

int lua_terraincollision(lua_State* L) {
    lua_pushinteger(L, s_terrain);
    return 1;
}

int lua_playercollision(lua_State* L) {
    lua_pushinteger(L, s_player);
    return 1;
}

int lua_objectcollision(lua_State* L) {
    lua_pushinteger(L, s_object);
    return 1;
}

// firecollision(image, x, y): the first fire touched, each fire the 10 x 10
// square at its truncated position.
int lua_firecollision(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    ImagePtr image = image_of(img);
    int found = 0;
    if (image)
        for (auto& f : Tobj::firelist)
            if (ImagesCollide(image, x, y, 0, gfx_coldot10, (int)f->x, (int)f->y, 0)) {
                found = f->id;
                break;
            }
    lua_pushinteger(L, found);
    return 1;
}

int lua_imagecollision(lua_State* L) {
    int i1 = lua_checkint(L, 1), x1 = lua_checkint(L, 2), y1 = lua_checkint(L, 3);
    int i2 = lua_checkint(L, 4), x2 = lua_checkint(L, 5), y2 = lua_checkint(L, 6);
    ImagePtr a = image_of(i1), b = image_of(i2);
    lua_pushinteger(L, a && b && ImagesCollide(a, x1, y1, 0, b, x2, y2, 0) ? 1 : 0);
    return 1;
}
