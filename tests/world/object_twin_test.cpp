// Twin simulation of the objects: a holder runs the match step (its records,
// the world step with Tobj::update(1), then its own records applied) and a
// follower is fed only the frames (Tfb::process, Tobj::update(0)). Mines,
// bear traps, crates (weapon and trap), medikits, items, fires, a script
// object and the supply drop all take part; players are pushed onto them.
// The machines differ in particle and gore settings and in their random
// seeds, as real machines do; the shared world must agree after every frame.
#include <gtest/gtest.h>

#include <random>

#include "core/random.h"
#include "object_fixture.h"
#include "support/world_hash.h"

namespace {

struct Frame {
    int frame;
    BankPtr data;
};

uint64_t world_hash() {
    WorldHasher h;
    add_shared_world(h);
    h.add(lua_getglobalint("ticks"));
    return h.h;
}

constexpr int kTurn = 400;   // frames per turn

void build_world(int holder) {
    world_clear();
    map_setup(6, 3, 1);   // 600 x 300
    map_rect(0, 200, 600, 100, (int)0xFF806040u);
    map_rect(250, 150, 100, 50, (int)0xFF806040u);
    load_object_images();
    gfx_crater25 = CreateImage(4, 4);
    g_gravity = 0.1f;
    g_waterlevel = g_waterlevel_change = 280;
    for (int t = 0; t < 2; ++t) {
        auto team = std::make_shared<Tteam>();
        team->id = t;
        team->netplayer = 0;
        for (int w = 0; w < 256; ++w) team->wamount[w] = (uint8_t)(w % 5);
        Tteam::list.push_back(team);
    }
    for (int w = 2; w < 8; ++w) {
        world_define(Tscro::weapon, w, "weapons.w");
        Tscro::weapon[(size_t)w]->chance = w % 3;
    }
    world_define(Tscro::obj, 4, "objects.lamp");
    ASSERT_EQ(lua_runchunk(R"(
        ticks = 0
        objects = {lamp = {update = function(id, x, y) ticks = (ticks + id + math.floor(y)) % 1000003; return ticks % 3 == 0 and 1 or 0 end,
                           damage = function(id, d) ticks = (ticks + d) % 1000003 end}}
    )", "twin"), 0);
    for (int i = 1; i <= 4; ++i) WorldTest::player(i, (i - 1) / 2, 100, 80.0f + 130.0f * (float)(i - 1), 187);
    // Built-in hazards and goods along the ground, a few in the air.
    int id = 56001;
    auto obj = [&](int typ, int x, int y, int data) { Tobj::Create(typ, x, y, data, id++, 0); };
    for (int x = 40; x < 600; x += 60) obj(-3, x, 190, x % 120 ? 0 : 100);
    for (int x = 70; x < 600; x += 120) obj(-4, x, 190, 0);
    for (int x = 55; x < 600; x += 90) obj(-2, x, 20, x % 180 ? 2 + x % 6 : 65535);
    obj(-5, 300, 10, 0);
    obj(-7, 500, 10, 3);
    for (int x = 30; x < 600; x += 150) obj(-1, x, 100, 3);
    obj(4, 420, 150, 0);
    Tobj_fake::list.clear();
    set[3] = 4, set[4] = 30, set[9] = 30, set[10] = 6, set[12] = 2, set[14] = 3, set[15] = 25, set[16] = 15;
    set_particles = holder ? 2 : 0;
    set_gore = holder ? 5 : 0;
    SeedRnd(holder ? 1 : 99);
    g_turn_player = 0;   // no keys: players move by the records only
    g_turn_team = 0;
    g_turn_netplayer = 0;
    g_player = holder ? 0 : 1;
    g_server = holder;
    g_turn_state = 1;
    g_storm = 0.05f;
    menu = 2;
}

// The same turn start on every machine.
void turn_start(int frame) {
    if (frame % kTurn != 0) return;
    g_turn_team = (frame / kTurn) % 2;
    g_turn_frames = 0;
    Tobj::turnupdate();
    g_supply_turncount = 0;
    g_supply_lastspawn = 150;
}

struct Holder {
    std::mt19937 rng{20261210};
    int r(int n) { return (int)(rng() % (uint32_t)n); }
    float f(int lo, int hi) { return (float)lo + (float)(rng() % (uint32_t)((hi - lo) * 8 + 1)) / 8.0f; }
    template <class F>
    void put(int n, F&& fields) {
        if (!Tfb::fits(n)) return;
        fields();
        Tfb::copyloc(n);
    }
    // Pushes that carry players onto the objects, wind, now and then a crater
    // or a new object.
    void write() {
        switch (r(30)) {
            case 0:
            case 1:
                put(18, [&] {
                    Tfb::wbyte(73), Tfb::wbyte(1 + r(4)), Tfb::wfloat(f(20, 580)), Tfb::wfloat(f(120, 180));
                    Tfb::wfloat(f(-3, 3)), Tfb::wfloat(f(-3, 1));
                });
                break;
            case 2: put(5, [&] { Tfb::wbyte(30), Tfb::wfloat(f(-1, 1) / 8); }); break;
            case 3: put(15, [&] { Tfb::wbyte(50), Tfb::wint(r(600)), Tfb::wint(190 + r(20)), Tfb::wshort(1 + r(10)), Tfb::wint(0); }); break;
            case 4: {
                if (!Tfb::fits(24)) break;
                int id = Tobj::getfreeid(0);
                if (id == 0) break;
                int kinds[] = {-1, -2, -3, -4, -5, -7};
                int typ = kinds[r(6)];
                put(24, [&] {
                    Tfb::wbyte(70), Tfb::wint(typ), Tfb::wint(r(600)), Tfb::wint(r(150)), Tfb::wint(typ == -2 || typ == -7 ? 2 + r(6) : -1);
                    Tfb::wshort(id), Tfb::wbyte(1), Tfb::wint(0);
                });
                break;
            }
            case 5: put(6, [&] { Tfb::wbyte(41), Tfb::wbyte(1 + r(4)), Tfb::wint(30); }); break;
            default: break;
        }
    }
};

struct Counts {
    int drops = 0, collected = 0, freed = 0, triggered = 0;
};

std::vector<Frame> run_holder(int frames, std::vector<uint64_t>& hashes, Counts& counts) {
    build_world(1);
    Holder holder;
    std::vector<Frame> out;
    for (int fr = 0; fr < frames; ++fr) {
        turn_start(fr);
        g_frame_data = CreateBank(0);
        Tfb::loc->Resize(0);
        const int f = g_turn_frames;
        holder.write();
        // The world step (water, objects deciding, players), then the
        // holder's own records.
        if (g_waterlevel_change > g_waterlevel) g_waterlevel++, collide_update();
        else if (g_waterlevel_change < g_waterlevel) g_waterlevel--, collide_update();
        Tobj::update(1);
        Tplayer::update();
        if (g_terrainmodify > 0) g_terrainmodify--;
        Tfb::process_additional(Tfb::loc, nullptr);
        Tfb::loc->Resize(0);
        g_turn_frames = f + 1;
        out.push_back(Frame{f, CopyBank(*g_frame_data)});
        hashes.push_back(world_hash());
        for (auto& r : records(g_frame_data->Bytes())) {
            counts.drops += r[0] == 70 && r[19] == 1 && r[1] >= 0xFB;   // kinds -2 and -5
            counts.collected += r[0] == 71;
            counts.freed += r[0] == 72;
            counts.triggered += r[0] == 75;
        }
    }
    return out;
}

int run_follower(const std::vector<Frame>& frames, const std::vector<uint64_t>& hashes) {
    build_world(0);
    for (size_t i = 0; i < frames.size(); ++i) {
        turn_start((int)i);
        Tfb::add(frames[i].frame, 0, frames[i].data, Tfb::fin);
        Tfb::process();
        if (world_hash() != hashes[i]) return (int)i;
    }
    return -1;
}

TEST(ObjectTwin, HolderAndFollowerAgreeWithEveryObjectKind) {
    std::vector<uint64_t> hashes;
    Counts counts;
    auto frames = run_holder(8000, hashes, counts);
    const uint64_t end = hashes.back();
    EXPECT_EQ(run_follower(frames, hashes), -1);
    EXPECT_EQ(world_hash(), end);
    // Everything took part.
    EXPECT_GT(counts.drops, 0);
    EXPECT_GT(counts.collected, 0);
    EXPECT_GT(counts.freed, 3);
    EXPECT_GT(counts.triggered, 2);
    EXPECT_TRUE(world_luaerrors.empty()) << world_luaerrors.front();
    world_clear();
    free_object_images();
    gfx_crater25 = nullptr;
}

}  // namespace
