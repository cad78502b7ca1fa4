// Shared game state: declarations of globals and entry points that lower
// layers read, set or call while their owners live higher up.
//
// The game's design shares many globals across subsystems. Each is defined by
// its owner (the file named beside it); this header only declares it, so a
// lower layer (core, terrain, world, scripting ...) never includes a higher
// layer's header to reach it. Keep the game's names; group by owner.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "platform/bank.h"
#include "platform/image.h"

// ---- Screens: the values of `menu` and `menu_sub` (owner frontend/screens/menu.cpp)

// `menu`: the running loop.
inline constexpr int kMenuFrontEnd = 1;
inline constexpr int kMenuMatch = 2;    // a match or a replay
inline constexpr int kMenuMission = 3;  // a single-player mission

// `menu_sub`: the front-end screen.
inline constexpr int kSubMain = 0;
inline constexpr int kSubQuit = 1;
inline constexpr int kSubOptions = 2;
inline constexpr int kSubOptionsVideo = 3;
inline constexpr int kSubOptionsAudio = 4;
inline constexpr int kSubOptionsGame = 5;
inline constexpr int kSubTeams = 6;
inline constexpr int kSubTeamEditor = 7;
inline constexpr int kSubError = 11;
inline constexpr int kSubEditor = 12;       // map editor entered from the main menu
inline constexpr int kSubJoinInternet = 20;
inline constexpr int kSubJoinAddress = 21;
inline constexpr int kSubJoinLan = 22;
inline constexpr int kSubJoinFriends = 24;
inline constexpr int kSubWaitJoin = 25;
inline constexpr int kSubConnecting = 30;
inline constexpr int kSubHost = 31;
inline constexpr int kSubStarting = 32;     // file transfer before the first frame
inline constexpr int kSubLobby = 40;
inline constexpr int kSubLobbyOther = 41;   // counts as a screen of a hosted or joined game
inline constexpr int kSubLobbyEditor = 42;  // map editor entered from the lobby
inline constexpr int kSubGameOver = 43;
inline constexpr int kSubLobbyWeapons = 44;
inline constexpr int kSubOutdated = 50;
inline constexpr int kSubReplays = 60;
inline constexpr int kSubReplaysMore = 61;
inline constexpr int kSubMissions = 70;
inline constexpr int kSubFirstStart = 80;

// ---- frontend/screens/menu.cpp
extern int menu;      // kMenu*
extern int menu_sub;  // kSub*
extern int menu_mapstyle, menu_mapcave;
extern std::vector<std::string> set_availgfxmodes;  // "WxH" display modes offered

// ---- frontend/screens/console.cpp: the console log
extern std::list<std::string> in_console;
int gui_addcon(const std::string& text);

// ---- frontend/widgets/widgets.cpp
extern std::string gui_tt;     // tooltip of the widget under the pointer this frame
extern int gui_infocus;        // text field with keyboard focus, -1 none
extern int gui_scrolllock;     // dragged scroll bar, -1 none
extern std::string gui_in_txt[11];
extern int gui_in_check[10];
extern int gui_in_sel[10];
// Text in font_main, drawn only on drawn passes; align 1 centre, 2 right.
int gui_text(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);

// ---- frontend/hud/hud.cpp
extern int hud_rmenu;  // open weapon-menu category, 0 closed

// ---- frontend/editor/editor.cpp
// Id of the object kind chosen for placing ("{Mine}" or a script path).
extern std::string menu_editorobjectid;

// ---- frontend/weaponset.cpp: the weapon menu grid, 3 categories x 14 columns x 9 rows
extern std::string g_weaponset[3][14][9];    // script path per slot; "" empty
extern uint8_t g_weaponseti[3][14][9];       // weapon index per slot (into Tscro::weapon); 0 empty
extern uint8_t g_weaponsets[3][14][9][3];    // three bytes per slot; the first is the ammunition count
extern int g_weaponsetcd[3][14][9];          // cooldown per slot, used by missions

// ---- app/main_loop.cpp: frame pacing
extern int g_fps_render;          // 1 on passes that draw
extern int g_fps_skipping_time;   // consecutive slow one-second samples
extern int g_replay_fastforward;  // 1 while this pass seeks forward in a replay
// Platform hooks that do nothing on this platform.
int setHWND(const char* title);
int flash();
int getos();

// ---- app/startup.cpp: map object kinds (spawn entries index them), name and size in pixels
extern std::string objn[10];
extern int objw[10], objh[10];

// ---- match/game.cpp
// 1 when this machine hosts (or plays alone), 0 on a joining machine.
extern int g_server;
extern float g_storm;
// Sky tint set by scripts.
extern int g_bgcol[3];
extern float g_bgcola, g_bgfadeout;

// ---- match/replay.cpp: the replay flags
extern int g_replay;        // 1 while a replay plays
extern int g_replay_speed;  // 0..5, 2 normal
extern int g_replay_pause;
extern std::string g_replay_missingres;

// ---- match/mission.cpp
// Folder of the selected single-player mission; "" when none is selected.
std::string mission_selectedfolder();

// ---- world/water.cpp
// y of the water surface in map pixels, and the target it moves toward one
// pixel per simulated frame.
extern int g_waterlevel;
extern int g_waterlevel_change;

// ---- world/particles.cpp
// Adds a particle of a kind at (x, y) to drawing layer 0..2 (Tp::Create).
int particles_add(int kind, int x, int y, int layer);
// Adds a particle tinted r, g, b.
int particles_add(int kind, int x, int y, int layer, int r, int g, int b);
// Empties every layer (Tp::clear).
int particles_clear();

// ---- world/objects.cpp
// Creates and registers a game object (Tobj::Create); the result is its id,
// 0 when none was made.
int obj_create(int typ, int x, int y, int data, int id, int sfx);

// ---- world/collision.cpp
struct Tplayer;
struct Tobj;
// 100 + player id, 1 for terrain, 200 + object id, or 0 for no contact.
int collide(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip_player, const Tobj* skip_obj);

// ---- scripting/script_objects.cpp
// Resource image id (for Tres::getimage) of the object script at this path
// (Tscro::getbytable(2, path)); 0 when there is none or it has no image.
int scro_objimage(const std::string& path);

// ---- net/qvgn.cpp
// Signs in to the online service with the stored account (Tqvgn::loaduserdata).
int qvgn_loaduserdata(const std::string& user, const std::string& password);

// ---- terrain/view.cpp
extern float map_x, map_y;  // camera: screen position of the map's top-left corner


// ---- Lockstep frame buffer and world-event records (world/frame_buffer.*,
// world/events.*): names they reach in higher layers.

// match/replay.cpp (the replay flags are declared above)
extern BankPtr g_replay_cbuffer;

// match/game.cpp: turn and match state set by world-event records and the
// frame buffer, and the match-flow calls they make.
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

// frontend/screens/menu.cpp, frontend/screens/console.cpp, frontend/widgets
int menu_setsub(int sub);
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

// ---- scripting/turn_state.cpp: per-turn script state and key edges ----
// The acting player (id, 0 for none) and the projectile whose callback runs
// (id, 0 for none): set by the callers of callbacks right before the call.
extern int lua_p;
extern int lua_pro;
// 1 only while the AI script's ai_init, ai_move or ai_back runs.
extern int lua_ailock;
// Permissions: the turn player's keys move the player; the weapon may change.
extern int lua_allowplayercontrol;
extern int lua_allowweaponswitch;
// Held flags of the seven game keys in the current frame (0 or 1) ...
extern int lua_keyup, lua_keydown, lua_keyleft, lua_keyright, lua_keyjump, lua_keybackjump, lua_keyattack;
// ... 1 in the frame a key went down ...
extern int lua_keyhitup, lua_keyhitdown, lua_keyhitleft, lua_keyhitright, lua_keyhitjump, lua_keyhitbackjump,
    lua_keyhitattack;
// ... and 1 in the frame it came up.
extern int lua_keyrelup, lua_keyreldown, lua_keyrelleft, lua_keyrelright, lua_keyreljump, lua_keyrelbackjump,
    lua_keyrelattack;
// Sets the 14 edge flags from the held flags before this frame (arguments)
// and now (the globals); once per frame after the held flags are set.
void lua_keyhitreleaseupdate(int up, int down, int left, int right, int jump, int backjump, int attack);

// ---- scripting/lua_state.cpp: the Lua state ----
// Sets a Lua global to an integer (the weapon_* state the world writes),
// without running any metamethod a script set on the globals.
void lua_setglobalint(const char* name, long long value);

// ---- scripting/script_errors.cpp: script errors ----
// Reports a script failure in the question dialog; msg "" takes the message
// from the top of the Lua stack. No ends the program; Yes and Cancel give 0.
int luaerror(const std::string& section, const std::string& msg);

// ---- scripting/object_calls.cpp: calls into script-object types ----
// Runs function fn ("setup", "damage") of script-object type typ with (id,
// arg); a failure goes to luaerror under section. 0 always.
int lua_objectcall(int typ, const std::string& fn, int id, int arg, const std::string& section);

// ---- scripting/callbacks.cpp: the game's calls into scripts ----
// Weapon callbacks of weapon index `weapon` (attack gets arg, draw none).
void lua_weapon_attack(int weapon, int arg);
void lua_weapon_draw(int weapon);
// Projectile callbacks of projectile type typ with the projectile's id;
// lua_pro is set to the id first. 0 when the type is not registered.
int lua_projectile_update(int typ, int id);
int lua_projectile_draw(int typ, int id);
// Object update: 1 busy, 0 idle (a failure included). Object draw.
int lua_object_update(int typ, int id, float x, float y);
void lua_object_draw(int typ, int id, float x, float y);
// Game-mode decision on a player's damage: -1 cancels it, else the amount.
int lua_gm_playerdamage(int player_id, int amount);

// ---- Teams and players (world/team.*, world/player*.cpp): names they reach
// in higher layers.
// match/game.cpp
extern int g_turn_team;          // the team holding the turn, -1 before the first turn
extern float g_gravity;          // pixels per frame squared
// match/mission.cpp: 1 in a mission whose selected weapon has no ammunition.
int mission_weaponempty();
// frontend/widgets/widgets.cpp: shadowed small text, on shown frames only.
int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha);
// scripting/world_access.cpp: the weapon a new player holds.
int script_primaryweapon();

// ---- Objects, projectiles, weapon use, explosions, particles
// (world/objects.*, world/projectile.*, world/weapon.*, world/explosion.*,
// world/particles.*, world/particle_motion.cpp): names they reach in higher
// layers.
// app/main_loop.cpp: frame pacing (g_fps_render is declared above).
extern int g_fps_skipping;       // 0 while no drawing passes are skipped
extern int in_fps;               // passes run in the last second
// match/game.cpp
extern int g_shake;              // screen-shake strength, lowered by 1 per frame
// match/replay.cpp
extern int g_replay_timer;       // frames counted by the match step
// frontend/hud/hud.cpp: the per-use weapon state that choosing a weapon resets.
extern int hud_drawpos;
extern int hud_drawtimer, hud_drawtimermin, hud_drawtimermax, hud_drawtimertemp;
// scripting/world_access.cpp
// 1 when projectile type typ has a registry entry (its Lua path in *path).
int script_projectilepath(int typ, std::string* path);
// The resource image id of script-object type typ's registry entry, 0 none.
int script_objectimage(int typ);
// The crate chance (0..5) of the weapon's registry entry, 0 none.
int script_weaponchance(int weapon);

// ---- Script loading and the environment, weapon and stock functions
// (scripting/script_loading.*, scripting/env_functions.cpp,
// scripting/weapon_functions.cpp, scripting/stock_functions.cpp): names they
// reach in higher layers.
// frontend/weaponset.cpp: the set's distinct paths (the slot arrays are declared above).
extern std::vector<std::string> gui_weaponsb;
// match/mission.cpp: the running mission's folder path (ending in "/") and
// map number, which pick its general and map scripts; mission weapon-bar
// cooldowns running, one per slot of the bar.
std::string sp_currentroot();
int sp_currentmap();
extern int g_cooldown[12];
// match/game.cpp (g_gravity, g_turn_team and g_shake are declared above)
extern int g_turn_backingstart;    // g_turn_frames when backing time began
// match/statistics.cpp: uses of each weapon index in the match.
struct Ts_weapons {
    static int uses[256];
    static int sorted[256];   // 0..9: the ten most used weapon indexes, 0 empty rank
    static int totaluses;
    static int clear();
    static int finalize();
    static int draw();
};

// ---- Match step and turn cycle (match/game.cpp, match/turn.cpp,
// match/modes.cpp): names they reach in higher layers.
// frontend/hud/hud.cpp: the HUD state the match step reads and resets
// (hud_rmenu is declared above).
extern int hud_currentmenu, hud_wpnsel;
extern int hud_chatprompt;            // 1 while the in-game chat input is open
extern int hud_showarrows;               // hud_show, hud_shownamehealth, hud_drawmapborder: below
extern int hud_maxhealth;             // full scale of the team health bars
extern float hud_menualpha, hud_turnbaralpha;
// The HUD parts the match step draws after the scene, in their order.
int hud_match_draw(int localhuman);
int hud_mapborder();
// net/qvgn.cpp: the once-a-second presence call of the online service.
int qvgn_update(int ingame, int host, int a, int ip, int port, const std::string& name);

// ---- Terrain, mission, drawing, HUD and sound functions and the player HUD
// (scripting/terrain_functions.cpp, mission_functions.cpp, draw_functions.cpp,
// hud_functions.cpp, sound_functions.cpp, world/player_hud.cpp): names they
// reach in higher layers.
// frontend/hud/hud.cpp: one-frame HUD requests (hud_drawpos, hud_drawposset,
// hud_drawposx, hud_drawposy and the timer are declared above).
extern int hud_drawchargebar;
extern float hud_drawchargebarperc;
extern int hud_drawammobar, hud_drawammobarsub, hud_drawammobartotal, hud_drawammobaricon;
extern int hud_drawposimg, hud_drawposrange;
extern int hud_drawposcolterrain, hud_drawposcolplayers, hud_drawposcolobjects;
extern int hud_drawaim, hud_drawaimxo, hud_drawaimyo;
extern int hud_drawmapborder, hud_borderstyle, hud_borderoffset;
extern int hud_show;              // HUD visible (key H)
extern int hud_shownamehealth;    // labels: 0 none, 1 health, 2 name and health
extern int hud_cutscene;          // 1 puts the mission HUD into cut-scene mode
// Thud_msg: the one-frame info line; the message box opened with a text.
int hud_setinfo(const std::string& text, int r, int g, int b);
int hud_msgbox(const std::string& text);
// Thud_lua.add / Thud_lua.addimage: queued script HUD texts and images.
int hud_lua_add(const std::string& text, int x, int y, int r, int g, int b, int align);
int hud_lua_addimage(int image, int x, int y, int mode);
// match/mission.cpp: Tmission.winflag = 1; Tmission.cscore; Tmission.savescore;
// the selected mission's saved best score (0 without one).
int mission_win();
int mission_cscore();
int mission_setcscore(int score);
int mission_savescore(long long score);
long long mission_bestscore();
// match/game.cpp
extern int g_server_hotseat;         // 1 in a hotseat match
extern int g_turn_selfaction;        // frames the turn reminders stay silent
extern int g_turn_selfaction_done;   // 1 once a weapon was chosen this turn

// ---- Match set-up, positioning, statistics, match end and replays
// (match/setup.cpp, match/positioning.cpp, match/statistics.cpp,
// match/match_end.cpp, match/replay.cpp): names they reach in higher layers.
// frontend/hud/hud.cpp: empties the fly texts and closes the chat prompt
// between matches; chat 1 also empties the chat list.
int hud_match_reset(int chat);
// frontend/screens/menu.cpp: the error screen, returning to screen returnsub.
int menu_error(const std::string& message, int returnsub);
// frontend/weaponset.cpp: saves the weapon-set grid under path.
int menu_wpns_saveset(const std::string& path);
