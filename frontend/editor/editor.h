// Map editor: the editing state that terrain code reads. (Stand-in: the chosen
// object id; the editor fills this file.)
#pragma once

#include <string>

#include "core/shared_state.h"

