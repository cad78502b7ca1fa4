// Calls into script-object types: a type's Lua function ("setup" after an
// object is created, "damage" when it is hurt) run with the object's id and
// an integer argument. lua_objectcall itself is declared in
// core/shared_state.h, since map spawns and the frame buffer call it.
#pragma once

#include "core/shared_state.h"
