// Fuzz target: particles with any kind, layer and field values (scripts set
// speeds, sizes, fades, colours and rotations as they like), moved, stained
// and drawn for a few frames on a small map, on the menu and in a match, at
// every replay speed.
//
// Properties checked: nothing crashes, hangs or converts a float out of
// range; no layer ever holds more than Tp::kLayerMax particles.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/catalogue.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/particles.h"
#include "world/water.h"

namespace {

ImagePtr solid(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    for (auto& px : LockImage(img, 0, true, true)->pixels) px = 0xC0505050u;
    UnlockImage(img, 0);
    return img;
}

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    gfx_coldot2 = solid(1, 1);
    for (int i = 0; i < 3; ++i) gfx_blood25[i] = solid(25, 25), gfx_blood50[i] = solid(50, 50), gfx_blood75[i] = solid(75, 75);
    for (auto& d : gfx_dropimpact) d = solid(32, 32);
    for (auto& m : gfx_meat) m = solid(6, 6);
    map_setup(3, 3, 1);
    map_rect(0, 150, 299, 149, (int)0xFF806040u);
}

struct Reader {
    const uint8_t* d;
    size_t n, pos = 0;
    uint8_t u8() { return pos < n ? d[pos++] : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= (uint32_t)u8() << (8 * i);
        return v;
    }
    float f32() {
        uint32_t v = u32();
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    if (size > 4096) return 0;
    Tp::clear();
    Reader r{data, size};
    menu = r.u8() % 2 ? 1 : 2;
    g_replay_speed = r.u8() % 7;
    g_replay_pause = r.u8() % 5 == 0;
    set_gore = r.u8() % 7;
    set_particles = r.u8() % 3;
    set_bloodcolor = r.u8() % 8;
    g_gravity = (float)(r.u8() % 8) / 20.0f;
    g_waterlevel = 200 + r.u8();
    while (r.pos + 50 <= size) {
        int kind = (int)(r.u8() % 32) - 1;
        int layer = r.u8() % 3;
        int x = (int)(int16_t)(r.u8() | r.u8() << 8), y = (int)(int16_t)(r.u8() | r.u8() << 8);
        auto p = r.u8() % 2 ? Tp::CreateScript(kind, x, y, layer) : Tp::Create(kind, x, y, layer);
        p->fx = r.f32(), p->fy = r.f32(), p->fr = r.f32(), p->fa = r.f32();
        p->sx = r.f32(), p->sy = r.f32(), p->a = r.f32(), p->rot = r.f32();
        p->frame = (int)r.u32();
        p->data = (int)r.u32();
        (void)r.u8();
    }
    for (int f = 0; f < 40; ++f) {
        g_replay_timer = f;
        g_fps_render = f % 3 == 0;
        for (int l = 0; l < 3; ++l) {
            Tp::draw(l);
            if (Tp::list[(size_t)l].size() > Tp::kLayerMax) abort();
        }
    }
    Tp::clear();
    return 0;
}
