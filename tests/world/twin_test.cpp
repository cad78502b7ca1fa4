// Twin simulation: a holder steps a turn and writes its frames; a follower
// is fed only those frames. Their shared world must agree after every frame
// (terrain solidity, players, objects, water, wind, turn state, weapon stock),
// and a planted divergence must be caught in the frame where it happens.
//
// One process holds one world, so the holder runs first and records a hash
// per frame; the world is then rebuilt from the same start and the follower
// replays the frames, comparing hash by hash. Not hashed, as the game lets
// them differ between machines: terrain colours, particles, scenery, the
// shared random state, and an object's anim, rot and alpha.
//
// The players stand on the ground with their real collision mask; the turn
// passes from player to player every 500 frames, and the holder drives the
// turn player with random keys (held walking, jumps, aim, attack), so walking,
// climbing, jumping, landing on each other and pushes all take part.
//
// The world also holds explosions of every style, area damage written by the
// holder, objects (built-in and a script type whose callbacks keep state in
// Lua) and script projectiles: a weapon whose attack callback fires shells
// whose update callbacks move them, split them and free them, all in plain
// Lua; the Lua state's digest of that is hashed too.
#include <gtest/gtest.h>

#include <random>

#include "object_fixture.h"
#include "support/world_hash.h"
#include "terrain/edit.h"
#include "world/explosion.h"
#include "world/weapon.h"
#include "world_fixture.h"

namespace {

struct Frame {
    int frame, key;
    BankPtr data;
};

uint64_t world_hash() {
    WorldHasher h;
    add_shared_world(h, {.crate_content = false});
    h.add(lua_getglobalint("digest")), h.add(lua_getglobalint("shots")), h.add(lua_getglobalint("hurt"));
    return h.h;
}

// The same start on every machine: a map half solid, two teams of two,
// a few objects, the water low; for a players' turn walls at both sides, wide
// enough that a sideways push (one sub-step when fx is negative) cannot pass.
void build_world(int players_only = 0) {
    world_clear();
    map_setup(3, 3, 1);
    map_rect(0, 150, 299, 149, (int)0xFF806040u);
    if (players_only) {
        map_rect(0, 0, 25, 150, (int)0xFF806040u);
        map_rect(275, 0, 25, 150, (int)0xFF806040u);
    }
    gfx_crater100 = CreateImage(9, 7);
    auto pix = LockImage(gfx_crater100);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) pix->WritePixel(x, y, (x + y) % 3 ? 0xFF204060u : 0x40000000u);
    for (int t = 0; t < 2; ++t) {
        auto team = std::make_shared<Tteam>();
        team->id = t;
        team->netplayer = t;
        for (int w = 0; w < 256; ++w) team->wamount[w] = (uint8_t)(w % 7);
        Tteam::list.push_back(team);
    }
    load_object_images();
    g_gravity = 0.1f;
    for (int i = 1; i <= 4; ++i) {
        auto p = Tplayer::add(i, (i - 1) / 2);
        p->health = 100;
        p->x = 40.0f * (float)i;
        p->y = 137.5f;
        p->dir = i % 2 ? 1 : -1;
        p->wpn = 1;   // a registered weapon from the start (see switch_weapon)
    }
    for (int i = 0; i < 3; ++i) Tobj::Create(-6 + i, 60 + 70 * i, 140, 5 * i, 56001 + i, 0);
    // Scripts: every weapon index fires shells; shells fall, split once and
    // end; barrels count the damage they took.
    world_projectile_functions();
    for (int w = 1; w < 256; ++w) world_define(Tscro::weapon, w, "weapons.gun");
    world_define(Tscro::projectile, 1, "projectiles.shell");
    world_define(Tscro::obj, 4, "objects.barrel");
    EXPECT_EQ(lua_runchunk(R"(
        digest, shots, hurt, shells = 0, 0, 0, {}
        weapons = {gun = {attack = function(state)
            if state == 1 then
                shots = shots + 1
                if shots % 3 == 0 then
                    local id = createprojectile(1)
                    shells[id] = {y = 10 + shots % 50, fy = -(shots % 7), age = 0, split = shots % 2}
                end
            end
        end}}
        projectiles.shell = {update = function(id)
            local s = shells[id]
            if s == nil then s = {y = 0, fy = 0, age = 0, split = 0}; shells[id] = s end
            s.fy = s.fy + 0.1
            s.y = s.y + s.fy
            s.age = s.age + 1
            digest = (digest * 31 + math.floor(s.y * 8) + id) % 1000003
            if s.age == 5 and s.split == 1 then
                local child = createprojectile(1)
                shells[child] = {y = s.y, fy = -s.fy, age = 0, split = 0}
            end
            if s.age > 30 then shells[id] = nil; freeprojectile(id) end
        end}
        objects.barrel = {setup = function(id, a) digest = (digest + id * 7 + a) % 1000003 end,
                          update = function(id, x, y) digest = (digest + id) % 1000003; return id % 2 end,
                          damage = function(id, d) hurt = hurt + d + id end}
    )", "twin"), 0);
    g_waterlevel = g_waterlevel_change = 280;
    g_turn_player = 1;
    g_player = g_turn_netplayer = 0;
    g_server = 1;
    g_turn_state = 1;
    g_mode = 1;
    menu = 2;
}

// The holder's writers: records the writing machine applies itself are
// mirrored into Tfb::loc; for the others it makes the change directly.
struct Holder {
    std::mt19937 rng;
    int plant_at;
    // 1: a players' turn rather than a storm of every record: few records
    // (pushes into the air, small hits and heals, surface craters, status
    // bits), so the players live on and walk, jump and land for long.
    int players;
    explicit Holder(uint32_t seed, int plant, int players_only = 0)
        : rng(seed), plant_at(plant), players(players_only) {}
    int r(int n) { return (int)(rng() % (uint32_t)n); }
    int held = 0;   // 0 none, 1 left, 2 right

    // The turn player's keys: a direction held for a while, jumps and back
    // jumps now and then, aim and attack at random (never the action bit).
    int key() {
        if (r(20) == 0) held = r(3);
        int k = held == 1 ? 1 : held == 2 ? 2 : 0;
        if (r(25) == 0) k |= 16;
        if (r(40) == 0) k |= 32;
        if (r(6) == 0) k |= 4 << r(2);
        if (r(10) == 0) k |= 64;
        return k;
    }
    float f(int lo, int hi) { return (float)lo + (float)(rng() % (uint32_t)((hi - lo) * 8 + 1)) / 8.0f; }

    void write(int frame) {
        int count = players ? (r(12) == 0) : r(4);
        for (int i = 0; i < count; ++i) players ? player_record() : record();
        if (frame == plant_at) {
            // A wind change this machine forgets to make itself.
            if (Tfb::fits(5)) Tfb::wbyte(30), Tfb::wfloat(9.5f);
        }
    }

    void record() {
        switch (r(20)) {
            case 0: put(5, [&] { Tfb::wbyte(30), Tfb::wfloat(f(-3, 3)); }); break;
            case 1: put(5, [&] { Tfb::wbyte(31), Tfb::wint(200 + r(90)); }); break;
            case 2: put(6, [&] { Tfb::wbyte(40), Tfb::wbyte(1 + r(5)), Tfb::wint(r(20)); }); break;
            case 3: put(6, [&] { Tfb::wbyte(41), Tfb::wbyte(1 + r(5)), Tfb::wint(r(20)); }); break;
            case 4: put(4, [&] { Tfb::wbyte(43), Tfb::wbyte(1 + r(4)), Tfb::wbyte(1 << r(6)), Tfb::wbyte(r(2)); }); break;
            case 5: put(4, [&] { Tfb::wbyte(45 + r(2)), Tfb::wbyte(r(3)), Tfb::wbyte(r(256)), Tfb::wbyte(r(256)); }); break;
            case 6: put(15, [&] { Tfb::wbyte(50), Tfb::wint(r(300)), Tfb::wint(100 + r(200)), Tfb::wshort(1 + r(12)), Tfb::wint(r(2) ? 0 : (int)0xFF102030u); }); break;
            case 7: put(17, [&] { Tfb::wbyte(51), Tfb::wint(r(300)), Tfb::wint(r(300)), Tfb::wshort(r(20)), Tfb::wshort(r(20)), Tfb::wint(r(2) ? 0 : (int)0xFF304050u); }); break;
            case 8: put(12, [&] { Tfb::wbyte(52), Tfb::wint(r(300)), Tfb::wint(r(300)), Tfb::wshort(r(40)), Tfb::wbyte(r(5)); }); break;
            case 9: put(16, [&] { Tfb::wbyte(53), Tfb::wshort(99), Tfb::wint(r(300)), Tfb::wint(r(300)), Tfb::wbyte(r(2)), Tfb::wint(r(360)); }); break;
            case 10: put(27, [&] { Tfb::wbyte(55), Tfb::wshort(99), Tfb::wint(r(300)), Tfb::wint(r(300)), Tfb::wint(1), Tfb::wint(2), Tfb::wint(3), Tfb::wint(r(360)); }); break;
            case 11: create(); break;
            case 12: if (auto o = some_object()) put(3, [&] { Tfb::wbyte(72), Tfb::wshort(o->id); }); break;
            case 13: put(18, [&] { Tfb::wbyte(73), Tfb::wbyte(1 + r(4)), Tfb::wfloat(f(0, 290)), Tfb::wfloat(f(0, 290)), Tfb::wfloat(f(-40, 40)), Tfb::wfloat(f(-40, 40)); }); break;
            case 14: if (auto o = some_object()) put(19, [&] { Tfb::wbyte(74), Tfb::wshort(o->id), Tfb::wfloat(f(0, 290)), Tfb::wfloat(f(0, 290)), Tfb::wfloat(f(-5, 5)), Tfb::wfloat(f(-5, 5)); }); break;
            case 15: if (auto o = some_object()) put(7, [&] { Tfb::wbyte(75), Tfb::wshort(o->id), Tfb::wint(r(1000)); }); break;
            case 16: if (auto o = some_object()) put(11, [&] { Tfb::wbyte(76), Tfb::wshort(o->id), Tfb::wfloat(f(0, 290)), Tfb::wfloat(o->y); }); break;
            case 17: switch_weapon(); break;
            // Area damage: the holder writes the damage, pushes and object
            // damage as records and applies its own copies.
            case 18: arealdamage(r(300), r(300), 1 + r(80), r(12)); break;
            case 19: rectdamage(r(300), r(300), r(60), r(60), r(3)); break;
        }
    }

    void player_record() {
        switch (r(6)) {
            case 0: put(6, [&] { Tfb::wbyte(40), Tfb::wbyte(1 + r(4)), Tfb::wint(r(8)); }); break;
            case 1: put(6, [&] { Tfb::wbyte(41), Tfb::wbyte(1 + r(4)), Tfb::wint(r(8)); }); break;
            case 2:
            case 3: put(18, [&] { Tfb::wbyte(73), Tfb::wbyte(1 + r(4)), Tfb::wfloat(f(40, 260)), Tfb::wfloat(f(70, 130)), Tfb::wfloat(f(-12, 12)), Tfb::wfloat(f(-5, 8)); }); break;
            case 4: put(15, [&] { Tfb::wbyte(50), Tfb::wint(r(300)), Tfb::wint(135 + r(30)), Tfb::wshort(1 + r(12)), Tfb::wint(0); }); break;
            case 5: put(4, [&] { Tfb::wbyte(43), Tfb::wbyte(1 + r(4)), Tfb::wbyte(1 << r(4)), Tfb::wbyte(r(3) == 0); }); break;
        }
    }

    template <class F>
    void put(int n, F&& write_fields) {
        if (!Tfb::fits(n)) return;
        write_fields();
        Tfb::copyloc(n);
    }

    std::shared_ptr<Tobj> some_object() {
        if (Tobj::list.empty()) return nullptr;
        auto it = Tobj::list.begin();
        std::advance(it, r((int)Tobj::list.size()));
        return *it;
    }

    // Record 70 with an id from this machine's block, reserved until the
    // record applies; a script barrel now and then.
    void create() {
        if (!Tfb::fits(24)) return;
        int id = Tobj::getfreeid(0);
        if (id == 0) return;
        int typ = r(4) == 0 ? 4 : -1 - r(7);
        put(24, [&] {
            Tfb::wbyte(70), Tfb::wint(typ), Tfb::wint(r(300)), Tfb::wint(r(150)), Tfb::wint(r(50));
            Tfb::wshort(id), Tfb::wbyte(0), Tfb::wint(r(9));
        });
    }

    // Record 10: the holder switches at once and tells the others.
    void switch_weapon() {
        // Registered weapons only: the holder switches before its step, the
        // others after it, so the switch must not decide whether a script runs.
        int w = 1 + r(255);
        if (!Tfb::fits(2) || weapon_select(w) == 0) return;
        if (auto p = Tplayer::get(g_turn_player)) p->wpn = w, p->wpnsize = 0;
        lua_allowplayercontrol = 1;
        Tfb::wbyte(10), Tfb::wbyte(w);
    }

    // Record 12 carries the holder's own values: it changes nothing here.
    void resync() {
        auto p = Tplayer::get(g_turn_player);
        if (!p || !Tfb::fits(22)) return;
        Tfb::wbyte(12), Tfb::wint(p->health), Tfb::wfloat(p->x), Tfb::wfloat(p->y);
        Tfb::wfloat(p->fx), Tfb::wfloat(p->fy), Tfb::wbyte(p->dir + 1);
    }
};

// Every machine passes the turn at the same frames (as turn starts do).
int turn_player(int frame) { return 1 + (frame / 500) % 4; }

// The holder's frame: records written during the frame, then its own step
// (keys, world step, its mirrored records), as the match step does it, and
// every 50th frame the turn player's resync with the values after that step.
// What the turn players did in a holder's run.
struct Moves {
    int walked = 0;   // frames a held direction key moved a living turn player
    int landed = 0;   // jumps that ended on something
    int alive = 0;    // players alive at the end
};

std::vector<Frame> run_holder(int frames, uint32_t seed, int plant_at, std::vector<uint64_t>& hashes,
                              int players_only = 0, Moves* moves = nullptr) {
    build_world(players_only);
    Holder holder(seed, plant_at, players_only);
    std::vector<Frame> out;
    for (int f = 0; f < frames; ++f) {
        g_frame_data = CreateBank(0);
        g_turn_player = turn_player(f);
        holder.write(f);
        int key = holder.key();
        Tfb::add(f, key, Tfb::loc, Tfb::fin);
        Tfb::loc->Resize(0);
        auto p = Tplayer::get(g_turn_player);
        const float x0 = p->x;
        const int action0 = p->action;
        Tfb::process();
        // Records its own step wrote (a sinking mine, a burn) apply after the
        // step, as the match step applies Tfb::loc.
        Tfb::process_additional(Tfb::loc, p);
        Tfb::loc->Resize(0);
        if (moves && p->health > 0 && (key & 3) && p->x != x0) moves->walked++;
        if (moves && action0 == 10 && p->action == 0) moves->landed++;
        // Now and then the turn player's own values after the step (record 12).
        if (f % 50 == 0) holder.resync();
        out.push_back(Frame{f, key, CopyBank(*g_frame_data)});
        hashes.push_back(world_hash());
    }
    if (moves)
        for (auto& q : Tplayer::list) moves->alive += q->health > 0;
    return out;
}

// Returns the first frame where the follower's world differs, -1 for none.
int run_follower(const std::vector<Frame>& frames, const std::vector<uint64_t>& hashes, int players_only = 0) {
    build_world(players_only);
    g_player = 1;   // a joined machine that does not hold the turn
    g_server = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        g_turn_player = turn_player(frames[i].frame);
        Tfb::add(frames[i].frame, frames[i].key, frames[i].data, Tfb::fin);
        Tfb::process();
        if (world_hash() != hashes[i]) return (int)i;
    }
    return -1;
}

TEST(Twin, FollowerAgreesWithTheHolderForTenThousandFrames) {
    std::vector<uint64_t> hashes;
    auto frames = run_holder(10000, 20261209, -1, hashes);
    EXPECT_EQ(run_follower(frames, hashes), -1);
    // The run did change the world, and the scripts ran.
    EXPECT_GT(Tobj::list.size(), 3u);
    EXPECT_GT(lua_getglobalint("shots"), 100);
    EXPECT_GT(lua_getglobalint("hurt"), 0);
    EXPECT_NE(lua_getglobalint("digest"), 0);
    EXPECT_TRUE(world_luaerrors.empty()) << world_luaerrors.front();
    EXPECT_TRUE(Tobj_fake::list.empty());
    world_clear();
    gfx_crater100 = nullptr;
    free_object_images();
}

TEST(Twin, PlayersDrivenByRandomKeysAgree) {
    std::vector<uint64_t> hashes;
    Moves moves;
    auto frames = run_holder(4000, 4711, -1, hashes, 1, &moves);
    EXPECT_EQ(run_follower(frames, hashes, 1), -1);
    EXPECT_GT(moves.walked, 300);
    EXPECT_GT(moves.landed, 10);
    EXPECT_GT(moves.alive, 0);
    world_clear();
    gfx_crater100 = nullptr;
    free_object_images();
}

TEST(Twin, PlantedDivergenceIsCaughtInItsFrame) {
    std::vector<uint64_t> hashes;
    auto frames = run_holder(300, 77, 123, hashes);
    EXPECT_EQ(run_follower(frames, hashes), 123);
    // A byte changed in transit is caught too.
    hashes.clear();
    frames = run_holder(300, 78, -1, hashes);
    for (auto& f : frames)
        if (f.frame >= 200 && f.data->Size() >= 5 && f.data->PeekByte(0) == 30) {
            f.data->PokeFloat(1, f.data->PeekFloat(1) + 1.0f);
            EXPECT_EQ(run_follower(frames, hashes), f.frame);
            break;
        }
    world_clear();
    gfx_crater100 = nullptr;
    free_object_images();
}

}  // namespace
