// Match set-up: the reset before a match, the start on the host and on a
// joined machine, and the start state replays share.
#pragma once

#include <memory>
#include <string>

struct Tudp_p;
struct Tudp_con;

extern int g_gamemode_score;          // above 0: the mode counts scores
extern std::string set_gamemode, set_gameender;   // names of the chosen mode and ender

// Clears what the previous match left (lists, HUD and turn state, the
// script tables of projectiles and objects).
int game_resetstart();
// Empties the whole game: net players, teams, players and the match state.
int game_reset();
// Host (packet null): places the teams, sends message 241 sub 20 to every
// joined machine and enters the match. Joined machine: one part of that
// message, read from the packet after the sub byte; the end part enters.
int game_start(Tudp_p* packet);
// The host's message 241 sub 20 to one joined machine: the players and
// objects now in the lists in their parts, the primary weapon, the end.
int game_start_send(const std::shared_ptr<Tudp_con>& con);
// The steps every machine runs when its match begins.
int game_start_common();
// Health scale, water, centred camera, cleared lists, statistics and chat.
int game_startstate();
// set_gamemode, set_gameender and g_gamemode_score from settings 19 and 18.
int game_gamemode_names();
