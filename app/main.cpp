// The game's entry point: start-up, then the main loop, which ends the
// program through End.
//
// "-headless N" runs start-up and N loop passes without a window or sound
// device, then ends (checks and benchmarks on machines without a display).
#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "core/text.h"
#include "platform/system.h"

int main(int argc, char** argv) {
    StartupOptions options;
    for (int i = 1; i < argc; i++) {
        std::string arg = text_lower(argv[i]);
        if (arg == "-headless") {
            options.headless = true;
            if (i + 1 < argc) options.passes = std::max(0, std::atoi(argv[i + 1]));
        }
    }
    game_main(argc, argv, options);
    End();
}
