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
