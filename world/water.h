// Water level of the world. (Stand-in: the globals; world events move it.)
#pragma once

#include "core/shared_state.h"

