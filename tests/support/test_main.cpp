// Test entry: starts the platform headless (or with a window for the screen
// tests, which run under Xvfb) before running the tests.
#include <gtest/gtest.h>

#include "platform/platform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    PlatformOptions options;
#ifndef GROMBAT_SCREEN_TEST
    options.headless = true;
#endif
    PlatformInit(options);
    int result = RUN_ALL_TESTS();
    PlatformShutdown();
    return result;
}
