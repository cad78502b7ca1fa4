// The scripting interface's name table and the functions of this file's own
// family (dofile).
#include "scripting/interface.h"

#include <lua.hpp>

#include <cmath>

#include "scripting/lua_state.h"
#include "world/player.h"

const Tlua_function (&lua_interface_functions())[153] {
    static const Tlua_function kFunctions[153] = {
        {"dofile", lua_dofile},
        // Environment and turn.
        {"random", nullptr}, {"randomseed", nullptr}, {"print", nullptr}, {"scroll", nullptr},
        {"screenwidth", nullptr}, {"screenheight", nullptr}, {"wind", nullptr}, {"watery", nullptr},
        {"getwind", nullptr}, {"getgravity", nullptr}, {"getwatery", nullptr}, {"getround", nullptr},
        {"getturn", nullptr}, {"getframe", nullptr}, {"getframesleft", nullptr}, {"getmapwidth", nullptr},
        {"getmapheight", nullptr}, {"getscrollx", nullptr}, {"getscrolly", nullptr}, {"endturn", nullptr},
        {"changeturntime", nullptr},
        // Weapon use, damage and input.
        {"useweapon", nullptr}, {"arealdamage", nullptr}, {"recoil", nullptr}, {"blood", nullptr},
        {"angledelta", nullptr}, {"keydown", nullptr}, {"keyhit", nullptr}, {"keyrelease", nullptr},
        {"quake", nullptr},
        // Weapon stock.
        {"getweaponinfo", nullptr}, {"getweaponlist", nullptr}, {"getweaponcount", nullptr},
        {"setweaponcount", nullptr}, {"getweaponlock", nullptr}, {"setweaponlock", nullptr},
        // Registration.
        {"loadgfx", nullptr}, {"loadsfx", nullptr}, {"addweapon", lua_addweapon},
        {"addweaponinfo", lua_addweaponinfo}, {"addprojectile", lua_addprojectile}, {"addobject", lua_addobject},
        {"addgamemode", nullptr}, {"addgameender", nullptr},
        // Drawing.
        {"setblend", nullptr}, {"setscale", nullptr}, {"setrotation", nullptr}, {"setcolor", nullptr},
        {"setbgcolor", nullptr}, {"setalpha", nullptr}, {"drawimage", nullptr}, {"drawhud", nullptr},
        {"drawinhand", nullptr}, {"drawline", nullptr}, {"drawrect", nullptr}, {"sethandle", nullptr},
        {"setmidhandle", nullptr}, {"outofscreenarrow", nullptr},
        // HUD.
        {"hudchargebar", nullptr}, {"hudammobar", nullptr}, {"hudpositioning", nullptr},
        {"hudcrosshair", nullptr}, {"hudinfo", nullptr}, {"hudtimer", nullptr}, {"hudmapborder", nullptr},
        {"hudmsgbox", nullptr}, {"hudtext", nullptr},
        // Sound.
        {"playsound", nullptr}, {"channelplaying", nullptr}, {"stopchannel", nullptr},
        // Players.
        {"playertable", nullptr}, {"playercurrent", nullptr}, {"playerpush", nullptr},
        {"playerdamage", nullptr}, {"playerheal", nullptr}, {"playerposition", nullptr},
        {"playercontrol", nullptr}, {"playerstate", nullptr}, {"playerswitch", nullptr},
        {"playerforceframe", nullptr}, {"playerweaponswitch", nullptr}, {"getplayerx", nullptr},
        {"getplayery", nullptr}, {"getplayerrotation", nullptr}, {"getplayerdirection", nullptr},
        {"getplayerhealth", nullptr}, {"getplayeraction", nullptr}, {"getplayerxspeed", nullptr},
        {"getplayeryspeed", nullptr}, {"getplayerstate", nullptr}, {"getplayerteam", nullptr},
        {"getplayeralliance", nullptr}, {"getplayercontrol", nullptr}, {"getplayerweaponswitch", nullptr},
        {"getplayerweapon", nullptr},
        // Projectiles (projectileid and getprojectileid are one function).
        {"createprojectile", nullptr}, {"freeprojectile", nullptr}, {"projectileid", nullptr},
        {"getprojectileid", nullptr}, {"getprojectiletype", nullptr}, {"getprojectileinfo", nullptr},
        // Terrain.
        {"terraincircle", nullptr}, {"terrainrect", nullptr}, {"terrainexplosion", nullptr},
        {"terrainimage", nullptr}, {"terrainalphaimage", nullptr}, {"terrainbackimage", nullptr},
        {"terrainmodification", nullptr}, {"getterraincolor", nullptr}, {"resizeterrain", nullptr},
        // Particles.
        {"particle", nullptr}, {"particlespeed", nullptr}, {"particlealpha", nullptr},
        {"particlefadealpha", nullptr}, {"particlecolor", nullptr}, {"particlesize", nullptr},
        {"particlerotation", nullptr},
        // Collision.
        {"collision", nullptr}, {"terraincollision", nullptr}, {"playercollision", nullptr},
        {"objectcollision", nullptr}, {"firecollision", nullptr}, {"imagecollision", nullptr},
        // Objects.
        {"objecttable", nullptr}, {"createobject", nullptr}, {"removeobject", nullptr},
        {"objectpush", nullptr}, {"objectposition", nullptr}, {"objectdamage", nullptr},
        {"getobjectx", nullptr}, {"getobjecty", nullptr}, {"getobjectxspeed", nullptr},
        {"getobjectyspeed", nullptr}, {"getobjecttype", nullptr},
        // AI and map nodes.
        {"ai_up", nullptr}, {"ai_down", nullptr}, {"ai_left", nullptr}, {"ai_right", nullptr},
        {"ai_jump", nullptr}, {"ai_backjump", nullptr}, {"ai_attack", nullptr}, {"ai_settimer", nullptr},
        {"ai_weapon", nullptr}, {"nodetable", nullptr}, {"getnodex", nullptr}, {"getnodey", nullptr},
        // Missions.
        {"win", nullptr}, {"cooldown", nullptr}, {"cutscene", nullptr}, {"inmission", nullptr},
        {"getscore", nullptr}, {"setscore", nullptr},
    };
    return kFunctions;
}

// Scripts never run another file: the message box, no result, and the
// calling script goes on.
int lua_dofile(lua_State*) {
    lua_notify("'dofile' is currently not supported by Grombat Fraycup!", false);
    return 0;
}

namespace {

int to_int(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return 2147483647;
    if (d <= -2147483648.0) return -2147483647 - 1;
    return (int)d;
}

}  // namespace

int lua_checkint(lua_State* L, int arg) { return to_int(luaL_checknumber(L, arg)); }

int lua_optint(lua_State* L, int arg, int def) { return to_int(luaL_optnumber(L, arg, def)); }

std::shared_ptr<Tplayer> lua_checkplayer(lua_State* L, int arg) {
    int id = lua_checkint(L, arg);
    if (id <= 0) id = lua_p;
    return id > 0 ? Tplayer::get(id) : nullptr;
}
