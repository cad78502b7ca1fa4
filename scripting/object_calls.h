// Calls into script-object types: a type's Lua function ("setup" after the
// object is created, "damage" when it is hurt) run with the object's id.
// (Stand-in: the calls are recorded; the scripting interface runs them.)
#pragma once

#include <string>
#include <vector>

// Runs function fn of script-object type typ with the integer arguments id
// and arg in protected mode, no results; a failure (a missing function
// included) goes to luaerror with section and an empty message. 0 always.
int lua_objectcall(int typ, const std::string& fn, int id, int arg, const std::string& section);

// Stand-in record of the calls, oldest first.
struct Tlua_objectcall {
    int typ, id, arg;
    std::string fn, section;
};
extern std::vector<Tlua_objectcall> lua_objectcalls;
