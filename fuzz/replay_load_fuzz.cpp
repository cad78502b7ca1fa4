// Fuzz target: bytes as a replay file, through the loader and, when it
// takes the file, a bounded stretch of playback.
//
// Properties checked: nothing crashes, reads out of bounds, hangs or ends the
// program; a refused file leaves the match as it was.
#include <cstdint>
#include <cstdlib>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/shared_state.h"
#include "frontend/hud/hud.h"
#include "frontend/screens/console.h"
#include "match/game.h"
#include "match/replay.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "scripting/lua_state.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/player.h"
#include "world/team.h"

namespace {

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    host_settings_init();
    lua_instruction_budget = 200000;   // scripts in a replay run once per load
    lua_reset();
    lua_proceed = [](const std::string&) { return 1; };
    lua_notify = [](const std::string&, bool) {};
    gfx_pl_col = CreateImage(32, 32, 1, -1);
    for (auto& px : LockImage(gfx_pl_col, 0, true, true)->pixels) px = 0xFF000000u;
    UnlockImage(gfx_pl_col, 0);
    MidHandleImage(gfx_pl_col);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    in_console.clear();
    // A marker the loader must leave alone when it refuses the file.
    Tteam::list.clear();
    Tteam::add(3, 0, "keep", 3, 1, 0);
    Bank file(data, size);
    if (Treplay::loadbytes(file, "fuzz", -1) == 1) {
        for (int i = 0; i < 400 && menu == 2 && !Treplay::list.empty(); ++i) {
            Treplay::playframe();
            Tfb::process();
        }
    } else if (!Tteam::get(3) || Tteam::get(3)->name != "keep") {
        std::abort();
    }
    g_replay = 0;
    menu = 1;
    Treplay::list.clear();
    Tplayer::list.clear();
    return 0;
}
