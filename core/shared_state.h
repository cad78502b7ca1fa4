// Shared game state: declarations of globals and entry points that lower
// layers read, set or call while their owners live higher up.
//
// The game's design shares many globals across subsystems. Each is defined by
// its owner (the file named beside it); this header only declares it, so a
// lower layer (core, terrain, world, scripting ...) never includes a higher
// layer's header to reach it. Keep the game's names; group by owner.
#pragma once

#include <string>
#include <vector>

#include "platform/bank.h"

// ---- Lockstep frame buffer and world-event records (world/frame_buffer.*,
// world/events.*): names they reach in higher layers.

// match/replay.cpp
extern int g_replay;          // 1 while a replay plays: no records are written
extern int g_replay_pause;
extern BankPtr g_replay_cbuffer;

// match/game.cpp: turn and match state set by world-event records and the
// frame buffer, and the match-flow calls they make.
extern int g_server;             // 1 on the host and in single player
extern int g_player;             // this machine's net player id
extern int g_turn_netplayer;     // the net player whose team holds the turn
extern int g_mode;               // turn mode: 0 positioning, 1 normal
extern int g_turn;               // turns started in the match
extern int g_round;
extern int g_turn_player;
extern int g_turn_state;         // 0 idle .. 3 control over, 99 end requested, 100, 102
extern int g_turn_frames;        // next frame to process within the turn
extern int g_turn_deadframes, g_error_deadframes;
extern int g_turn_idletimer;     // frames until the world counts as settled
extern int g_terrainmodify;      // 2 after a terrain change, counted down per world step
extern int g_matchlenght;
extern int g_frame_move;
extern int g_endstep;
extern int g_wpn_attacked;
extern float g_storm;            // the turn's wind
extern int set_roundtime_tmp, set_backingtime_tmp;
int game_scroll();
int game_mode_update(int draw, int update);
int game_turn_start(int player, int mode);
int game_setposition(int player, int x, int y, int local);
int game_switchplayer(int player);
int game_freeplayer(int netplayer, int reason, int flag);
int game_killteam(int team);
int game_resetstart();
// match/mission.cpp
int sp_mission_update(int draw, int update);

// scripting/lua_state.cpp
extern int lua_keyup, lua_keydown, lua_keyleft, lua_keyright, lua_keyjump, lua_keybackjump, lua_keyattack;
extern int lua_allowplayercontrol;
int lua_keyhitreleaseupdate(int up, int down, int left, int right, int jump, int backjump, int attack);
int luaerror(const std::string& section, const std::string& msg);
// Sets an integer global of the script state ("weapon_x", "weapon_timer" ...).
int lua_setglobalint(const std::string& name, int value);
// scripting/object_calls.cpp
int lua_objectcall(int typ, const std::string& fn, int id, int arg, const std::string& section);

// frontend/screens/menu.cpp, frontend/screens/console.cpp, frontend/widgets
extern int menu;                 // 1 menus, 2 match or replay, 3 mission
int menu_setsub(int sub);
int gui_addcon(const std::string& text);
int gui_lobby_addline(const std::string& text);
extern int gui_slot[8];
extern int gui_in_lobby_notify;
// frontend/hud: the HUD state records set and its message calls.
extern int hud_drawposset, hud_drawposx, hud_drawposy;
extern int hud_drawtimerval;
extern int hud_turnbardone, hud_turnbarall;
int hud_msg_add(const std::string& text, int r, int g, int b, int icon);       // Thud_msg.add
int hud_flytext_add(const std::string& text, int x, int y, int r, int g, int b);  // Thud_flytext.add
int hud_chat_add(int id, const std::string& text, int seconds, const std::string& suffix);  // Thud_chat.add
// scripting/lua_state.cpp: names of the registered game modes and enders.
extern std::vector<std::string> g_gamemodes;
extern std::vector<std::string> g_gameenders;
// scripting/world_access.cpp: the script registries as the world reads them.
// 1 when script-object type typ has a registry entry (its Lua path in *path).
int script_objectpath(int typ, std::string* path);
// 1 when the weapon has a registry entry (its name and icon image id).
int script_weaponinfo(int weapon, std::string* name, int* image);
// Slots of the weapon registry (a weapon index is valid below it).
int script_weaponcount();

// ---- Teams and players (world/team.*, world/player*.cpp): names they reach
// in higher layers.
// match/game.cpp
extern int g_turn_team;          // the team holding the turn, -1 before the first turn
extern float g_gravity;          // pixels per frame squared
// match/mission.cpp: 1 in a mission whose selected weapon has no ammunition.
int mission_weaponempty();
// frontend/widgets/widgets.cpp: shadowed small text, on shown frames only.
int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
// scripting/turn_state.cpp: the acting player of the interface functions.
extern int lua_p;
// scripting/callbacks.cpp: the game's calls into scripts.
// Weapon callbacks of weapon index `weapon` (attack gets arg, draw none).
void lua_weapon_attack(int weapon, int arg);
void lua_weapon_draw(int weapon);
// Game-mode decision on a player's damage: -1 cancels it, else the amount.
int lua_gm_playerdamage(int player_id, int amount);
// scripting/world_access.cpp: the weapon a new player holds.
int script_primaryweapon();

// ---- Objects, projectiles, weapon use, explosions, particles
// (world/objects.*, world/projectile.*, world/weapon.*, world/explosion.*,
// world/particles.*, world/particle_motion.cpp): names they reach in higher
// layers.
// match/game.cpp
extern int g_shake;              // screen-shake strength, lowered by 1 per frame
// match/replay.cpp
extern int g_replay_speed;       // 0..5, 2 normal
extern int g_replay_timer;       // frames counted by the match step
// frontend/hud/hud.cpp: the per-use weapon state that choosing a weapon resets.
extern int hud_drawpos;
extern int hud_drawtimer, hud_drawtimermin, hud_drawtimermax, hud_drawtimertemp;
// scripting/turn_state.cpp: id of the projectile whose callback runs, 0 none.
extern int lua_pro;
// scripting/callbacks.cpp: projectile callbacks of projectile type typ with
// the projectile's id; lua_pro is set to the id first. 0 when the type is not
// registered.
int lua_projectile_update(int typ, int id);
int lua_projectile_draw(int typ, int id);
// scripting/world_access.cpp
// 1 when projectile type typ has a registry entry (its Lua path in *path).
int script_projectilepath(int typ, std::string* path);
// The resource image id of script-object type typ's registry entry, 0 none.
int script_objectimage(int typ);
// The crate chance (0..5) of the weapon's registry entry, 0 none.
int script_weaponchance(int weapon);
