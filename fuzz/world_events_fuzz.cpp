// Fuzz target: random bytes as a frame's world-event records, applied with
// players, teams, objects, a script object type and net players present, both
// directly and as a received frame through the frame buffer.
//
// Properties checked: nothing crashes, reads out of bounds, hangs or ends the
// program; applying records and stepping the objects never leaves a player or object at a position that is not
// finite or is far past any map.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "core/catalogue.h"
#include "core/shared_state.h"
#include "frontend/hud/hud.h"
#include "frontend/screens/console.h"
#include "match/game.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "scripting/lua_state.h"
#include "scripting/object_calls.h"
#include "scripting/script_objects.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"

namespace {

ImagePtr solid(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    for (auto& px : LockImage(img, 0, true, true)->pixels) px = 0xFF505050u;
    UnlockImage(img, 0);
    return img;
}

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    // Script errors (the crate type defines no functions) are answered "go on".
    lua_reset();
    lua_proceed = [](const std::string&) { return 1; };
    lua_notify = [](const std::string&, bool) {};
    gfx_crater100 = solid(12, 9);
    for (ImagePtr* img : {&gfx_coldot2, &gfx_coldot3, &gfx_supply, &gfx_crater25}) *img = solid(5, 5);
    g_gravity = 0.1f;
    for (auto& b : gfx_blood25) b = solid(3, 3);
    auto obj = std::make_shared<Tscro>();
    obj->path = "objects.crate";
    obj->pathtable = {"objects", "crate"};
    Tscro::obj[3] = obj;
    auto w = std::make_shared<Tscro>();
    w->name = "Gun";
    Tscro::weapon[5] = w;
}

void reset_world() {
    Tplayer::list.clear();
    Tteam::list.clear();
    Tobj::list.clear();
    Tobj_fake::list.clear();
    Tpro::clear();
    Tp::clear();
    Tnetpl::list.clear();
    Tudp_con::list.clear();
    Tfb::reset();
    in_console.clear();
    gui_lobby_lines.clear();
    Thud_flytext::list.clear();
    Thud_chat::list.clear();
    game_calls.clear();
    g_replay_cbuffer = CreateBank(0);
    map_setup(3, 3, 1);
    map_rect(0, 150, 299, 149, (int)0xFF806040u);
    for (int t = 0; t < 2; ++t) {
        auto team = std::make_shared<Tteam>();
        team->id = t;
        team->netplayer = t;
        team->color = t;
        Tteam::list.push_back(team);
    }
    for (int i = 1; i <= 4; ++i) {
        auto p = Tplayer::add(i, (i - 1) / 2);
        p->health = 100;
        p->x = 50.0f * (float)i;
        p->y = 140;
    }
    Tobj::Create(3, 100, 100, 0, 7, 0);
    Tobj::Create(-2, 150, 100, 5, 8, 0);
    Tobj::Create(-4, 200, 100, 0, 9, 0);
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::add(1, "joiner", std::make_shared<Tudp_con>());
    g_server = 1, g_player = 0, g_turn_netplayer = 0, g_turn_player = 1;
    g_turn_state = 1, g_turn_frames = 0, g_mode = 1, g_replay = 0, menu = 2;
    g_waterlevel = g_waterlevel_change = 280;
}

void check_sane() {
    for (auto& p : Tplayer::list)
        if (!std::isfinite(p->x) || !std::isfinite(p->y) || std::fabs(p->x) > 2e9f || std::fabs(p->fx) > 2e9f) abort();
    for (auto& o : Tobj::list)
        if (!std::isfinite(o->x) || !std::isfinite(o->y) || std::fabs(o->x) > 2e9f || std::fabs(o->fy) > 2e9f) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    if (size > 8192) return 0;
    reset_world();
    auto bank = CreateBank(0);
    bank->Bytes().assign(data, data + size);
    // Directly, as the turn holder's own mirrored records would be applied...
    Tfb::process_additional(bank, Tplayer::get(g_turn_player));
    check_sane();
    // The deciding machine's object step on what the records left, and the
    // records it writes applied as its own.
    g_frame_data = CreateBank(0);
    Tobj::update(1);
    Tfb::process_additional(Tfb::loc, nullptr);
    Tfb::loc->Resize(0);
    check_sane();
    // ...and as a received frame, on a joined machine, through the frame buffer.
    g_server = 0;
    g_player = 1;
    Tfb::add(g_turn_frames, size ? data[0] : 0, bank, Tfb::fin);
    Tfb::process();
    check_sane();
    // Replay-only entry from the same bytes.
    g_replay = 1;
    Tfb::add(-1, 0, bank, Tfb::fin);
    Tfb::process();
    g_replay = 0;
    return 0;
}
