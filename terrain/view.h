// The view offset over the terrain: screen position = world position + offset.
#pragma once

#include "core/shared_state.h"

