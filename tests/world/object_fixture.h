// Shared state for the object tests: the world fixture with the built-in
// object and player images loaded as start-up loads them, gravity 0.1, a
// 400 x 400 map with solid ground from row 300 and the water far below.
#pragma once

#include "player_fixture.h"

// The built-in object images with the catalogue's mask and handles.
inline void load_object_images() {
    register_builtin_images();
    SetMaskColor(255, 0, 255);
    AutoMidHandle(true);
    gfx_coldot2 = LoadImage("incbin::incgfx/coldot2.bmp", -1);
    gfx_coldot3 = LoadImage("incbin::incgfx/coldot3.bmp", -1);
    gfx_supply = LoadImage("incbin::incgfx/supply.bmp", -1);
    gfx_medikit = LoadImage("incbin::incgfx/medikit.bmp", -1);
    gfx_mine = LoadImage("incbin::incgfx/mine.bmp", -1);
    gfx_beartrap0 = LoadImage("incbin::incgfx/beartrap0.bmp", -1);
    gfx_beartrap1 = LoadImage("incbin::incgfx/beartrap1.bmp", -1);
    AutoMidHandle(false);
    for (auto& img : {gfx_supply, gfx_medikit})
        if (img) SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) / 2));
    if (gfx_mine) SetImageHandle(gfx_mine, 5, 3);
    for (auto& img : {gfx_beartrap0, gfx_beartrap1})
        if (img) SetImageHandle(img, 7, 9);
    gfx_pl_col = load_player_mask();
}

inline void free_object_images() {
    for (ImagePtr* img : {&gfx_coldot2, &gfx_coldot3, &gfx_supply, &gfx_medikit, &gfx_mine, &gfx_beartrap0,
                          &gfx_beartrap1, &gfx_pl_col})
        *img = nullptr;
}

struct ObjectWorld : WorldTest {
    void SetUp() override {
        world_clear();
        map_setup(4, 4, 1);
        map_rect(0, 300, 400, 100, (int)0xFF808080u);
        load_object_images();
        ASSERT_TRUE(gfx_coldot2 && gfx_coldot3 && gfx_supply && gfx_pl_col);
        g_gravity = 0.1f;
        g_waterlevel = g_waterlevel_change = 1000;
        for (int t = 0; t < 2; ++t) {
            auto team = std::make_shared<Tteam>();
            team->id = t;
            team->netplayer = t;
            Tteam::list.push_back(team);
        }
        saved = {set[3], set[9], set[10], set[12], set[15]};
        set[3] = 0;   // no supply drops unless a test asks for them
        Tobj::burntimer = 1;
    }
    void TearDown() override {
        set[3] = saved[0], set[9] = saved[1], set[10] = saved[2], set[12] = saved[3], set[15] = saved[4];
        free_object_images();
        WorldTest::TearDown();
    }
    // This machine holds the turn (1) or follows it (0).
    static void machine(int holder) {
        g_player = holder ? 0 : 1;
        g_turn_netplayer = 0;
        g_server = holder;
    }
    // The records of this frame so far, then a fresh frame.
    static Bytes take_frame() {
        Bytes b = g_frame_data->Bytes();
        g_frame_data = CreateBank(0);
        return b;
    }
    // The turn holder's own records applied after its step.
    static void apply_own() {
        Tfb::process_additional(Tfb::loc, nullptr);
        Tfb::loc->Resize(0);
    }
    static std::shared_ptr<Tobj> make(int typ, float x, float y, int data, int id) {
        auto o = Tobj::Create(typ, (int)x, (int)y, data, id, 0);
        o->x = x;
        o->y = y;
        Tobj_fake::free(id);
        return o;
    }
    std::array<int, 5> saved{};
};

// The frame's records, each with its code byte, split by the body lengths
// of the records objects write (an unknown code ends the walk).
inline std::vector<Bytes> records(const Bytes& frame) {
    auto body = [](int code) {
        switch (code) {
            case 30: case 31: return 4;
            case 50: return 14;
            case 40: case 41: case 71: return 5;
            case 52: return 11;
            case 54: return 30;
            case 70: return 23;
            case 72: return 2;
            case 73: return 17;
            case 74: return 18;
            case 75: case 77: return 6;
            default: return -1;
        }
    };
    std::vector<Bytes> out;
    for (size_t pos = 0; pos < frame.size();) {
        int n = body(frame[pos]);
        if (n < 0 || pos + 1 + (size_t)n > frame.size()) break;
        out.emplace_back(frame.begin() + (long)pos, frame.begin() + (long)(pos + 1 + (size_t)n));
        pos += 1 + (size_t)n;
    }
    return out;
}
inline std::vector<Bytes> records_of(const Bytes& frame, int code) {
    std::vector<Bytes> out;
    for (auto& r : records(frame))
        if (r[0] == code) out.push_back(r);
    return out;
}
