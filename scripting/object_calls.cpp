// Calls into script-object types (stand-in: recorded).
#include "scripting/object_calls.h"

std::vector<Tlua_objectcall> lua_objectcalls;

int lua_objectcall(int typ, const std::string& fn, int id, int arg, const std::string& section) {
    lua_objectcalls.push_back({typ, id, arg, fn, section});
    return 0;
}
