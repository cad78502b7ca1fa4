// Shared state for the match tests: the world fixture plus the match-flow
// state (turn cycle, settings, registries of modes and enders, replay and
// HUD stand-ins), a flat map with the real player mask, and helpers that
// build teams and read frames back.
#pragma once

#include "core/host_settings.h"
#include "core/random.h"
#include "core/settings.h"
#include "match/game.h"
#include "match/replay.h"
#include "match/statistics.h"
#include "match/turn.h"
#include "platform/input.h"
#include "scripting/lua_state.h"
#include "scripting/turn_state.h"
#include "terrain/edit.h"
#include "world/player_fixture.h"
#include "world/world_fixture.h"

inline void match_clear() {
    world_clear();
    host_settings_init();
    for (auto& f : setfreeze) f.clear();
    g_gamemodes.clear(), g_gamemodesi.clear(), g_gamemodess.clear();
    g_gameenders.clear(), g_gameendersi.clear();
    g_turn_state = 0, g_turn_netplayer = -1, g_turn_player = -1, g_turn_team = -1;
    g_turn_blankframes = 0, g_turn_selfaction = 0, g_turn_selfaction_done = 0, g_turn_backingstart = 0;
    g_roundgong = 0, g_roundchangefx = 0, g_enddone = 0, g_gamemode_started = 0, g_singleplayer = 0;
    g_server_hotseat = 1, g_gravity = 0.1f;
    Tteam::random = -1;
    hud_turnbardone = hud_turnbarall = 0;
    hud_chatprompt = 0, hud_rmenu = 0, hud_currentmenu = 0, hud_wpnsel = -1;
    hud_drawtimertemp = 0, hud_drawtimermax = 0, hud_drawtimermin = 0, hud_drawtimerval = 0, hud_drawposset = 0;
    Treplay::recorded.clear(), Treplay::list.clear();
    // No recording of an earlier match: a match these tests end saves no
    // replay into the working folder.
    Treplay::initialdata = nullptr;
    set_record = 1;
    game_results.clear();
    set[7] = 0;
    in_sec = 0, in_m1 = 0, in_suspended = 0;
    lua_ai_init = 0, lua_timersetto = 0, lua_allowweaponswitch = 1;
    ResetInput();
    g_mode = 1;
}

struct MatchTest : ::testing::Test {
    void SetUp() override {
        match_clear();
        map_setup(6, 3, 1);   // 600 x 300
        map_rect(0, 200, 600, 100, (int)0xFF808080u);
        g_waterlevel = g_waterlevel_change = 290;
        gfx_pl_col = load_player_mask();
        ASSERT_TRUE(gfx_pl_col);
        set[3] = 0;   // no supply crates
    }
    void TearDown() override {
        gfx_pl_col = nullptr;
        match_clear();
    }

    // A team of the given players (ids), standing on the ground 40 px apart.
    static std::shared_ptr<Tteam> team(int id, int netplayer, std::initializer_list<int> players, int color = -1,
                                       int extra = 0) {
        auto t =
            Tteam::add(id, netplayer, "T" + std::to_string(id), color < 0 ? id : color, (int)players.size(), extra);
        for (int pid : players) {
            auto p = Tplayer::add(pid, t->id);
            p->name = "P" + std::to_string(pid);
            p->health = 100;
            p->x = 20.0f + 45.0f * (float)pid;
            p->y = 150;
            p->dir = 1;
            p->settoground(100);
        }
        return t;
    }
    static std::shared_ptr<Tnetpl> netplayer(int id, bool connected) {
        auto con = connected ? Tudp_con::Get(0x0A000000 + id, 4000 + id, 1) : nullptr;
        auto np = Tnetpl::add(id, "N" + std::to_string(id), con);
        return np;
    }
    // Runs calls of the match step until pred holds (at most limit calls).
    template <class P>
    static int run_until(P pred, int limit = 5000) {
        for (int i = 0; i < limit; ++i) {
            if (pred()) return i;
            game();
        }
        return -1;
    }
    // The records of a bank as bytes.
    static Bytes bytes(const BankPtr& b) { return b ? b->Bytes() : Bytes{}; }
};
