// Whole matches through the match step: hotseat matches of two or three teams
// on generated maps with our modes, enders and AI play to a winner or a draw
// while a joined twin and the host's replay agree in every frame; and a turn
// whose holder leaves mid-turn while the host still holds frames of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "match_driver.h"

namespace {

using match_driver::Driver;
using match_driver::Options;

// GF_MATCHES=N plays N matches instead of the few of a normal run.
int match_count() {
    const char* n = std::getenv("GF_MATCHES");
    return n ? std::max(1, std::atoi(n)) : 12;
}

TEST(MatchDriver, MatchesEndAndTheTwinAgrees) {
    const char* enders[] = {"<flood+laser-top>", "<laser-top>", "<laser-left+right>", "<laser-random>", "<flood>"};
    std::mt19937 seeds(20261210);
    // What the matches write (date-named replays, recent values) stays in
    // the driver's own temporary folder.
    auto entries = [] {
        std::error_code ec;
        std::set<std::string> out;
        for (const char* dir : {"replays", "sys", "sys/gamesettings", "weaponsets"})
            for (auto& e : std::filesystem::directory_iterator(dir, ec)) out.insert(e.path().string());
        return out;
    };
    const auto before = entries();
    for (int m = 0; m < match_count(); ++m) {
        Options o;
        o.seed = seeds();
        o.teams = 2 + (int)(o.seed % 2);
        o.ai_teams = (int)(o.seed / 7 % 3);
        o.ender = enders[o.seed / 3 % 5];
        Driver d(o);
        auto r = d.play();
        SCOPED_TRACE("seed " + std::to_string(o.seed) + " ender " + o.ender);
        EXPECT_EQ(r.ended, 1) << "calls " << r.calls << " turns " << r.turns;
        EXPECT_GE(r.winner, 0);
        EXPECT_LE(r.winner, o.teams);
        // One turn only when the ender's first step ended it: without
        // weapons a turn cannot otherwise take a whole team of two.
        EXPECT_TRUE(r.turns > 1 || (r.turns == 1 && r.endsteps == 1)) << "turns " << r.turns;
        auto recorded = Treplay::recorded;
        auto f = d.follow();
        EXPECT_EQ(f.mismatch_frame, -1) << "turn " << f.mismatch_turn;
        EXPECT_EQ(f.compared, r.frames);
        // The host's replay plays back to the same worlds and the same end.
        Treplay::recorded = recorded;
        d.r.compared = 0;
        // (At speed 5 eight frames run per call and only the last is compared.)
        const int speed = m % 3 == 0 ? 5 : 2;
        auto p = d.replay(speed);
        EXPECT_EQ(p.mismatch_frame, -1) << "replay turn " << p.mismatch_turn;
        if (speed == 2)
            EXPECT_EQ(p.compared, r.frames);
        else
            EXPECT_GE(p.compared, r.frames / 9);
        EXPECT_EQ(game_results, std::vector<int>{r.winner});
    }
    EXPECT_EQ(entries(), before);
}

// The machines' generators are not kept in step: what the holder draws for
// the shared world travels as records, and every other draw (drawing, HUD,
// sounds, particles, one-machine callbacks) feeds local effects only. So a
// follower whose generator is moved on by any number of draws per call, and
// which runs other particle and gore settings, still agrees in every frame.
TEST(MatchDriver, TwinAgreesWhatEverItsOwnGeneratorDraws) {
    struct Case {
        uint32_t seed;
        int particles, gore;
        const char* ender;
    } cases[] = {{11, 0, 0, "<laser-random>"}, {12, 2, 5, "<flood+laser-top>"}, {13, 1, 3, "<laser-left+right>"}};
    const int particles = set_particles, gore = set_gore;
    for (const Case& c : cases) {
        set_particles = particles, set_gore = gore;
        Options o;
        o.seed = c.seed;
        o.teams = 2;
        o.ai_teams = 1;
        o.ender = c.ender;
        Driver d(o);
        auto r = d.play();
        SCOPED_TRACE("seed " + std::to_string(o.seed));
        ASSERT_EQ(r.ended, 1);
        ASSERT_GT(r.frames, 200);
        std::mt19937 extra(c.seed);
        d.before_call = [&](int) {
            for (int k = (int)(extra() % 7); k > 0; --k) (void)Rand(0, 9);
        };
        auto f = d.follow(0, 0, [&] {
            set_particles = c.particles;
            set_gore = c.gore;
            SeedRnd((int)c.seed + 1000);
        });
        EXPECT_EQ(f.mismatch_frame, -1) << "turn " << f.mismatch_turn;
        EXPECT_EQ(f.compared, r.frames);
    }
    set_particles = particles, set_gore = gore;
}

// Manual placement by clicks and a start health beyond one byte: the twin
// follows the placements, and the replay file (its settings record included)
// plays back to the same worlds and winner at every speed.
TEST(MatchDriver, PositionedMatchesWithHealth300ReplayAtEverySpeed) {
    for (int speed = 0; speed <= 5; ++speed) {
        Options o;
        o.seed = 77 + (uint32_t)speed;
        o.teams = 2;
        o.ai_teams = speed % 2;
        o.positioning = 1;
        o.health = 300;
        Driver d(o);
        auto r = d.play();
        SCOPED_TRACE("speed " + std::to_string(speed));
        ASSERT_EQ(r.ended, 1);
        EXPECT_GT(r.turns, 1);
        int placements = 0;
        for (auto& e : Treplay::recorded) placements += e.frame == -1 && e.data && e.data->PeekByte(0) == 3;
        EXPECT_EQ(placements, o.teams * o.players);
        ASSERT_FALSE(Treplay::recorded.empty());
        EXPECT_EQ(Treplay::recorded.front().data->PeekByte(0), 2);   // the wide settings go first
        auto recorded = Treplay::recorded;
        auto f = d.follow();
        EXPECT_EQ(f.mismatch_frame, -1) << "turn " << f.mismatch_turn;
        Treplay::recorded = recorded;
        d.r.compared = 0;
        game_results.clear();
        auto p = d.replay(speed);
        EXPECT_EQ(p.mismatch_frame, -1) << "replay turn " << p.mismatch_turn;
        EXPECT_GT(p.compared, 0);
        EXPECT_EQ(set[0], 300);
        EXPECT_EQ(game_results, std::vector<int>{r.winner});
    }
}

// Desync snapshots ("debug/fs_*") in the working folder.
int snapshot_files() {
    std::error_code ec;
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("debug", ec))
        n += e.path().filename().string().rfind("fs_", 0) == 0;
    return n;
}

// The host starts a match whose first turn is team 1's (id 1), which belongs
// to net player 1, and the joined machine takes the start message: the joined
// machine now holds the turn. The host's start messages (one expected).
size_t hand_first_turn_to_joined(Driver& host, Driver& joined) {
    host.setup(1, 1);
    Tteam::random = 7;   // the host's cyclic pick after 7 is 1
    game();
    EXPECT_EQ(g_turn_netplayer, 1);
    auto start = Driver::take_messages(Tnetpl::get(1)->con);
    joined.start_parts = host.start_parts;
    joined.setup(0, 1);
    Driver::deliver(start);
    EXPECT_EQ(g_turn_netplayer, 1);
    return start.size();
}

// A joined machine holding its own team's turn, human or AI, writes the
// frames and takes none: it counts no dead frames and never sends the host
// a connection alarm (message 150) nor writes a desync snapshot.
TEST(MatchDriver, JoinedHolderRaisesNoAlarmHumanOrAi) {
    const int snapshots_before = snapshot_files();
    for (int ai : {0, 1}) {
        SCOPED_TRACE(ai ? "AI turn" : "human turn");
        Options o;
        o.seed = 3;
        o.teams = 2;
        o.ai_teams = ai;
        o.roundtime = 20;
        o.twin = 0;
        Driver host(o), joined(o);
        hand_first_turn_to_joined(host, joined);
        ASSERT_EQ(g_turn_netplayer, 1);
        ASSERT_EQ(Tteam::get(1)->extra == 9, ai == 1);
        auto con = Tudp_con::Get(g_server_ip, g_server_port, 0);
        int frames = 0, alarms = 0, dead = 0;
        for (int call = 0; call < 400 && g_turn_state < 102; ++call) {
            joined.human_keys();
            int before = g_turn_frames;
            game();
            frames += g_turn_frames == before + 1;
            dead = std::max(dead, g_error_deadframes);
            // Every message to the host in this turn: frames, the end
            // confirmation, or an alarm.
            for (auto& pk : con->out) {
                pk->readpos = 0;
                while (pk->avail() > 0) {
                    int id = pk->rbyte();
                    if (id == 30) {
                        pk->rshort(), pk->rbyte(), pk->rbank();
                    } else if (id == 100) {
                        pk->rbyte(), pk->rshort();
                    } else {
                        alarms += id == 150;
                        break;
                    }
                }
            }
            con->out.clear();
            con->lp = nullptr;
        }
        EXPECT_GT(frames, 200);
        EXPECT_EQ(dead, 0);
        EXPECT_EQ(alarms, 0);
        EXPECT_EQ(Tnetpl::get(1)->conerror, 0);
        EXPECT_EQ(snapshot_files(), snapshots_before);
    }
}

TEST(MatchDriver, HolderLeavesMidTurnWhileTheHostHoldsItsFrames) {
    Options o;
    o.seed = 3;
    o.teams = 2;
    o.ai_teams = 0;
    o.roundtime = 20;
    o.twin = 0;
    Driver host(o), joined(o);
    ASSERT_EQ(hand_first_turn_to_joined(host, joined), 1u);
    ASSERT_EQ(g_turn_netplayer, 1);
    // The joined machine holds the turn for 200 frames.
    std::vector<std::vector<match_driver::Msg>> stream;
    for (int call = 0; call < 200; ++call) {
        joined.human_keys();
        int before = g_turn_frames;
        game();
        if (g_turn_frames == before + 1) joined.hashes[{g_turn, before}] = match_driver::world_hash(before % 50 == 0);
        stream.push_back(Driver::take_messages(Tudp_con::Get(g_server_ip, g_server_port, 0)));
    }
    int sent = 0;
    for (auto& c : stream)
        for (auto& m : c) sent += m.id == 30;
    ASSERT_GE(sent, 150);
    // The host follows; the holder's net player is removed once every sent
    // frame has arrived but before the host applied them all.
    host.hashes = joined.hashes;
    host.stream = stream;
    int removed_with = -1;
    host.before_call = [&](int call) {
        if (call == (int)stream.size() && removed_with < 0) {
            removed_with = (int)Tfb::fin.size();
            Tnetpl::list.remove_if([](auto& np) { return np->id == 1; });
        }
    };
    auto f = host.follow(1, 1, [] { Tteam::random = 7; });
    EXPECT_GT(removed_with, 10);   // frames were still waiting
    EXPECT_EQ(f.mismatch_frame, -1);
    EXPECT_EQ(f.compared, sent);   // every frame applied, the waiting ones by the turn start
    // The next turn went to the host's team at once.
    EXPECT_EQ(g_turn, 2);
    EXPECT_EQ(g_turn_netplayer, 0);
    EXPECT_TRUE(game_results.empty());
}

}  // namespace
