// The scripting interface's name table and the functions of this file's own
// family (dofile).
#include "scripting/interface.h"

#include <lua.hpp>

#include <cmath>

#include "scripting/lua_args.h"
#include "scripting/lua_state.h"
#include "scripting/terrain_hud_functions.h"
#include "world/player.h"

const Tlua_function (&lua_interface_functions())[153] {
    static const Tlua_function kFunctions[153] = {
        {"dofile", lua_dofile},
        // Environment and turn.
        {"random", lua_random}, {"randomseed", lua_randomseed}, {"print", lua_print}, {"scroll", lua_scroll},
        {"screenwidth", lua_screenwidth}, {"screenheight", lua_screenheight}, {"wind", lua_wind}, {"watery", lua_watery},
        {"getwind", lua_getwind}, {"getgravity", lua_getgravity}, {"getwatery", lua_getwatery}, {"getround", lua_getround},
        {"getturn", lua_getturn}, {"getframe", lua_getframe}, {"getframesleft", lua_getframesleft}, {"getmapwidth", lua_getmapwidth},
        {"getmapheight", lua_getmapheight}, {"getscrollx", lua_getscrollx}, {"getscrolly", lua_getscrolly}, {"endturn", lua_endturn},
        {"changeturntime", lua_changeturntime},
        // Weapon use, damage and input.
        {"useweapon", lua_useweapon}, {"arealdamage", lua_arealdamage}, {"recoil", lua_recoil}, {"blood", lua_blood},
        {"angledelta", lua_angledelta}, {"keydown", lua_fn_keydown}, {"keyhit", lua_fn_keyhit}, {"keyrelease", lua_fn_keyrelease},
        {"quake", lua_quake},
        // Weapon stock.
        {"getweaponinfo", lua_getweaponinfo}, {"getweaponlist", lua_getweaponlist}, {"getweaponcount", lua_getweaponcount},
        {"setweaponcount", lua_setweaponcount}, {"getweaponlock", lua_getweaponlock}, {"setweaponlock", lua_setweaponlock},
        // Registration.
        {"loadgfx", lua_loadgfx}, {"loadsfx", lua_loadsfx}, {"addweapon", lua_addweapon},
        {"addweaponinfo", lua_addweaponinfo}, {"addprojectile", lua_addprojectile}, {"addobject", lua_addobject},
        {"addgamemode", lua_addgamemode}, {"addgameender", lua_addgameender},
        // Drawing.
        {"setblend", lua_setblend}, {"setscale", lua_setscale}, {"setrotation", lua_setrotation},
        {"setcolor", lua_setcolor}, {"setbgcolor", lua_setbgcolor}, {"setalpha", lua_setalpha},
        {"drawimage", lua_drawimage}, {"drawhud", lua_drawhud}, {"drawinhand", lua_drawinhand},
        {"drawline", lua_drawline}, {"drawrect", lua_drawrect}, {"sethandle", lua_sethandle},
        {"setmidhandle", lua_setmidhandle}, {"outofscreenarrow", lua_outofscreenarrow},
        // HUD.
        {"hudchargebar", lua_hudchargebar}, {"hudammobar", lua_hudammobar},
        {"hudpositioning", lua_hudpositioning},
        {"hudcrosshair", lua_hudcrosshair}, {"hudinfo", lua_hudinfo}, {"hudtimer", lua_hudtimer},
        {"hudmapborder", lua_hudmapborder}, {"hudmsgbox", lua_hudmsgbox}, {"hudtext", lua_hudtext},
        // Sound.
        {"playsound", lua_playsound}, {"channelplaying", lua_channelplaying}, {"stopchannel", lua_stopchannel},
        // Players.
        {"playertable", lua_playertable}, {"playercurrent", lua_playercurrent}, {"playerpush", lua_playerpush},
        {"playerdamage", lua_playerdamage}, {"playerheal", lua_playerheal}, {"playerposition", lua_playerposition},
        {"playercontrol", lua_playercontrol}, {"playerstate", lua_playerstate}, {"playerswitch", lua_playerswitch},
        {"playerforceframe", lua_playerforceframe}, {"playerweaponswitch", lua_playerweaponswitch}, {"getplayerx", lua_getplayerx},
        {"getplayery", lua_getplayery}, {"getplayerrotation", lua_getplayerrotation}, {"getplayerdirection", lua_getplayerdirection},
        {"getplayerhealth", lua_getplayerhealth}, {"getplayeraction", lua_getplayeraction}, {"getplayerxspeed", lua_getplayerxspeed},
        {"getplayeryspeed", lua_getplayeryspeed}, {"getplayerstate", lua_getplayerstate}, {"getplayerteam", lua_getplayerteam},
        {"getplayeralliance", lua_getplayeralliance}, {"getplayercontrol", lua_getplayercontrol}, {"getplayerweaponswitch", lua_getplayerweaponswitch},
        {"getplayerweapon", lua_getplayerweapon},
        // Projectiles (projectileid and getprojectileid are one function).
        {"createprojectile", lua_createprojectile}, {"freeprojectile", lua_freeprojectile}, {"projectileid", lua_projectileid},
        {"getprojectileid", lua_projectileid}, {"getprojectiletype", lua_getprojectiletype}, {"getprojectileinfo", lua_getprojectileinfo},
        // Terrain.
        {"terraincircle", lua_terraincircle}, {"terrainrect", lua_terrainrect},
        {"terrainexplosion", lua_terrainexplosion}, {"terrainimage", lua_terrainimage},
        {"terrainalphaimage", lua_terrainalphaimage}, {"terrainbackimage", lua_terrainbackimage},
        {"terrainmodification", lua_terrainmodification}, {"getterraincolor", lua_getterraincolor},
        {"resizeterrain", lua_resizeterrain},
        // Particles.
        {"particle", lua_particle}, {"particlespeed", lua_particlespeed}, {"particlealpha", lua_particlealpha},
        {"particlefadealpha", lua_particlefadealpha}, {"particlecolor", lua_particlecolor}, {"particlesize", lua_particlesize},
        {"particlerotation", lua_particlerotation},
        // Collision.
        {"collision", lua_collision}, {"terraincollision", lua_terraincollision}, {"playercollision", lua_playercollision},
        {"objectcollision", lua_objectcollision}, {"firecollision", lua_firecollision}, {"imagecollision", lua_imagecollision},
        // Objects.
        {"objecttable", lua_objecttable}, {"createobject", lua_createobject}, {"removeobject", lua_removeobject},
        {"objectpush", lua_objectpush}, {"objectposition", lua_objectposition}, {"objectdamage", lua_objectdamage},
        {"getobjectx", lua_getobjectx}, {"getobjecty", lua_getobjecty}, {"getobjectxspeed", lua_getobjectxspeed},
        {"getobjectyspeed", lua_getobjectyspeed}, {"getobjecttype", lua_getobjecttype},
        // AI and map nodes.
        {"ai_up", lua_ai_up}, {"ai_down", lua_ai_down}, {"ai_left", lua_ai_left}, {"ai_right", lua_ai_right},
        {"ai_jump", lua_ai_jump}, {"ai_backjump", lua_ai_backjump}, {"ai_attack", lua_ai_attack}, {"ai_settimer", lua_ai_settimer},
        {"ai_weapon", lua_ai_weapon}, {"nodetable", lua_nodetable}, {"getnodex", lua_getnodex}, {"getnodey", lua_getnodey},
        // Missions.
        {"win", lua_win}, {"cooldown", lua_cooldown}, {"cutscene", lua_cutscene},
        {"inmission", lua_inmission}, {"getscore", lua_getscore}, {"setscore", lua_setscore},
    };
    return kFunctions;
}

// Scripts never run another file: the message box, no result, and the
// calling script goes on.
int lua_dofile(lua_State*) {
    lua_notify("'dofile' is currently not supported by Grombat Fraycup!", false);
    return 0;
}

int lua_checkint(lua_State* L, int arg) { return lua_int_low32(L, arg, lua_checkreal(L, arg)); }

int lua_optint(lua_State* L, int arg, int def) { return lua_isnoneornil(L, arg) ? def : lua_checkint(L, arg); }

std::shared_ptr<Tplayer> lua_checkplayer(lua_State* L, int arg) {
    int id = lua_checkint(L, arg);
    if (id <= 0) id = lua_p;
    return id > 0 ? Tplayer::get(id) : nullptr;
}
