// The interface functions of the terrain, mission, drawing, HUD and sound
// families (their table entries are in scripting/interface.cpp).
#pragma once

struct lua_State;

// Terrain (scripting/terrain_functions.cpp).
int lua_terraincircle(lua_State* L);
int lua_terrainrect(lua_State* L);
int lua_terrainexplosion(lua_State* L);
int lua_terrainimage(lua_State* L);
int lua_terrainalphaimage(lua_State* L);
int lua_terrainbackimage(lua_State* L);
int lua_terrainmodification(lua_State* L);
int lua_getterraincolor(lua_State* L);
int lua_resizeterrain(lua_State* L);
// Missions (scripting/mission_functions.cpp).
int lua_win(lua_State* L);
int lua_cooldown(lua_State* L);
int lua_cutscene(lua_State* L);
int lua_inmission(lua_State* L);
int lua_getscore(lua_State* L);
int lua_setscore(lua_State* L);
// Drawing (scripting/draw_functions.cpp).
int lua_setblend(lua_State* L);
int lua_setscale(lua_State* L);
int lua_setrotation(lua_State* L);
int lua_setcolor(lua_State* L);
int lua_setbgcolor(lua_State* L);
int lua_setalpha(lua_State* L);
int lua_drawimage(lua_State* L);
int lua_drawhud(lua_State* L);
int lua_drawinhand(lua_State* L);
int lua_drawline(lua_State* L);
int lua_drawrect(lua_State* L);
int lua_sethandle(lua_State* L);
int lua_setmidhandle(lua_State* L);
int lua_outofscreenarrow(lua_State* L);
// HUD (scripting/hud_functions.cpp).
int lua_hudchargebar(lua_State* L);
int lua_hudammobar(lua_State* L);
int lua_hudpositioning(lua_State* L);
int lua_hudcrosshair(lua_State* L);
int lua_hudinfo(lua_State* L);
int lua_hudtimer(lua_State* L);
int lua_hudmapborder(lua_State* L);
int lua_hudmsgbox(lua_State* L);
int lua_hudtext(lua_State* L);
// Sound (scripting/sound_functions.cpp).
int lua_playsound(lua_State* L);
int lua_channelplaying(lua_State* L);
int lua_stopchannel(lua_State* L);
