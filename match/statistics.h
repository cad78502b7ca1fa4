// Match statistics: team strength sampled at every normal turn start, the
// frozen team counters and weapon ranking at match end, and the three pages
// of the Game Over screen.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

struct Ts_turn {
    int turn = 0, r = 0;
    int players[8] = {};   // living players per team id; -1 no such team
    int health[8] = {};    // their summed health

    static std::vector<Ts_turn> list;
    static std::string teamname[8];   // last name and colour seen per team id
    static int teamcol[8];
    static int addturndata();
    static int draw();
};

int stats_reset();
int stats_finalize();
// The count-up value of n while menu_stats_buildup runs 0..50.
int stats_raisenum(int n);
// The duration line of a match of s seconds, with every part counted up.
std::string stats_duration(int s);
int stats_drawstats();

// Page state of the Game Over screen: 0 timeline, 1 table, 2 weapons.
extern int menu_stats, menu_stats_buildup, menu_stats_flash;
