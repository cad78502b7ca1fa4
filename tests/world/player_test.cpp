// Players: ids from local and outside callers, status bits, rest queries, the
// damage and push records, the collision box of a player, spawning, damage
// with its statistics and the gore of a death.
#include <climits>
#include <map>

#include "core/sound.h"
#include "platform/audio.h"
#include "platform/stream.h"
#include "player_fixture.h"

namespace {

using PlayerRegistry = PlayerTest;

TEST_F(PlayerRegistry, AutomaticAndGivenIds) {
    for (int id : {1, 2, 4}) Tplayer::add(id, 0);
    auto p = Tplayer::add(0, 3);
    EXPECT_EQ(p->id, 3);
    EXPECT_EQ(p->team, 3);
    EXPECT_EQ(p->forceframe, -1);
    EXPECT_EQ(Tplayer::add(-3, 0)->id, -3);
    EXPECT_EQ(Tplayer::list.back()->id, -3);
    EXPECT_EQ(Tplayer::get(7), nullptr);
}

TEST_F(PlayerRegistry, TakenIdEndsTheProgramForLocalCallers) {
    Tplayer::add(5, 0);
    EXPECT_DEATH(Tplayer::add(5, 0), "");
}

TEST_F(PlayerRegistry, ReceivedIdsAreCheckedNotFatal) {
    Tplayer::add(5, 0);
    for (int bad : {5, 0, 120, -1, 100})
        EXPECT_EQ(Tplayer::add_received(bad, 1), nullptr) << bad;
    EXPECT_EQ(Tplayer::list.size(), 1u);
    auto p = Tplayer::add_received(99, 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->id, 99);
    EXPECT_EQ(p->team, 2);
}

TEST_F(PlayerRegistry, StatusBits) {
    auto p = Tplayer::add(1, 0);
    p->setstates(31);
    EXPECT_EQ(p->getstates(), 31);
    p->setstates(32);
    EXPECT_EQ(p->getstates(), 0);
    p->setstates(4 | 16 | 64);
    EXPECT_EQ(p->state_frozen, 1);
    EXPECT_EQ(p->state_invisible, 1);
    EXPECT_EQ(p->getstates(), 20);
}

TEST_F(PlayerRegistry, AllIdle) {
    EXPECT_EQ(Tplayer::allidle(), 1);
    auto dead = player(1, 0, 0, 0, 0);
    EXPECT_EQ(Tplayer::allidle(), 1);
    auto p = player(2, 0, 10, 0, 0);
    p->idle = 1;
    EXPECT_EQ(Tplayer::allidle(), 1);
    p->idletimer = 1;
    EXPECT_EQ(Tplayer::allidle(), 0);
    p->idletimer = 0, p->idle = 0;
    EXPECT_EQ(Tplayer::allidle(), 0);
}

TEST_F(PlayerRegistry, DamageRecordOnlyFromTheTurnOwner) {
    auto p = player(3, 0, 100, 0, 0);
    p->sync_damage(25);
    EXPECT_EQ(g_frame_data->Bytes(), (Bytes{0x28, 0x03, 0x19, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Tfb::loc->Bytes(), g_frame_data->Bytes());
    struct Case { int owner, health, amount; };
    for (auto k : {Case{1, 100, 25}, {0, 100, 0}, {0, 0, 25}, {0, -5, 25}}) {
        g_frame_data = CreateBank(0);
        g_turn_netplayer = k.owner;
        p->health = k.health;
        p->sync_damage(k.amount);
        EXPECT_EQ(g_frame_data->Size(), 0u) << k.owner << " " << k.health << " " << k.amount;
    }
}

TEST_F(PlayerRegistry, PushRecordAlsoForTheDead) {
    auto p = player(7, 0, 0, 1.5f, -2.0f);
    p->sync_push(3.0f, -4.0f);
    EXPECT_EQ(g_frame_data->Bytes(), Rec().u8(73).u8(7).f32(1.5f).f32(-2.0f).f32(3.0f).f32(-4.0f).b);
    g_frame_data = CreateBank(0);
    g_turn_netplayer = 2;
    p->sync_push(1, 1);
    EXPECT_EQ(g_frame_data->Size(), 0u);
}

TEST_F(PlayerRegistry, ViewRequestSkipsOthersInvisiblePlayers) {
    Tteam::add(1, 4, "theirs", 0, 1, 0);
    auto p = player(2, 1, 50, 100.9f, 40);
    g_turn_player = 2;
    set_scrxh = 320, set_scryh = 240;
    in_autotemp = 0;
    Tplayer::scrolltocurrent();
    EXPECT_EQ(in_autotemp, 1);
    EXPECT_EQ(in_autotempx, 219);
    EXPECT_EQ(in_autotempy, 200);
    in_autotemp = 0;
    p->state_invisible = 1;
    Tplayer::scrolltocurrent();
    EXPECT_EQ(in_autotemp, 0);
    g_player = 4;
    Tplayer::scrolltocurrent();
    EXPECT_EQ(in_autotemp, 1);
}

// A solid 1 x 1 probe with its handle on its pixel.
ImagePtr dot() {
    ImagePtr img = CreateImage(1, 1, 1, -1);
    PixmapPtr px = LockImage(img, 0, true, true);
    px->WritePixel(0, 0, 0xFFFFFFFFu);
    UnlockImage(img, 0);
    SetImageHandle(img, 0, 0);
    return img;
}

TEST_F(PlayerRegistry, PlayerBoxSeenByAOnePixelProbe) {
    auto p = player(4, 0, 10, 100.7f, 200.9f);
    const int x = 100, y = 200;
    ImagePtr d = dot();
    struct Case { int dx, dy; int hit; };
    for (auto k : {Case{-7, 0, 4}, {6, 0, 4}, {7, 0, 0}, {-8, 0, 0}, {0, -12, 4}, {0, 11, 4}, {0, 12, 0}, {0, -13, 0}})
        EXPECT_EQ(collide_player(d, x + k.dx, y + k.dy, 0, nullptr), k.hit) << k.dx << "," << k.dy;
    EXPECT_EQ(collide(d, x, y, 0, nullptr, nullptr), 104);
    EXPECT_EQ(collide_player(d, x, y, 0, p.get()), 0);
    p->health = 0;
    EXPECT_EQ(collide(d, x, y, 0, nullptr, nullptr), 0);
}

TEST_F(PlayerRegistry, PlayerBeforeTerrainEarlierPlayerFirstAndStrictReach) {
    ground(0, 399, 205);
    player(6, 0, 10, 100, 200);
    player(2, 0, 10, 103, 200);
    ImagePtr d = dot();
    EXPECT_EQ(collide(d, 100, 206, 0, nullptr, nullptr), 106);   // player and terrain: the player
    EXPECT_EQ(collide(d, 100, 220, 0, nullptr, nullptr), 1);
    // Reach for a 1 x 1 image is int(1.5 + 30) = 31: a player 31 away is not tested
    // even though a wide image would touch it.
    ImagePtr wide = CreateImage(80, 1, 1, -1);
    PixmapPtr px = LockImage(wide, 0, true, true);
    for (int i = 0; i < 80; ++i) px->WritePixel(i, 0, 0xFFFFFFFFu);
    UnlockImage(wide, 0);
    SetImageHandle(wide, 0, 0);
    Tplayer::list.clear();
    player(9, 0, 10, 300, 100);
    EXPECT_EQ(collide_player(wide, 300 - 151, 100, 0, nullptr), 0);   // reach int(1.5 * 80 + 30) = 150
    EXPECT_EQ(collide_player(wide, 300 - 70, 100, 0, nullptr), 9);
}

TEST_F(PlayerRegistry, SetToGroundAndRandomSpawn) {
    ground(0, 399, 500);
    auto p = player(1, 0, 10, 200, 300);
    p->settoground(0);
    EXPECT_EQ(p->y, 300.0f);
    p->settoground(100);
    EXPECT_EQ(p->y, 300.0f);   // 188 rows needed
    p->settoground(250);
    EXPECT_EQ(p->y, standing(500));
    auto q = player(2, 0, 10, 0, 0);
    ASSERT_EQ(q->randomspawn(), 1);
    EXPECT_EQ(collide(gfx_pl_col, (int)q->x, (int)q->y, 0, q.get(), nullptr), 0);
    EXPECT_NE(collide(gfx_pl_col, (int)q->x, (int)q->y + 1, 0, q.get(), nullptr), 0);
    // No ground anywhere: no place, position kept.
    map_setup(4, 10, 1);
    q->x = 7, q->y = 8;
    EXPECT_EQ(q->randomspawn(), 0);
    EXPECT_EQ(q->x, 7.0f);
    EXPECT_EQ(q->y, 8.0f);
}

std::map<int, int> particle_kinds() {
    std::map<int, int> n;
    for (auto& layer : Tp::list)
        for (auto& p : layer) n[p->typ]++;
    return n;
}

struct DamageTest : PlayerTest {
    void SetUp() override {
        PlayerTest::SetUp();
        victim_team = Tteam::add(0, 0, "victims", 2, 1, 0);
        turn_team = Tteam::add(1, 0, "shooters", 5, 1, 0);
        g_turn_team = 1;
        victim = player(3, 0, 15, 100, 100);
    }
    std::shared_ptr<Tteam> victim_team, turn_team;
    std::shared_ptr<Tplayer> victim;
};

TEST_F(DamageTest, DeathAtGoreThree) {
    victim->damage(40, 1);
    ASSERT_FALSE(Thud_flytext::list.empty());
    EXPECT_EQ(Thud_flytext::list.back().text, "-15");
    EXPECT_EQ(victim->health, -25);
    EXPECT_EQ(victim->face, 5);
    EXPECT_GE(victim->facestay, 20);
    EXPECT_LE(victim->facestay, 40);
    EXPECT_EQ(victim_team->stats_dmg_suffered, 15);
    EXPECT_EQ(turn_team->stats_dmg_caused, 15);
    EXPECT_EQ(victim_team->stats_deaths, 1);
    EXPECT_EQ(turn_team->stats_kills, 1);
    EXPECT_EQ(turn_team->stats_suicides, 0);
    auto n = particle_kinds();
    EXPECT_EQ(n[4] + n[5], 80);
    EXPECT_EQ(n[1], 26 + 16);
    EXPECT_EQ(n[10], 6);
    EXPECT_EQ(n[27], 5);
    EXPECT_EQ(n[28], 9);
    EXPECT_EQ(g_turn_idletimer, 150);
}

TEST_F(DamageTest, GoreLevels) {
    struct Case { int gore, drops, smoke, parts, meat, dirt; };
    for (auto k : {Case{0, 0, 0, 0, 0, 0}, {1, 20, 0, 0, 0, 0}, {2, 40, 21, 6, 0, 6}, {4, 120, 64, 6, 10, 13},
                   {5, 200, 106, 6, 20, 17}, {6, 40, 21, 6, 40, 41}, {-1, 40, 0, 0, 0, 0}}) {
        Tp::clear();
        set_gore = k.gore;
        victim->health = 5;
        victim_team->stats_deaths = 0;
        victim->damage(10, 1);
        auto n = particle_kinds();
        EXPECT_EQ(n[4] + n[5], k.drops) << k.gore;
        EXPECT_EQ(n[1], k.smoke) << k.gore;
        EXPECT_EQ(n[10], k.parts) << k.gore;
        EXPECT_EQ(n[27], k.meat) << k.gore;
        EXPECT_EQ(n[28], k.dirt) << k.gore;
        EXPECT_EQ(victim_team->stats_deaths, 1) << k.gore;   // the death is booked at every level
    }
}

TEST_F(DamageTest, GoreZeroStillSplattersAndBooksTheDeath) {
    StreamPtr stream = CreateBankStream(EncodeSoundWav(std::vector<int16_t>(2205, 1000), 1, 22050));
    SoundPtr splat = LoadSound(*stream, 0);
    ASSERT_TRUE(splat);
    const int saved_vol = set_sfx_vol;
    set_sfx_vol = 10;
    sfx_splatter[0] = sfx_splatter[1] = splat;
    TChan::stopall();
    set_gore = 0;
    victim->damage(40, 1);
    EXPECT_TRUE(particle_kinds().empty());
    EXPECT_EQ(TChan::list.size(), 1u);
    EXPECT_EQ(victim_team->stats_deaths, 1);
    EXPECT_EQ(turn_team->stats_kills, 1);
    TChan::stopall();
    sfx_splatter[0] = sfx_splatter[1] = nullptr;
    set_sfx_vol = saved_vol;
}

TEST_F(DamageTest, AlliesCountAsSuicidesAndFlagZeroBooksNothingToTheTurn) {
    turn_team->color = victim_team->color;
    victim->damage(20, 1);
    EXPECT_EQ(turn_team->stats_suicides, 1);
    EXPECT_EQ(turn_team->stats_kills, 0);
    auto other = player(4, 0, 30, 50, 50);
    other->damage(50, 0);
    EXPECT_EQ(turn_team->stats_dmg_caused, 15);
    EXPECT_EQ(turn_team->stats_suicides, 1);
    EXPECT_EQ(victim_team->stats_dmg_suffered, 45);
    EXPECT_EQ(victim_team->stats_deaths, 2);
}

TEST_F(DamageTest, NothingForZeroNegativeOrTheDead) {
    victim->damage(0, 1);
    victim->damage(-4, 1);
    EXPECT_EQ(victim->health, 15);
    victim->health = 0;
    victim->damage(10, 1);
    EXPECT_EQ(victim->health, 0);
    EXPECT_TRUE(Thud_flytext::list.empty());
    EXPECT_EQ(turn_team->stats_dmg_caused, 0);
}

TEST_F(DamageTest, GoneTeamCountsAsAKill) {
    victim_team->color = turn_team->color;
    Tteam::list.remove(victim_team);
    victim->damage(99, 1);
    EXPECT_EQ(turn_team->stats_kills, 1);
    EXPECT_EQ(turn_team->stats_suicides, 0);
}

TEST_F(DamageTest, HugeHealthSumsSaturate) {
    victim->health = INT_MAX;
    victim_team->stats_dmg_suffered = INT_MAX - 1;
    victim->damage(INT_MAX, 1);
    EXPECT_EQ(victim_team->stats_dmg_suffered, INT_MAX);
    EXPECT_EQ(victim->health, 0);
}

}  // namespace
