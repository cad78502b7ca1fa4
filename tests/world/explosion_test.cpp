// Explosions and area damage: the records only the turn holder writes, the
// blood every machine makes, the styles' effects on terrain, sound and shake,
// and the bounds on debris.
#include <gtest/gtest.h>

#include "support/media_bytes.h"
#include "core/catalogue.h"
#include "app/main_loop.h"
#include "core/random.h"
#include "core/sound.h"
#include "platform/audio.h"
#include "platform/stream.h"
#include "terrain/edit.h"
#include "world/explosion.h"
#include "world_fixture.h"

namespace {

struct ExplosionTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        map_rect(0, 150, 299, 149, (int)0xFF806040u);
        g_fps_skipping = 0;
        in_fps = 50;
    }
    static int solid(int x, int y) { return map_argb(map_getcolor(x, y), 0); }
    static size_t particles(int kind) {
        size_t n = 0;
        for (auto& p : Tp::list[0]) n += p->typ == kind;
        return n;
    }
};

TEST_F(ExplosionTest, AreaDamageWritesOnlyOnTheTurnHolder) {
    auto p = player(1, 0, 100, 100, 150);
    arealdamage(100, 100, 100, 50);
    EXPECT_EQ(g_frame_data->Bytes(), (Bytes{0x28, 0x01, 0x19, 0x00, 0x00, 0x00, 0x49, 0x01, 0x00, 0x00, 0xC8, 0x42,
                                             0x00, 0x00, 0x16, 0x43, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x70, 0x40}));
    EXPECT_EQ(Tfb::loc->Bytes(), g_frame_data->Bytes());   // applied here from its own copy
    EXPECT_EQ(Tp::list[0].size(), 12u);                    // gore 3: min(50 / 4, 6) doubled
    // Another machine writes nothing but makes the same blood.
    world_clear();
    player(1, 0, 100, 100, 150);
    g_player = 1;
    arealdamage(100, 100, 100, 50);
    EXPECT_EQ(g_frame_data->Size(), 0u);
    EXPECT_EQ(Tp::list[0].size(), 12u);
    for (auto& b : Tp::list[0]) EXPECT_TRUE(b->typ == 4 || b->typ == 5);
}

TEST_F(ExplosionTest, AreaDamageEdges) {
    auto edge = player(1, 0, 100, 200, 100);   // exactly at the radius: no damage, a zero push, blood
    auto centre = player(2, 0, 100, 0, 0);
    arealdamage(100, 100, 100, 10);
    EXPECT_EQ(g_frame_data->Bytes()[0], 73);
    EXPECT_EQ(g_frame_data->PeekFloat(14), 0.0f);
    g_frame_data->Resize(0);
    // Radius 0 or less does nothing.
    Tp::clear();
    arealdamage(0, 0, 0, 100);
    arealdamage(0, 0, -5, 100);
    EXPECT_EQ(g_frame_data->Size(), 0u);
    EXPECT_TRUE(Tp::list[0].empty());
    // A player at the centre is pushed straight down; the strength saturates.
    arealdamage(0, 0, 10, 2147483647);
    EXPECT_EQ(g_frame_data->Bytes()[0], 40);
    EXPECT_EQ(g_frame_data->PeekInt(2), 2147483647);
    EXPECT_EQ(g_frame_data->PeekFloat(6 + 10), 0.0f);
    EXPECT_GT(g_frame_data->PeekFloat(6 + 14), 0.0f);
    EXPECT_EQ(saturate_int(-3e9f), INT32_MIN);
    (void)edge, (void)centre;
}

TEST_F(ExplosionTest, AreaDamagePushesTrapsAndHurtsScriptObjects) {
    auto e = std::make_shared<Tscro>();
    e->path = "objects.barrel";
    Tscro::obj[4] = e;
    Tobj::Create(-4, 140, 100, 100, 500, 0);
    Tobj::Create(4, 200, 100, 0, 501, 0);   // at the radius: damage 0, still written
    Tobj::Create(-2, 100, 100, 0, 502, 0);  // crates are left alone
    arealdamage(100, 100, 100, 40);
    const Bytes& d = g_frame_data->Bytes();
    ASSERT_EQ(d.size(), 19u + 7u);
    EXPECT_EQ(d[0], 74);
    EXPECT_FLOAT_EQ(g_frame_data->PeekFloat(11), 3.6f);   // f = 0.6 x 40, to the right
    EXPECT_EQ(d[19], 77);
    EXPECT_EQ(g_frame_data->PeekShort(20), 501);
    EXPECT_EQ(g_frame_data->PeekInt(22), 0);
}

TEST_F(ExplosionTest, RectDamageInclusiveAndOnlyOnTheTurnHolder) {
    player(1, 0, 100, 93, 50);    // x - 7 at 86 .. 100: inside
    player(2, 0, 100, 92, 50);    // just outside to the left of x = 100
    player(3, 0, 0, 120, 50);     // dead
    rectdamage(100, 40, 50, 20, -7);
    EXPECT_EQ(g_frame_data->Bytes(), (Bytes{40, 1, 0xF9, 0xFF, 0xFF, 0xFF}));
    g_frame_data->Resize(0);
    g_player = 3;
    rectdamage(100, 40, 50, 20, 7);
    EXPECT_EQ(g_frame_data->Size(), 0u);
}

TEST_F(ExplosionTest, StylesTerrainShakeAndBass) {
    BankPtr wav = make_wav(2205);
    StreamPtr stream = CreateBankStream(wav);
    SoundPtr bass = LoadSound(*stream, 0);
    CloseStream(stream);
    ASSERT_TRUE(bass);
    // Only the bass sounds can be heard here.
    SoundPtr keep0 = sfx_explosionbass0, keep1 = sfx_explosionbass1, keep[7];
    for (int i = 0; i < 7; ++i) keep[i] = sfx_explosion[i], sfx_explosion[i] = nullptr;
    sfx_explosionbass0 = sfx_explosionbass1 = bass;
    set_sfx_vol = 10;
    for (int radius : {29, 30}) {
        TChan::stopall();
        explosion(100, 200, radius, 3);
        EXPECT_EQ(TChan::list.size(), radius == 29 ? 0u : 1u) << radius;
    }
    TChan::stopall();
    sfx_explosionbass0 = keep0, sfx_explosionbass1 = keep1;
    for (int i = 0; i < 7; ++i) sfx_explosion[i] = keep[i];
    // Style 3 throws debris and shakes but leaves the terrain whole.
    EXPECT_EQ(solid(100, 200), 255);
    EXPECT_EQ(g_shake, 59);
    EXPECT_GT(particles(3), 0u);
    // Style 0 carves the hole without shaking.
    g_shake = 0;
    explosion(100, 200, 20, 0);
    EXPECT_EQ(solid(100, 200), 0);
    EXPECT_EQ(g_shake, 0);
    // On the menu no debris is sampled, the hole is still carved.
    menu = 1;
    Tp::clear();
    explosion(200, 200, 20, 2);
    EXPECT_EQ(solid(200, 200), 0);
    EXPECT_EQ(particles(3), 0u);
}

TEST_F(ExplosionTest, BloodByGoreAndLightRaysByRadius) {
    struct Case {
        int gore, damage;
        size_t blood;
    };
    for (Case c : {Case{3, 10, 4}, {1, 3, 1}, {0, 50, 0}, {5, 100, 30}, {4, 8, 6}, {9, 20, 5}}) {
        world_clear();
        player(1, 0, 100, 100, 100);
        set_gore = c.gore;
        arealdamage(100, 100, 50, c.damage);
        EXPECT_EQ(Tp::list[0].size(), c.blood) << c.gore << " " << c.damage;
    }
    for (int radius : {100, 101}) {
        Tp::clear();
        explosion(100, 100, radius, 2 + radius % 2);   // 2: no fire; 3: fire, no hole
        Tp::clear();
        explosion(100, 100, radius, 3);
        EXPECT_EQ(particles(22) > 0, radius == 100) << radius;
    }
}

// Record 52 with the largest radius samples 2000 points: on an empty map each
// sample draws exactly two numbers (angle and distance) and style 2 nothing
// else.
TEST_F(ExplosionTest, DebrisSamplesAreBounded) {
    map_setup(3, 3, 1);
    SeedRnd(11);
    for (int i = 0; i < 2 * kExplosionMaxSamples; ++i) Rand(0, 1);
    int next = Rand(1, 1000000);
    SeedRnd(11);
    Tfb::process_additional(bank(Rec().u8(52).i32(150).i32(150).u16(65535).u8(2).b), nullptr);
    EXPECT_EQ(Rand(1, 1000000), next);
}

}  // namespace
