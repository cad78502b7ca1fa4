// Sound functions of the interface: local on every machine, nothing recorded.
#include <lua.hpp>

#include "core/catalogue.h"
#include "core/resources.h"
#include "core/sound.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_state.h"
#include "scripting/terrain_hud_functions.h"

namespace {

// The built-in sounds -1..-23.
SoundPtr builtin(int id) {
    switch (id) {
        case -1: case -2: case -3: return sfx_explosion[-id - 1];
        case -4: case -5: case -6: return sfx_hitwater[-id - 4];
        case -7: return sfx_ric;
        case -8: case -9: case -10: case -11: case -12: return sfx_splatter[-id - 8];
        case -13: case -14: case -15: case -16: return sfx_explosion[-id - 10];
        case -17: case -18: return sfx_hitwater[-id - 14];
        case -19: return sfx_watermove;
        case -20: return sfx_steam;
        case -21: return sfx_turn_next;
        case -22: return sfx_turn_you;
        case -23: return sfx_turn_roundgong;
        default: return nullptr;
    }
}

int slot_index(lua_State* L, int arg) {
    int c = lua_checkint(L, arg);
    return c >= 0 && c <= 9 ? c : -1;
}

}  // namespace

// playsound(sound [, channel=-1, volume=1]): a channel slot 0..9 keeps the
// started channel, replacing (not stopping) what it held.
int lua_playsound(lua_State* L) {
    int id = lua_checkint(L, 1);
    int channel = lua_optint(L, 2, -1);
    float volume = lua_isnoneornil(L, 3) ? 1.0f : lua_checkfloat(L, 3);
    SoundPtr sound;
    if (id >= 0) {
        if (auto e = Tres::slot(Tres::sfx, id)) sound = e->sound;
    } else {
        sound = builtin(id);
    }
    if (!sound) return 0;
    ChannelPtr c = play(sound, volume);
    if (c && channel >= 0 && channel <= 9) lua_channel[channel] = c;
    return 0;
}

// channelplaying(channel): 1 while the slot's channel plays.
int lua_channelplaying(lua_State* L) {
    int c = slot_index(L, 1);
    lua_pushinteger(L, c >= 0 && lua_channel[c] && lua_channel[c]->Playing() ? 1 : 0);
    return 1;
}

// stopchannel(channel): stops the slot's channel and empties the slot.
int lua_stopchannel(lua_State* L) {
    int c = slot_index(L, 1);
    if (c >= 0 && lua_channel[c]) {
        lua_channel[c]->Stop();
        lua_channel[c] = nullptr;
    }
    return 0;
}
