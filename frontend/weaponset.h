// Weapon-set model: the weapon menu grid of 3 categories x 14 columns x 9 rows.
#pragma once

#include <cstdint>
#include <string>

#include "core/shared_state.h"

