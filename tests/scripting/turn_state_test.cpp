// Per-turn script state and key edges.
#include "scripting/turn_state.h"
#include "scripting_fixture.h"

namespace {

class TurnState : public ScriptTest {};

int* const kHeld[7] = {&lua_keyup, &lua_keydown, &lua_keyleft, &lua_keyright,
                       &lua_keyjump, &lua_keybackjump, &lua_keyattack};
int* const kHit[7] = {&lua_keyhitup, &lua_keyhitdown, &lua_keyhitleft, &lua_keyhitright,
                      &lua_keyhitjump, &lua_keyhitbackjump, &lua_keyhitattack};
int* const kRel[7] = {&lua_keyrelup, &lua_keyreldown, &lua_keyrelleft, &lua_keyrelright,
                      &lua_keyreljump, &lua_keyrelbackjump, &lua_keyrelattack};

// One frame as the frame step runs it: keep the held flags, set them, update.
void frame(const int held[7]) {
    int before[7];
    for (int i = 0; i < 7; ++i) {
        before[i] = *kHeld[i];
        *kHeld[i] = held[i];
    }
    lua_keyhitreleaseupdate(before[0], before[1], before[2], before[3], before[4], before[5], before[6]);
}

TEST_F(TurnState, EdgesLastOneFrameForEveryKey) {
    lua_resetturn();
    for (int k = 0; k < 7; ++k) {
        const int series[5] = {0, 1, 1, 0, 0};
        const int hit[5] = {0, 1, 0, 0, 0};
        const int rel[5] = {0, 0, 0, 1, 0};
        for (int f = 0; f < 5; ++f) {
            int held[7] = {};
            held[k] = series[f];
            frame(held);
            for (int j = 0; j < 7; ++j) {
                EXPECT_EQ(*kHit[j], j == k ? hit[f] : 0) << "key " << j << " frame " << f;
                EXPECT_EQ(*kRel[j], j == k ? rel[f] : 0) << "key " << j << " frame " << f;
            }
        }
    }
}

TEST_F(TurnState, OnlyZeroAndOneMakeEdges) {
    lua_keyattack = 2;
    lua_keyhitreleaseupdate(0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(lua_keyhitattack, 0);
    lua_keyattack = 0;
    lua_keyhitreleaseupdate(0, 0, 0, 0, 0, 0, 2);
    EXPECT_EQ(lua_keyrelattack, 0);
}

TEST_F(TurnState, ResetTurnClearsFlagsAndWeaponState) {
    for (int i = 0; i < 7; ++i) *kHeld[i] = *kHit[i] = *kRel[i] = 1;
    lua_allowplayercontrol = lua_allowweaponswitch = 0;
    lua_ai_init = 1;
    lua_timersetto = 4;
    lua_scrolla = lua_scrollx = lua_scrolly = 9;
    lua_p = 3;
    lua_pro = 12;
    ASSERT_EQ(run("weapon_x = 5; weapon_charge = 2; weapon_position = 1"), "");
    lua_resetturn();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(*kHeld[i], 0);
        EXPECT_EQ(*kHit[i], 0);
        EXPECT_EQ(*kRel[i], 0);
    }
    EXPECT_EQ(lua_allowplayercontrol, 1);
    EXPECT_EQ(lua_allowweaponswitch, 1);
    EXPECT_EQ(lua_ai_init, 0);
    EXPECT_EQ(lua_timersetto + lua_scrolla + lua_scrollx + lua_scrolly, 0);
    EXPECT_EQ(lua_p, 3);
    EXPECT_EQ(lua_pro, 12);
    EXPECT_EQ(eval("weapon_x + weapon_charge + weapon_position"), "0");
    EXPECT_EQ(eval("math.type == nil and weapon_x"), "0");
    // A script's metatable on the globals is never run by the reset.
    ASSERT_EQ(run("setmetatable(_G, {__newindex = function() error('no') end})"), "");
    lua_resetturn();
    EXPECT_EQ(eval("weapon_x"), "0");
}

}  // namespace
