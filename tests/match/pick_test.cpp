// The weapon pick and the target in the frame they are made: the turn holder
// (through the match step) and a machine taking its frames (the match step's
// frame buffer, as joined machines and replay playback take them) must apply
// them at the same point of the frame, or a projectile alive in that frame
// that reads what they change moves the world differently on them.
#include "match_fixture.h"

#include "../support/world_hash.h"
#include "scripting/script_objects.h"

namespace {

struct PickTest : MatchTest {
    // Two test weapons: "wa" fires one projectile on its first attack frame,
    // "wb" does nothing. The projectile's update pushes the other player
    // whenever `probe` holds.
    void build(const std::string& probe) {
        SetUp();
        SeedRnd(7);
        netplayer(0, false);
        team(0, 0, {1});
        team(1, 0, {2});
        set[1] = 60;
        const std::string script =
            "wa = {} wa.pro = {} wb = {}\n"
            "addweapon('wa', 'A', 0) addweapon('wb', 'B', 0)\n"
            "wa.type = addprojectile('wa.pro')\n"
            "function wa.attack(pressed)\n"
            "  if pressed == 1 and not fired then\n"
            "    fired = true weapon_shots = 1 playercontrol(0) createprojectile(wa.type)\n"
            "  end\n"
            "end\n"
            "function wb.attack(pressed) end\n"
            "function wa.pro.update(id)\n"
            "  if " + probe + " then playerpush(2, 0, -0.3) end\n"
            "end\n";
        ASSERT_EQ(lua_runchunk(script, "pick"), 0);
        game();   // the first turn starts
        ASSERT_GT(g_turn_player, 0);
    }
    static int index(const char* path) {
        for (size_t i = 1; i < Tscro::weapon.size(); ++i)
            if (Tscro::weapon[i] && Tscro::weapon[i]->path == path) return (int)i;
        return 0;
    }
    // The shared world as every machine's step must leave it: the idle count
    // and the closing states are the holder's own.
    static uint64_t hash() {
        WorldHasher h;
        add_shared_world(h, {.turn_control = false});
        h.add(std::min(g_turn_state, 99));
        return h.h;
    }
};

TEST_F(PickTest, PickOrTargetWithAProjectileAliveAgreesEverywhere) {
    // What the holder's input changes while the projectile flies (a pick of
    // wb or a target), and what of it the projectile reads.
    struct Case {
        const char* probe;
        bool target;
    };
    for (const Case& c : {Case{"getplayerweapon() == 'wa'", false}, Case{"weapon_shots == 1", false},
                          Case{"getplayercontrol() == 0", false}, Case{"weapon_position == 0", true}}) {
        const char* probe = c.probe;
        build(probe);
        const int wa = index("wa"), wb = index("wb");
        ASSERT_GT(wa, 0);
        ASSERT_GT(wb, 0);
        // The holder: pick wa, fire it, then pick wb or set a target.
        std::vector<uint64_t> hashes;
        for (int call = 0; call < 30; ++call) {
            if (call == 2) hud_wpnsel = wa;
            InjectKey(32, call == 5);
            if (call == 12 && !c.target) hud_wpnsel = wb;
            if (call == 12 && c.target) hud_drawposset = 2, hud_drawposx = 100, hud_drawposy = 40;
            const int before = g_turn_frames;
            game();
            ASSERT_EQ(g_turn_frames, before + 1) << probe;
            hashes.push_back(hash());
        }
        ASSERT_EQ(Tpro::list.size(), 1u) << probe;
        ASSERT_EQ(Tplayer::get(g_turn_player)->wpn, c.target ? wa : wb) << probe;
        std::vector<Treplay::Entry> frames;
        for (auto& e : Treplay::recorded)
            if (e.frame >= 0) frames.push_back(e);
        ASSERT_EQ(frames.size(), hashes.size()) << probe;

        // From the same start, a joined machine taking the holder's frames
        // and replay playback of its recording.
        for (int replay : {0, 1}) {
            build(probe);
            g_player = 1;
            if (replay) {
                g_replay = 1, g_replay_speed = 2, g_replay_timer = 0;
                Treplay::list.assign(frames.begin(), frames.end());
            }
            int first = -1;
            for (auto& e : frames) {
                if (!replay) Tfb::add(e.frame, e.keybyte, e.data, Tfb::fin);
                game();
                ASSERT_EQ(g_turn_frames, e.frame + 1) << probe << " " << replay;
                if (first < 0 && hash() != hashes[(size_t)e.frame]) first = e.frame;
            }
            EXPECT_EQ(first, -1) << probe << " " << replay;
            g_replay = 0;
        }
    }
}

}  // namespace
