// Invariant checks: on in the test build, and a broken one ends the program
// naming the invariant.
#include "core/check.h"

#include <gtest/gtest.h>

TEST(CheckDeathTest, BrokenInvariantEndsTheProgramNamingIt) {
#if defined(GROMBAT_CHECKS)
    int tiles = 3;
    EXPECT_DEATH(GF_ASSERT(tiles == 4, "four tiles"), "invariant broken: four tiles \\(tiles == 4\\)");
    GF_ASSERT(tiles == 3, "three tiles");  // a kept invariant costs nothing more
#else
    GTEST_SKIP() << "release build: invariant checks are compiled out";
#endif
}
