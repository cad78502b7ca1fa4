// The match step, the turn cycle, game modes, game enders and the match
// settings turned into match state.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

// 1 in a hotseat match (every team on this machine).
extern int g_server_hotseat;
extern std::string g_server_name;   // the hosted game's name ("Hotseat Game" in hotseat)
extern int g_turn_state, g_wpn_attacked, g_round, g_turn_player;
extern float g_gravity;

// Turn cycle state (match/turn.h gives the turn states).
extern int g_turn_blankframes;       // frames of standstill before the end synchronisation
extern int g_turn_selfaction;        // idle-reminder countdown, 500 after every control
extern int g_turn_selfaction_done;   // 1 once a weapon was picked this turn
extern int g_roundgong, g_roundchangefx;
extern int g_enddone;                // 1 once the game ender acted this turn
extern int g_gamemode_started;
extern int g_singleplayer;           // 1 when every team shares one colour
extern int hud_yourturntimer;

int game();                       // one frame of a match or replay
int game_leave(int announce);
int game_mode_load();
int game_checksettings();
int game_setstorm();
int game_maxhealth();
int game_resetscroll();
int game_turn_update();
int game_ender();
// 1 while a positioning turn is due: manual positioning and a player still
// unplaced whose machine is present.
int game_positioningphase();
// The health a placed player starts with: health plus the team handicap
// (extra 3..8), kept within 1..1000.
int game_starthealth(int health, int extra);
// Cleans set_name (trimmed, at most 20 characters, never empty).
int game_checkplayername();
// Ends the match with the winning colour + 1 (0: none), or cancels it; both
// save the replay, tell the joined machines and open the Game Over screen.
int game_postgame(int wincolor);
int game_cancelgame();
// Every result game_postgame was given in this process, oldest first (the
// last 256).
extern std::vector<int> game_results;
// The Game Over screen's result line; colour -1: none ("DRAW" when empty).
extern std::string menu_winstring;
extern int menu_wincol;

// The aim after one degree up (up 1) or down, facing dir: 0..180 facing
// right, -180..0 facing left.
int game_aim(int rot, int dir, int up);
// The holder's input of one frame (AI hooks, controls, weapon pick, target,
// timer); returns the key byte.
struct Tplayer;
int game_input(Tplayer& p, int ai);

// The world step of one frame (water, game mode, objects, projectiles,
// players, terrain-change countdown); shared by the holder and the tests.
int game_simstep(int decide);

// Stand-in record of the match-flow calls made by records, oldest first.
extern std::vector<std::string> game_calls;
