// The refusal of direct functions inside one-machine callbacks.
#include "scripting/callback_guard.h"

#include <string>

#include "core/shared_state.h"

namespace {
int s_depth = 0;
}

Tlua_local_scope::Tlua_local_scope() { ++s_depth; }
Tlua_local_scope::~Tlua_local_scope() { --s_depth; }

int lua_in_local_callback() { return s_depth > 0 ? 1 : 0; }

int lua_refuse_local(const char* fn) {
    if (s_depth <= 0) return 0;
    gui_addcon(std::string("Lua '") + fn + "' refused: this callback does not run alike on every machine");
    return 1;
}
