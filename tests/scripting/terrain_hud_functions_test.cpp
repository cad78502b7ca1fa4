// Terrain, mission, drawing, HUD and sound functions: the records they write
// with and without the turn, the requests they leave for the HUD, the draw
// state they leave behind, and the refusals inside one-machine callbacks.
#include <lua.hpp>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "frontend/hud/hud.h"
#include "match/mission.h"
#include "platform/audio.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "scripting/callback_guard.h"
#include "scripting/callbacks.h"
#include "scripting/script_objects.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "tests/scripting/scripting_fixture.h"
#include "tests/support/temp_dir.h"
#include "world/frame_buffer.h"
#include "world/player.h"
#include "world/team.h"

namespace {

using Bytes = std::vector<uint8_t>;

class TerrainHud : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        g_frame_data = CreateBank(0);
        Tfb::loc = CreateBank(0);
        g_replay = 0;
        g_player = 0, g_turn_netplayer = 0;
        map_setup(3, 3, 1);
        if (!gfx_crater25) gfx_crater25 = CreateImage(25, 25);
        if (!gfx_arrow) gfx_arrow = CreateImage(16, 16);
        Tres::clear();
        Tscro::clear();
        Tplayer::list.clear();
        Tteam::list.clear();
        in_console.clear();
        menu = kMenuMatch;
        hud_drawtimer = -1;
        hud_drawtimerval = 0;
        Thud_msg::reset();
        Thud_msg::info.clear();
        Thud_lua::list.clear();
        Thud_lua::imglist.clear();
    }
    void TearDown() override {
        Tplayer::list.clear();
        Tteam::list.clear();
        Tres::clear();
        DrawRecord(false);
        ScriptTest::TearDown();
    }
    static Bytes written() { return g_frame_data->Bytes(); }
    static Bytes local() { return Tfb::loc->Bytes(); }
    void clear_frame() {
        g_frame_data = CreateBank(0);
        Tfb::loc = CreateBank(0);
    }
    // A script image in slot 1.
    ImagePtr script_image(int w, int h) {
        auto e = std::make_shared<Tres>();
        e->path = "test.png";
        e->image = CreateImage(w, h);
        Tres::gfx[1] = e;
        return e->image;
    }
    bool console_has(const std::string& part) {
        for (auto& line : in_console)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(TerrainHud, TerrainRecordsWithTheTurnAndNoneWithout) {
    struct Case {
        const char* call;
        Bytes record;
    };
    const Case cases[] = {
        {"terraincircle(100, 100, -20, 0)", {0x32, 100, 0, 0, 0, 100, 0, 0, 0, 20, 0, 0, 0, 0, 0}},
        // |INT_MIN| in 64 bits keeps its low 16 bits.
        {"terraincircle(1, 2, -2147483648, -1)", {0x32, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"terrainrect(10, 10, -5, 8, 7)", {0x33, 10, 0, 0, 0, 10, 0, 0, 0, 5, 0, 8, 0, 7, 0, 0, 0}},
        {"terrainexplosion(3, 4, -30)", {0x34, 3, 0, 0, 0, 4, 0, 0, 0, 30, 0, 0}},
        {"terrainexplosion(3, 4, 70000, 259)", {0x34, 3, 0, 0, 0, 4, 0, 0, 0, 0x70, 0x11, 3}},
        {"terrainimage(gfx_crater25, 5, 6)", {0x35, 0x59, 0, 5, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"terrainimage(gfx_crater25, 5, 6, 1, -90)", {0x35, 0x59, 0, 5, 0, 0, 0, 6, 0, 0, 0, 1, 0xA6, 0xFF, 0xFF, 0xFF}},
        {"terrainimage(12345, 5, 6)", {}},
        {"terrainalphaimage(gfx_crater25, 1, 2)",
         {0x36, 0x59, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0x80, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
        {"terrainbackimage(gfx_crater25, 1, 2, 3, 4, 5, 6)",
         {0x37, 0x59, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        clear_frame();
        g_turn_netplayer = 0;
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(written(), c.record) << c.call;
        EXPECT_EQ(local(), c.record) << c.call;
        clear_frame();
        g_turn_netplayer = 1;
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_TRUE(written().empty()) << c.call;
        EXPECT_TRUE(local().empty()) << c.call;
    }
}

// Only the turn owner asks whether an image resolves, so the question must
// leave the shared generator alone, blood stains included.
TEST_F(TerrainHud, ImageChecksDrawNothingFromTheSharedGenerator) {
    for (int i = 0; i < 3; ++i)
        if (!gfx_blood50[i]) gfx_blood50[i] = CreateImage(50, 50);
    SeedRnd(7);
    double expected = Rnd(0, 1);
    SeedRnd(7);
    ASSERT_EQ(run("terrainimage(gfx_blood50, 1, 2) hudpositioning(pos_build, gfx_blood50)"), "");
    EXPECT_EQ(written().size(), 16u);
    EXPECT_EQ(hud_drawposimg, -5);
    EXPECT_EQ(Rnd(0, 1), expected);
}

TEST_F(TerrainHud, TerrainQueriesAndResize) {
    map_rect(10, 10, 5, 5, (int)0xFF102030u);
    EXPECT_EQ(eval("table.concat({getterraincolor(11, 11)}, ' ')"), "255 16 32 48");
    EXPECT_EQ(eval("getterraincolor(11, 11, 1)"), std::to_string((int32_t)0xFF102030u));
    EXPECT_EQ(eval("table.concat({getterraincolor(-5, 11)}, ' ')"), "0 0 0 0");
    g_terrainmodify = 2;
    EXPECT_EQ(eval("terrainmodification()"), "1");
    g_terrainmodify = 0;
    EXPECT_EQ(eval("terrainmodification()"), "0");

    struct Size {
        const char* call;
        int xt, yt;
    };
    for (const Size& s : {Size{"resizeterrain(1250, 640)", 13, 7}, Size{"resizeterrain(100, 100)", 3, 3},
                          Size{"resizeterrain(2147483647, -5)", 300, 3}}) {
        ASSERT_EQ(run(s.call), "") << s.call;
        EXPECT_EQ(map_xtiles, s.xt) << s.call;
        EXPECT_EQ(map_ytiles, s.yt) << s.call;
        EXPECT_EQ(map_xsize, s.xt * 100) << s.call;
        EXPECT_EQ(map_ysize, s.yt * 100) << s.call;
    }
}

TEST_F(TerrainHud, DirectFunctionsAreRefusedInOneMachineCallbacks) {
    ImagePtr img = script_image(20, 10);
    img->handle_x = 1, img->handle_y = 2;
    ASSERT_EQ(run("function ai_move() resizeterrain(1250, 640) setmidhandle(1) sethandle(1, 7, 7) end\n"
                  "o = {draw = function() setmidhandle(1) end}"),
              "");
    lua_ai_call(1, "ai_move");
    EXPECT_EQ(map_xtiles, 3);
    EXPECT_EQ(img->handle_x, 1);
    EXPECT_EQ(img->handle_y, 2);
    for (const char* fn : {"'resizeterrain'", "'setmidhandle'", "'sethandle'"}) EXPECT_TRUE(console_has(fn)) << fn;
    EXPECT_EQ(lua_in_local_callback(), 0);

    Tscro::addobject("o", 0);
    lua_object_draw(1, 7001, 0, 0);
    EXPECT_EQ(img->handle_x, 1);
    EXPECT_TRUE(questions.empty());

    // Outside such callbacks they act.
    ASSERT_EQ(run("setmidhandle(1) resizeterrain(1250, 640)"), "");
    EXPECT_EQ(img->handle_x, 10);
    EXPECT_EQ(img->handle_y, 5);
    EXPECT_EQ(map_xtiles, 13);
    ASSERT_EQ(run("sethandle(1, -3, 4) sethandle(-1, 5, 5)"), "");
    EXPECT_EQ(img->handle_x, -3);
}

TEST_F(TerrainHud, HudRequests) {
    ASSERT_EQ(run("hudtimer(20, 1, 15)"), "");
    EXPECT_EQ(lua_getglobalint("weapon_timer"), 20);
    EXPECT_EQ(hud_drawtimerval, 10);
    EXPECT_EQ(hud_drawtimermin, 1);
    EXPECT_EQ(hud_drawtimermax, 10);
    EXPECT_EQ(hud_drawtimer, 1);
    hud_drawtimerval = 2;   // the player chose 2
    ASSERT_EQ(run("hudtimer(4)"), "");
    EXPECT_EQ(hud_drawtimerval, 2);
    hud_drawtimer = -1;
    ASSERT_EQ(run("hudtimer(-3)"), "");
    EXPECT_EQ(hud_drawtimerval, 3);
    EXPECT_EQ(hud_drawtimermax, 5);
    hud_drawtimer = -1;
    ASSERT_EQ(run("hudtimer(3, 9, 2)"), "");
    EXPECT_EQ(hud_drawtimermin, 2);
    EXPECT_EQ(hud_drawtimermax, 9);
    hud_drawtimer = -1;
    ASSERT_EQ(run("hudtimer(-2147483648)"), "");
    EXPECT_EQ(lua_getglobalint("weapon_timer"), 2147483647);

    struct Pos {
        const char* call;
        int mode, img, range, t, p, o;
    };
    gfx_crater25 = gfx_crater25 ? gfx_crater25 : CreateImage(25, 25);
    for (const Pos& c : {Pos{"hudpositioning(3, 0, 50, 2, 0, -1)", 3, 0, 50, 1, 0, 1},
                         Pos{"hudpositioning(5)", 5, 0, 0, 1, 1, 1}, Pos{"hudpositioning(4)", 4, 0, 100, 1, 1, 1},
                         Pos{"hudpositioning()", 1, 0, 100, 1, 1, 1},
                         Pos{"hudpositioning(3, gfx_crater25)", 3, -11, 100, 1, 1, 1},
                         Pos{"hudpositioning(3, 77)", 3, 0, 100, 1, 1, 1}}) {
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(hud_drawpos, c.mode) << c.call;
        EXPECT_EQ(hud_drawposimg, c.img) << c.call;
        EXPECT_EQ(hud_drawposrange, c.range) << c.call;
        EXPECT_EQ(hud_drawposcolterrain, c.t) << c.call;
        EXPECT_EQ(hud_drawposcolplayers, c.p) << c.call;
        EXPECT_EQ(hud_drawposcolobjects, c.o) << c.call;
    }

    ASSERT_EQ(run("hudchargebar(5, 0)"), "");
    EXPECT_EQ(hud_drawchargebar, 1);
    EXPECT_TRUE(std::isinf(hud_drawchargebarperc) && hud_drawchargebarperc > 0);
    ASSERT_EQ(run("hudchargebar(1, 4)"), "");
    EXPECT_EQ(hud_drawchargebarperc, 0.25f);
    ASSERT_EQ(run("hudammobar(5, 0)"), "");
    EXPECT_EQ(hud_drawammobar, 1);
    EXPECT_EQ(hud_drawammobartotal, 0);
    ASSERT_EQ(run("hudcrosshair(3, -4) hudmapborder(1, 50)"), "");
    EXPECT_EQ(hud_drawaim, 1);
    EXPECT_EQ(hud_drawaimxo, 3);
    EXPECT_EQ(hud_drawaimyo, -4);
    EXPECT_EQ(hud_drawmapborder, 1);
    EXPECT_EQ(hud_borderstyle, 1);
    EXPECT_EQ(hud_borderoffset, 50);

    g_turn_netplayer = 1;
    ASSERT_EQ(run("hudinfo('x')"), "");
    EXPECT_EQ(Thud_msg::info, "");
    ASSERT_EQ(run("hudinfo('x', 0, 1, 2, 3)"), "");
    EXPECT_EQ(Thud_msg::info, "x");
    EXPECT_EQ(Thud_msg::infob, 3);

    ASSERT_EQ(run("hudmsgbox('abc') hudmsgbox('xyz')"), "");
    EXPECT_EQ(Thud_msg::msgbox, 1);
    EXPECT_EQ(Thud_msg::msgboxtext, std::vector<std::string>{"abc"});
    ASSERT_EQ(run("hudmsgbox('abcd')"), "");
    EXPECT_EQ(Thud_msg::msgboxtext, std::vector<std::string>{"abcd"});
    EXPECT_EQ(Thud_msg::msgboxtotallength, 4);

    ASSERT_EQ(run("hudtext('a', 10, 11, 1, 2, 3, 3)"), "");
    ASSERT_EQ(Thud_lua::list.size(), 1u);
    EXPECT_EQ(Thud_lua::list[0].align, 3);
    EXPECT_EQ(Thud_lua::list[0].y, 11);
    EXPECT_NE(run("hudtext('a', 10)"), "");
    EXPECT_NE(run("hudtimer()"), "");
}

TEST_F(TerrainHud, DrawStateAndBackgroundTint) {
    SetBlend(LIGHTBLEND);
    ASSERT_EQ(run("setblend(5) setblend(-1)"), "");
    EXPECT_EQ(GetBlend(), LIGHTBLEND);
    ASSERT_EQ(run("setblend(blend_shade)"), "");
    EXPECT_EQ(GetBlend(), SHADEBLEND);
    ASSERT_EQ(run("setblend(blend_mask)"), "");
    EXPECT_EQ(GetBlend(), MASKBLEND);

    ASSERT_EQ(run("setbgcolor(0, 0, 0, 7, 0)"), "");
    EXPECT_EQ(g_bgcola, 1.0f);
    EXPECT_EQ(g_bgfadeout, 0.001f);
    ASSERT_EQ(run("setbgcolor(300, 0, 2147483647)"), "");
    EXPECT_EQ(g_bgcol[0], 300);
    EXPECT_EQ(g_bgcol[2], 2147483647);
    EXPECT_EQ(g_bgfadeout, 0.1f);

    SetTransform(30, 2, 3);
    ASSERT_EQ(run("drawline(0, 0, 10, 10, 4)"), "");
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(GetRotation(), 0);
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(sy, 1);

    // A queued HUD image keeps the state of its call.
    SetColor(1, 2, 3);
    SetAlpha(0.25f);
    ASSERT_EQ(run("drawhud(gfx_crater25, 10, 10)"), "");
    SetColor(255, 255, 255);
    ASSERT_EQ(Thud_lua::imglist.size(), 1u);
    EXPECT_EQ(Thud_lua::imglist[0].g, 2);
    EXPECT_EQ(Thud_lua::imglist[0].alpha, 0.25f);

    // The arrow for a point straight above the screen centre: rotation 0,
    // 16 px below the top edge, at the horizontal centre.
    set_scrx = 800, set_scry = 600, set_scrxh = 400, set_scryh = 300;
    map_x = 0, map_y = 0;
    DrawRecord(true);
    ASSERT_EQ(run("outofscreenarrow(400, 600) outofscreenarrow(800, 0) outofscreenarrow(400, -500)"), "");
    auto calls = DrawRecorded();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].x, 400);
    EXPECT_EQ(calls[0].y, 16);
    EXPECT_EQ(calls[0].rotation, 0);
    EXPECT_EQ(GetRotation(), 0);
    DrawRecord(false);
}

TEST_F(TerrainHud, ImagesAtWorldAndScreenPositionsAndInHand) {
    map_x = -10.7f, map_y = 5.9f;
    DrawRecord(true);
    ASSERT_EQ(run("drawimage(gfx_crater25, 100, 50) drawimage(12345, 1, 1) drawhud(gfx_crater25, 7, 8, 2)\n"
                  "drawhud(gfx_crater25, 7, 8, 1) drawrect(1, 2, 3, 4)"),
              "");
    auto calls = DrawRecorded();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].x, 90);   // trunc(-10.7) + 100
    EXPECT_EQ(calls[0].y, 55);
    EXPECT_EQ(calls[1].x, 7);    // mode 2: at once, no camera
    EXPECT_EQ(calls[2].kind, DrawCall::RECT);
    EXPECT_EQ(calls[2].x, -9);
    ASSERT_EQ(Thud_lua::imglist.size(), 1u);   // mode 1 waits for the HUD pass
    EXPECT_EQ(Thud_lua::imglist[0].mode, 1);

    // drawinhand: nothing without an acting player (no argument read), nothing
    // at weapon size 0.1; else at the hand, mirrored with the player.
    lua_p = 0;
    DrawRecord(true);
    ASSERT_EQ(run("drawinhand()"), "");
    auto p = Tplayer::add(0, 0);
    p->x = 100, p->y = 200, p->dir = -1, p->wpnrot = 0, p->wpnsize = 0.1f;
    lua_p = p->id;
    SetTransform(5, 1, 1);
    ASSERT_EQ(run("drawinhand(gfx_crater25, 4, 2, 2)"), "");
    EXPECT_TRUE(DrawRecorded().empty());
    EXPECT_EQ(GetRotation(), 5);
    p->wpnsize = 1;
    ASSERT_EQ(run("drawinhand(gfx_crater25, 4, 2, 2)"), "");
    calls = DrawRecorded();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].x, 89 - 4);   // trunc(-10.7 + 100) + 4 * dir
    EXPECT_EQ(calls[0].y, 208 + 2);  // trunc(5.9 + 200 + 3) + 2
    EXPECT_EQ(calls[0].scale_x, -2);
    EXPECT_EQ(calls[0].scale_y, 2);
    lua_p = 0;
    map_x = map_y = 0;
}

TEST_F(TerrainHud, MissionFunctionsActOnlyInAMission) {
    TempDir dir({"missions/m1"});
    auto m = std::make_shared<Tmission>();
    m->folder = "m1";
    m->score = 900;
    Tmission::selected = m;
    Tmission::winflag = 0;
    Tmission::cscore = 0;
    hud_cutscene = 0;
    ASSERT_EQ(run("win() cutscene() setscore('not read')"), "");
    EXPECT_EQ(eval("inmission()"), "0");
    EXPECT_EQ(eval("getscore(1)"), "0");
    EXPECT_EQ(Tmission::winflag, 0);
    EXPECT_EQ(hud_cutscene, 0);

    menu = kMenuMission;
    EXPECT_EQ(eval("inmission()"), "1");
    ASSERT_EQ(run("setscore(500)"), "");
    EXPECT_EQ(eval("getscore()"), "500");
    EXPECT_EQ(eval("getscore(1)"), "900");
    ASSERT_EQ(run("setscore(-20, 1)"), "");
    EXPECT_EQ(eval("getscore()"), "-20");
    EXPECT_EQ(eval("getscore(1)"), "0");
    ASSERT_EQ(run("setscore(10, 1) win() cutscene()"), "");
    EXPECT_EQ(m->score, 10);
    BankPtr saved = LoadBank("missions/m1/score");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Bytes(), (Bytes{10, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Tmission::winflag, 1);
    EXPECT_EQ(hud_cutscene, 1);

    auto p = Tplayer::add(0, 0);
    p->wpn = 4;
    g_turn_player = p->id;
    g_weaponseti[0][2][0] = 4, g_weaponsetcd[0][2][0] = 1500;
    g_weaponseti[0][7][0] = 4, g_weaponsetcd[0][7][0] = 700;
    ASSERT_EQ(run("cooldown()"), "");
    EXPECT_EQ(g_cooldown[2], 1500);
    EXPECT_EQ(g_cooldown[7], 700);
    g_weaponseti[0][2][0] = g_weaponseti[0][7][0] = 0;
    g_cooldown[2] = g_cooldown[7] = 0;
    Tmission::selected = nullptr;
    menu = kMenuMatch;
}

TEST_F(TerrainHud, SoundChannels) {
    TempDir dir;
    SetAudioDriver("Null");
    set_sfx_vol = 10;
    std::vector<int16_t> samples(8000 * 5, 1000);
    BankPtr wav = EncodeSoundWav(samples, 1, 8000);
    ASSERT_TRUE(wav && SaveBank(*wav, "long.wav"));
    auto e = std::make_shared<Tres>();
    e->path = "long.wav";
    e->sound = LoadSound("long.wav");
    ASSERT_TRUE(e->sound);
    Tres::sfx[1] = e;

    ASSERT_EQ(run("playsound(-24, 3) playsound(1, 10)"), "");
    EXPECT_EQ(eval("channelplaying(3)"), "0");
    EXPECT_EQ(eval("channelplaying(10)"), "0");
    ASSERT_EQ(run("playsound(1, 3)"), "");
    EXPECT_EQ(eval("channelplaying(3)"), "1");
    set_sfx_vol = 0;   // muted: nothing starts and the slot keeps its channel
    ASSERT_EQ(run("playsound(1, 3)"), "");
    EXPECT_EQ(eval("channelplaying(3)"), "1");
    ASSERT_EQ(run("stopchannel(3) stopchannel(4)"), "");
    EXPECT_EQ(eval("channelplaying(3)"), "0");
    EXPECT_FALSE(lua_channel[3]);

    // Each built-in id plays its own sound: with only that sound loaded the
    // call starts a channel.
    set_sfx_vol = 10;
    struct Builtin {
        int id;
        SoundPtr* sound;
    };
    const Builtin builtins[] = {
        {-1, &sfx_explosion[0]}, {-2, &sfx_explosion[1]}, {-3, &sfx_explosion[2]}, {-4, &sfx_hitwater[0]},
        {-5, &sfx_hitwater[1]},  {-6, &sfx_hitwater[2]},  {-7, &sfx_ric},           {-8, &sfx_splatter[0]},
        {-9, &sfx_splatter[1]},  {-10, &sfx_splatter[2]}, {-11, &sfx_splatter[3]},  {-12, &sfx_splatter[4]},
        {-13, &sfx_explosion[3]}, {-14, &sfx_explosion[4]}, {-15, &sfx_explosion[5]}, {-16, &sfx_explosion[6]},
        {-17, &sfx_hitwater[3]}, {-18, &sfx_hitwater[4]}, {-19, &sfx_watermove},    {-20, &sfx_steam},
        {-21, &sfx_turn_next},   {-22, &sfx_turn_you},    {-23, &sfx_turn_roundgong},
    };
    std::vector<SoundPtr> saved;
    for (const Builtin& b : builtins) {
        saved.push_back(*b.sound);
        *b.sound = nullptr;
    }
    for (const Builtin& b : builtins) {
        *b.sound = e->sound;
        for (int id = -24; id <= -1; ++id) {
            ASSERT_EQ(run("playsound(" + std::to_string(id) + ", 5)"), "");
            EXPECT_EQ(eval("channelplaying(5)"), id == b.id ? "1" : "0") << b.id << " " << id;
            ASSERT_EQ(run("stopchannel(5)"), "");
        }
        *b.sound = nullptr;
    }
    for (size_t i = 0; i < saved.size(); ++i) *builtins[i].sound = saved[i];
    set_sfx_vol = 10;
}

}  // namespace
