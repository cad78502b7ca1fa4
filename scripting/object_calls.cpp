// Calls into script-object types.
#include "scripting/object_calls.h"

#include "scripting/callbacks.h"
#include "scripting/script_objects.h"

int lua_objectcall(int typ, const std::string& fn, int id, int arg, const std::string& section) {
    if (typ <= 0 || (size_t)typ >= Tscro::obj.size() || !Tscro::obj[(size_t)typ]) return 0;
    std::vector<std::string> path = Tscro::obj[(size_t)typ]->pathtable;
    lua_callback(&path, fn, {Tlua_arg::i(id), Tlua_arg::i(arg)}, nullptr, section);
    return 0;
}
