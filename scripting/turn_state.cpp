// Per-turn script state and key edges.
#include "scripting/turn_state.h"

#include "scripting/lua_state.h"

int lua_p = 0;
int lua_pro = 0;
int lua_ailock = 0;
int lua_allowplayercontrol = 1;
int lua_allowweaponswitch = 1;
int lua_ai_init = 0;
int lua_timersetto = 0;
int lua_scrolla = 0, lua_scrollx = 0, lua_scrolly = 0;

int lua_keyup = 0, lua_keydown = 0, lua_keyleft = 0, lua_keyright = 0, lua_keyjump = 0, lua_keybackjump = 0,
    lua_keyattack = 0;
int lua_keyhitup = 0, lua_keyhitdown = 0, lua_keyhitleft = 0, lua_keyhitright = 0, lua_keyhitjump = 0,
    lua_keyhitbackjump = 0, lua_keyhitattack = 0;
int lua_keyrelup = 0, lua_keyreldown = 0, lua_keyrelleft = 0, lua_keyrelright = 0, lua_keyreljump = 0,
    lua_keyrelbackjump = 0, lua_keyrelattack = 0;

namespace {

struct KeyFlags {
    int* held;
    int* hit;
    int* rel;
};

// In the order of the keys key_up (1) .. key_attack (7).
const KeyFlags kKeys[7] = {
    {&lua_keyup, &lua_keyhitup, &lua_keyrelup},
    {&lua_keydown, &lua_keyhitdown, &lua_keyreldown},
    {&lua_keyleft, &lua_keyhitleft, &lua_keyrelleft},
    {&lua_keyright, &lua_keyhitright, &lua_keyrelright},
    {&lua_keyjump, &lua_keyhitjump, &lua_keyreljump},
    {&lua_keybackjump, &lua_keyhitbackjump, &lua_keyrelbackjump},
    {&lua_keyattack, &lua_keyhitattack, &lua_keyrelattack},
};

}  // namespace

void lua_resetturn() {
    lua_allowplayercontrol = 1;
    lua_allowweaponswitch = 1;
    lua_ai_init = 0;
    for (const KeyFlags& k : kKeys) *k.held = *k.hit = *k.rel = 0;
    lua_timersetto = 0;
    lua_scrolla = lua_scrollx = lua_scrolly = 0;
    for (const char* name :
         {"weapon_charge", "weapon_mode", "weapon_shots", "weapon_timer", "weapon_x", "weapon_y", "weapon_position"})
        lua_setglobalint(name, 0);
}

void lua_keyhitreleaseupdate(int up, int down, int left, int right, int jump, int backjump, int attack) {
    const int before[7] = {up, down, left, right, jump, backjump, attack};
    for (int i = 0; i < 7; ++i) {
        // Exactly 0 and 1 count; any other value makes no edge.
        int p = before[i], h = *kKeys[i].held;
        *kKeys[i].hit = p == 0 && h == 1 ? 1 : 0;
        *kKeys[i].rel = p == 1 && h == 0 ? 1 : 0;
    }
}
