// Our own weapons and AI in driven turns: each weapon fired at a player
// 150 px away on flat ground does what its description says, the follower
// fed only the holder's frames agrees in every frame, and the AI picks a
// weapon it holds and fires within its turn.
#include <gtest/gtest.h>

#include "turn_driver.h"

namespace {

using namespace turn_driver;

long long solid_pixels() {
    long long n = 0;
    for (int tx = 0; tx < map_xtiles; ++tx)
        for (int ty = 0; ty < map_ytiles; ++ty)
            if (const uint32_t* pix = map_tile_pixels(tx, ty, false))
                for (int i = 0; i < kTileSize * kTileSize; ++i) n += pix[i] >> 24 >= 128;
    return n;
}

struct Shot {
    const char* path;
    int wpnrot;                    // aim, degrees
    int spot_x, spot_y;            // a chosen spot (weapon_position 1); spot_x 0: none
    std::function<int(int)> keys;
    enum Effect { kCarve = 1, kBuild = 2, kHurtTarget = 4, kHurtShooter = 8, kObject = 16, kMoved = 32 };
    int effects;
};

// Attack held from frame `from` for `n` frames.
std::function<int(int)> hold(int from, int n) {
    return [=](int f) { return f >= from && f < from + n ? 64 : 0; };
}
// Two presses of two frames each.
int twice(int f) { return f == 1 || f == 2 || f == 6 || f == 7 ? 64 : 0; }

class Arsenal : public WorldScript {};

TEST_F(Arsenal, EachWeaponHasItsEffectAndTheFollowerAgrees) {
    const Shot shots[] = {
        {"wmissile", 45, 0, 0, hold(1, 12), Shot::kCarve},
        {"bouncer", 45, 0, 0, hold(1, 10), Shot::kCarve},
        {"twinshot", 90, 0, 0, twice, Shot::kHurtTarget},
        {"airstrike", 0, 450, 200, hold(1, 2), Shot::kCarve | Shot::kHurtTarget},
        // The charge is an object whose update counts down and blows a hole.
        {"wcharge", 0, 0, 0, hold(1, 2), Shot::kObject | Shot::kCarve},
        {"wall", 0, 375, 260, hold(1, 2), Shot::kBuild},
        {"hop", 0, 600, 250, hold(1, 2), Shot::kMoved},
        {"skip", 0, 0, 0, hold(1, 2), 0},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(s.path);
        int weapon = 0;
        long long solid0 = 0;
        bool object_seen = false;
        Turn turn;
        turn.frames = 450;
        turn.keys = s.keys;
        turn.setup = [&] {
            weapon = Tscro::getbytable(0, s.path);
            auto p = Tplayer::get(1);
            p->wpn = weapon;
            p->wpnrot = s.wpnrot;
            if (s.spot_x) {
                lua_setglobalint("weapon_position", 1);
                lua_setglobalint("weapon_x", s.spot_x);
                lua_setglobalint("weapon_y", s.spot_y);
            }
            solid0 = solid_pixels();
        };
        auto after = [&](int) {
            for (auto& o : Tobj::list) object_seen |= o->typ > 0;
        };
        EXPECT_EQ(run_twin(turn, after), -1);
        ASSERT_GT(weapon, 0);
        for (auto& q : world_luaerrors) ADD_FAILURE() << q;
        auto shooter = Tplayer::get(1), target = Tplayer::get(2);
        EXPECT_GE(g_turn_state, 2) << "the turn ended";
        EXPECT_NE(g_wpn_attacked, 0) << "the weapon was used";
        EXPECT_EQ(Tteam::get(0)->wamount[weapon], 4) << "one use booked";
        long long solid = solid_pixels();
        if (s.effects & Shot::kCarve) {
            EXPECT_LT(solid, solid0);
        }
        if (s.effects & Shot::kBuild) {
            EXPECT_GT(solid, solid0);
        }
        if (!(s.effects & (Shot::kCarve | Shot::kBuild))) {
            EXPECT_EQ(solid, solid0);
        }
        if (s.effects & Shot::kHurtTarget) {
            EXPECT_LT(target->health, 100);
        }
        if (s.effects & Shot::kHurtShooter) {
            EXPECT_LT(shooter->health, 100);
        }
        if (s.effects & Shot::kObject) {
            EXPECT_TRUE(object_seen);
        }
        if (s.effects & Shot::kMoved) {
            EXPECT_NEAR(shooter->x, 600.0f, 30.0f);
        }
        if (!(s.effects & Shot::kMoved)) {
            EXPECT_NEAR(shooter->x, 300.0f, 30.0f);
        }
        EXPECT_TRUE(Tpro::list.empty()) << "every projectile ended";
    }
}

TEST_F(Arsenal, TheAiPicksAWeaponItHoldsAndFiresWithinItsTurn) {
    int bouncer = 0, fired_at = -1;
    Turn turn;
    turn.ai = true;
    turn.frames = 600;
    turn.setup = [&] {
        bouncer = Tscro::getbytable(0, "bouncer");
        Tteam::get(0)->extra = 9;
    };
    auto after = [&](int f) {
        if (fired_at < 0 && g_wpn_attacked != 0) fired_at = f;
    };
    EXPECT_EQ(run_twin(turn, after), -1);
    for (auto& q : world_luaerrors) ADD_FAILURE() << q;
    ASSERT_GT(bouncer, 0);
    auto p = Tplayer::get(1);
    EXPECT_EQ(p->wpn, bouncer);   // the bomb at 150 px
    EXPECT_EQ(Tteam::get(0)->wamount[bouncer], 4);
    EXPECT_GE(fired_at, 0);
    EXPECT_LT(fired_at, 300);
    EXPECT_GE(g_turn_state, 2);
}

}  // namespace
