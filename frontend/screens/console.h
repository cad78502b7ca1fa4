// Console: the log of network and game events, drawn while Tab is held.
#pragma once

#include <list>
#include <string>

#include "core/shared_state.h"

int gui_console();
