// Main loop: frame pacing and frame skipping with an injected clock, replay
// seek pacing, the Escape and close table, and the overlays.
#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/core_fixture.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "frontend/file_prompt.h"
#include "frontend/hud/hud.h"
#include "frontend/screens/menu.h"
#include "frontend/widgets/widgets.h"
#include "match/game.h"
#include "match/replay.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/input.h"
#include "scripting/script_objects.h"
#include "terrain/view.h"
#include "world/particles.h"
#include "world/player.h"

namespace {

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        Graphics(640, 480, 0, 60, 0);
        set_scrx = 640, set_scry = 480;
        in_ms_start = seams.now;
        in_ms = 0;
        g_fps_skipping = 0, g_fps_render = 1, g_fps_skipping_time = 0, g_fps_unskip = 0;
        in_fps = 0, in_fpsf = 0, in_fpst = 0;
        g_fps_due = 0;
        menu = 0, menu_sub = 0, menu_file = 0;
        g_replay = 0, g_replay_pause = 0, g_replay_speed = 2, g_replay_goto = -1, g_replay_frame = 0;
        hud_currentmenu = 0, hud_rmenu = 0, hud_weaponhover = -1, hud_weaponhovert = 0;
        map_x = 0, map_y = 0;
        for (auto& layer : Tp::list) layer.clear();
        Tscro::weapon.assign(256, nullptr);
        Tplayer::list.clear();
        Treplay::list.clear();
    }
    void TearDown() override {
        main_loop_set_work_hook(nullptr);
        DrawRecord(false);
        gfx_pointer = gfx_pointer_click = nullptr;
        font_small = nullptr;
        Tscro::weapon.assign(256, nullptr);
        Tplayer::list.clear();
    }
    // Each pass spends `ms` in its mode step.
    void work(int ms) {
        main_loop_set_work_hook([this, ms] { seams.now += ms; });
    }
    void record() {
        DrawRecord(true);
        DrawRecorded().clear();
    }
    std::vector<DrawCall> calls(DrawCall::Kind kind) {
        std::vector<DrawCall> out;
        for (const DrawCall& d : DrawRecorded())
            if (d.kind == kind) out.push_back(d);
        return out;
    }
    ProgramSeams seams;
};

TEST_F(MainLoopTest, OnePassInLevelPlusOneIsDrawn) {
    struct Case {
        int level;
        std::vector<int> phases;
    };
    const Case cases[] = {
        {0, {1, 1, 1, 1, 1, 1}},
        {1, {0, 1, 0, 1, 0, 1}},
        {2, {2, 0, 1, 2, 0, 1}},
        {5, {2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1}},
    };
    for (const Case& c : cases) {
        SetUp();
        g_fps_skipping = c.level;
        std::vector<int> seen;
        for (size_t i = 0; i < c.phases.size(); i++) {
            main_loop_pass();
            seen.push_back(g_fps_render);
        }
        EXPECT_EQ(seen, c.phases) << "level " << c.level;
    }
}

TEST_F(MainLoopTest, IdlePassesLastTwentyMillisecondsEach) {
    for (int i = 0; i < 150; i++) main_loop_pass();
    EXPECT_EQ(seams.now - in_ms_start, 3000);
    EXPECT_EQ(in_fps, 50);
    EXPECT_EQ(g_fps_skipping, 0);
}

// Passes end on a 20 ms grid: sleeping past the end of a pass, or a pass
// that began a little late, does not slow the game down.
TEST_F(MainLoopTest, PassesKeepTheTwentyMillisecondGrid) {
    // Every sleep overshoots: Delay(1) takes 3 ms.
    SetDelayHook([this](int ms) {
        seams.now += 3 * ms;
        seams.delays++;
    });
    for (int i = 0; i < 150; i++) main_loop_pass();
    EXPECT_LE(seams.now - in_ms_start - 3000, 2);
    // A one-second sample is at least 1000 ms long, so it may hold a 51st pass.
    EXPECT_GE(in_fps, 50);
    EXPECT_LE(in_fps, 51);
    EXPECT_EQ(g_fps_skipping, 0);
}

TEST_F(MainLoopTest, LatePassesAreShortenedOnlyWithinAFrame) {
    struct Step {
        int work, delays;  // ms spent in the mode; 1 ms sleeps taken
    };
    // 0: on the grid (ends at 20). 1: 25 ms of work, no wait (ends at 45).
    // 2: began 5 ms late, waits to 60. 3: 45 ms of work: a new grid from 105.
    // 4: began on time on the new grid: waits to 125.
    const Step steps[] = {{0, 20}, {25, 0}, {10, 5}, {45, 0}, {0, 20}};
    int at = 0;
    for (const Step& s : steps) {
        work(s.work);
        int before = seams.delays;
        main_loop_pass();
        EXPECT_EQ(seams.delays - before, s.delays) << "pass " << at;
        at++;
    }
    EXPECT_EQ(seams.now - in_ms_start, 125);
}

// The frame clock is a 32-bit millisecond count: after 24.8 days of running
// it wraps, and the pacing goes on across the wrap.
TEST_F(MainLoopTest, PacingGoesOnAcrossTheClockWrap) {
    in_ms_start = (int)((unsigned)seams.now - (unsigned)(INT_MAX - 50));
    main_loop_pass();   // starts a new grid just below the top
    const int start = seams.now;
    for (int i = 0; i < 10; i++) main_loop_pass();
    EXPECT_EQ(seams.now - start, 200);
    EXPECT_LT(in_ms, 0) << "the clock has wrapped";
}

// Forty passes a second: the sixth slow second in a row raises the level.
TEST_F(MainLoopTest, SixSlowSecondsRaiseTheLevelUpToFive) {
    work(25);
    std::vector<int> levels;  // the level after each one-second sample
    int last_fpst = in_fpst;
    for (int i = 0; i < 40 * 40; i++) {
        main_loop_pass();
        if (in_fpst != last_fpst) {
            levels.push_back(g_fps_skipping);
            last_fpst = in_fpst;
            if (levels.size() > 1) {
                EXPECT_EQ(in_fps, 40);
            }
        }
    }
    ASSERT_GE(levels.size(), 36u);
    EXPECT_EQ(std::vector<int>(levels.begin(), levels.begin() + 6), (std::vector<int>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(levels[11], 2);
    EXPECT_EQ(levels[29], 5);
    EXPECT_EQ(levels.back(), 5);
}

TEST_F(MainLoopTest, GoodSecondWithEnoughSpareTimeLowersTheLevel) {
    struct Case {
        int level, fps, unskip, level_after;
    };
    const Case cases[] = {
        {1, 50, 500, 0}, {1, 50, 499, 1}, {1, 49, 1000, 0}, {2, 50, 334, 1},  {2, 50, 333, 2},
        {3, 50, 250, 2}, {3, 50, 249, 3}, {4, 50, 200, 3},  {4, 50, 199, 4},  {5, 50, 167, 4},
        {5, 50, 166, 5}, {1, 50, 0, 1},   {0, 50, 900, 0},  {1, 48, 1000, 1},
    };
    for (const Case& c : cases) {
        g_fps_skipping = c.level;
        g_fps_skipping_time = 0;
        g_fps_unskip = c.unskip;
        in_fpst = 0;
        in_fpsf = c.fps - 1;  // the sample counts its own pass
        in_ms = 1000;
        main_loop_fps_sample();
        EXPECT_EQ(in_fps, c.fps);
        EXPECT_EQ(g_fps_skipping, c.level_after) << "level " << c.level << ", " << c.unskip << " ms spare";
        EXPECT_EQ(g_fps_unskip, 0);
        EXPECT_EQ(in_fpst, 1000);
        EXPECT_EQ(in_fpsf, 0);
    }
}

TEST_F(MainLoopTest, SamplesComeOncePerSecondAndGoodSecondsBreakTheSlowRun) {
    struct Step {
        int ms, passes_before;
        int skipping_time_after;
    };
    // ms: in_ms at the sample; passes_before: passes counted before it.
    const Step steps[] = {{999, 10, 0}, {1000, 30, 1}, {2000, 60, 0}, {3000, 10, 1}, {4000, 10, 2}};
    in_fpst = 0;
    for (const Step& s : steps) {
        in_fpsf = s.passes_before;
        in_ms = s.ms;
        main_loop_fps_sample();
        EXPECT_EQ(g_fps_skipping_time, s.skipping_time_after) << s.ms;
    }
    EXPECT_EQ(in_fps, 11);
}

TEST_F(MainLoopTest, ReplaySeekDrawsEveryTwentiethFrameWithoutWaiting) {
    g_replay = 1;
    menu = 2;
    g_replay_goto = 100;
    g_fps_skipping = 2;
    // Records left to play (entries that change nothing), so the replay
    // does not end under the loop.
    Treplay::list.assign(100, Treplay::Entry{-1, 1, nullptr});
    struct Case {
        int frame, render, fastforward, delays;
    };
    const Case cases[] = {
        {0, 1, 1, 0}, {19, 0, 1, 0}, {20, 1, 1, 0}, {40, 1, 1, 0}, {99, 0, 1, 0}, {-20, 1, 1, 0},
    };
    for (const Case& c : cases) {
        g_replay_frame = c.frame;
        int before = seams.delays;
        main_loop_pass();
        EXPECT_EQ(g_fps_render, c.render) << "frame " << c.frame;
        EXPECT_EQ(g_replay_fastforward, c.fastforward) << "frame " << c.frame;
        EXPECT_EQ(seams.delays - before, c.delays) << "frame " << c.frame;
    }
    // At the goal: normal pace and the skip level's phase again.
    g_fps_render = 0;
    g_replay_frame = 100;
    int before = seams.delays;
    main_loop_pass();
    EXPECT_EQ(g_replay_fastforward, 0);
    EXPECT_EQ(g_fps_render, 1);
    EXPECT_EQ(seams.delays - before, 20);
    // Paused: no seeking.
    g_replay_pause = 1;
    g_replay_frame = 5;
    main_loop_pass();
    EXPECT_EQ(g_replay_fastforward, 0);
    EXPECT_EQ(g_replay_pause, 1);
}

TEST_F(MainLoopTest, OutsideReplaysPauseAndSpeedReset) {
    for (int m : {1, 3}) {
        g_replay = 1;
        menu = m;
        g_replay_pause = 1;
        g_replay_speed = 5;
        g_replay_goto = 100;
        main_loop_pass();
        EXPECT_EQ(g_replay_pause, 0);
        EXPECT_EQ(g_replay_speed, 2);
        EXPECT_EQ(g_replay_fastforward, 0);
    }
}

TEST_F(MainLoopTest, EscapeAndCloseTable) {
    struct Case {
        const char* name;
        int menu, sub, hudmenu;
        int turn_player_health;  // -1: no such player
        int sub_after, hudmenu_after, editorsub_after;
        bool ends;
    };
    const Case cases[] = {
        {"main menu opens the quit dialog", 1, 0, 0, -1, 1, 0, 0, false},
        {"options screen", 1, 5, 0, -1, 1, 0, 0, false},
        {"quit dialog ends", 1, 1, 0, -1, 1, 0, 0, true},
        {"map editor asks to leave", 1, 12, 0, -1, 12, 0, 6, false},
        {"starting a match", 1, 32, 0, -1, 0, 0, 0, false},
        {"lobby", 1, 40, 0, -1, 0, 0, 0, false},
        {"lobby map editor", 1, 42, 0, -1, 0, 0, 0, false},
        {"lobby weapons", 1, 44, 0, -1, 0, 0, 0, false},
        {"match opens its menu", 2, 7, 0, -1, 7, 1, 0, false},
        {"match closes its menu", 2, 7, 3, -1, 7, 0, 0, false},
        {"mission opens its menu", 3, 7, 0, -1, 7, 1, 0, false},
        {"mission closes it while the turn player lives", 3, 7, 1, 50, 7, 0, 0, false},
        {"mission keeps it while the turn player is dead", 3, 7, 1, 0, 7, 1, 0, false},
        {"mission keeps it without a turn player", 3, 7, 1, -1, 7, 1, 0, false},
        {"no mode", 0, 7, 1, -1, 7, 1, 0, false},
    };
    for (bool close_button : {false, true}) {
        for (const Case& c : cases) {
            SetUp();
            menu = c.menu;
            menu_sub = c.sub;
            menu_editorsub = 0;
            menu_firststart = 1;
            hud_currentmenu = c.hudmenu;
            hud_rmenu = 2;
            g_turn_player = 3;
            if (c.turn_player_health >= 0) {
                auto p = std::make_shared<Tplayer>();
                p->id = 3;
                p->health = c.turn_player_health;
                Tplayer::list.push_back(p);
            }
            if (close_button) {
                InjectTerminate();
            } else {
                InjectKey(KEY_ESCAPE, true);
                InjectKey(KEY_ESCAPE, false);
            }
            bool ended = false;
            console_of([] { main_loop_pass(); }, &ended);
            std::string what = std::string(c.name) + (close_button ? " (close button)" : "");
            EXPECT_EQ(ended, c.ends) << what;
            if (c.ends) continue;
            EXPECT_EQ(menu_sub, c.sub_after) << what;
            EXPECT_EQ(hud_currentmenu, c.hudmenu_after) << what;
            EXPECT_EQ(menu_editorsub, c.editorsub_after) << what;
            EXPECT_EQ(menu_firststart, 0) << what;
            if (c.hudmenu == 0 && c.hudmenu_after == 1) {
                EXPECT_EQ(hud_rmenu, 0) << what;
            }
        }
    }
}

TEST_F(MainLoopTest, PointerAndItsShadow) {
    gfx_pointer = CreateImage(8, 8, 1, -1);
    gfx_pointer_click = CreateImage(8, 8, 1, -1);
    InjectMouseMove(100, 50);
    record();
    main_loop_pass();
    std::vector<DrawCall> images = calls(DrawCall::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image, gfx_pointer.get());
    EXPECT_EQ(images[0].x, 102);
    EXPECT_EQ(images[0].y, 52);
    EXPECT_EQ(images[0].r + images[0].g + images[0].b, 0);
    EXPECT_EQ(images[0].alpha, 0.5f);
    EXPECT_EQ(images[1].x, 100);
    EXPECT_EQ(images[1].y, 50);
    EXPECT_EQ(images[1].r + images[1].g + images[1].b, 3 * 255);
    EXPECT_EQ(images[1].alpha, 1.0f);

    // The mouse rests: the pointer fades; a button held shows the click image.
    InjectMouseButton(1, true);
    for (int i = 0; i < 250; i++) main_loop_pass();
    DrawRecorded().clear();
    main_loop_pass();
    images = calls(DrawCall::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].image, gfx_pointer_click.get());
    EXPECT_FLOAT_EQ(images[1].alpha, 0.05f);
    EXPECT_FLOAT_EQ(images[0].alpha, 0.025f);

    // Nothing on passes that are not drawn.
    g_fps_skipping = 1;
    g_fps_render = 1;
    DrawRecorded().clear();
    main_loop_pass();
    EXPECT_TRUE(calls(DrawCall::IMAGE).empty());
}

// The front end draws one number per drawn pass; a particle when it is 1 and
// the pointer is fully visible.
TEST_F(MainLoopTest, MenuPointerTrail) {
    menu = 1;
    in_mx = 100, in_my = 50;
    map_x = 10.5f, map_y = -3.25f;
    for (float ma : {2.0f, 0.5f}) {
        for (auto& layer : Tp::list) layer.clear();
        in_ma = ma;
        // One roll per pass, and a blood particle (drawing its own start
        // values) on a roll of 1 while the pointer is fully visible.
        SeedRnd(7);
        int expected = 0;
        for (int i = 0; i < 60; i++)
            if (Rand(1, 10) == 1 && ma >= 1) Tp::Create(4, 0, 0, 0), ++expected;
        int next = Rand(1, 1000000);
        for (auto& layer : Tp::list) layer.clear();

        SeedRnd(7);
        for (int i = 0; i < 60; i++) main_loop_overlays();
        EXPECT_EQ((int)Tp::list[0].size(), expected) << ma;
        EXPECT_EQ(Rand(1, 1000000), next) << "one number per pass and the particles' own";
    }
    in_ma = 2;
    for (auto& layer : Tp::list) layer.clear();
    for (int i = 0; i < 200 && Tp::list[0].empty(); i++) main_loop_overlays();
    ASSERT_FALSE(Tp::list[0].empty());
    EXPECT_EQ(Tp::list[0].front()->typ, 4);
    EXPECT_EQ(Tp::list[0].front()->x, 109);  // trunc(100 - 10.5 + 20)
    EXPECT_EQ(Tp::list[0].front()->y, 74);   // trunc(50 + 3.25 + 21)
}

TEST_F(MainLoopTest, TooltipStaysOnScreen) {
    font_small = LoadImageFont(kFont, 12, 4);
    ASSERT_TRUE(font_small);
    menu = 2;
    gui_tt = "Hello";
    SetImageFont(font_small);
    int w = TextWidth("Hello8");
    struct Case {
        int mx, my;
        float x, y;
    };
    const Case cases[] = {
        {100, 100, 113, 118},
        {630, 100, (float)(640 - 2 - w), 118},
        {100, 470, 113, 461},
    };
    for (const Case& c : cases) {
        in_mx = c.mx, in_my = c.my;
        record();
        main_loop_overlays();
        std::vector<DrawCall> rects = calls(DrawCall::RECT);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0].x, c.x) << c.mx << "," << c.my;
        EXPECT_EQ(rects[0].y, c.y) << c.mx << "," << c.my;
        EXPECT_EQ(rects[0].w, (float)(w + 4));
        EXPECT_EQ(rects[0].h, 17);
    }
    // Only in a match or replay.
    menu = 3;
    record();
    main_loop_overlays();
    EXPECT_TRUE(calls(DrawCall::RECT).empty());
    gui_tt.clear();
}

TEST_F(MainLoopTest, WeaponInformationBox) {
    font_small = LoadImageFont(kFont, 12, 4);
    ASSERT_TRUE(font_small);
    SetImageFont(font_small);
    menu = 2;
    gui_tt.clear();
    hud_rmenu = 1;
    hud_weaponhovert = 26;
    auto bazooka = std::make_shared<Tscro>();
    bazooka->name = "Bazooka";
    bazooka->info = "Fires a rocket that flies far.\\nBoom.\\n";
    auto stick = std::make_shared<Tscro>();
    stick->name = "Stick";
    Tscro::weapon[5] = bazooka;
    Tscro::weapon[6] = stick;

    struct Case {
        int hover, mx, my;
        bool box;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {5, 100, 100, true, {"Fires a rocket that flies far.", "Boom."}},
        {5, 630, 470, true, {"Fires a rocket that flies far.", "Boom."}},
        {6, 100, 100, true, {"No info available for this weapon!"}},
        {7, 100, 100, false, {}},  // an index in range whose slot is empty
        {256, 100, 100, false, {}},
        {-1, 100, 100, false, {}},
    };
    for (const Case& c : cases) {
        hud_weaponhover = c.hover;
        in_mx = c.mx, in_my = c.my;
        record();
        main_loop_overlays();
        std::vector<DrawCall> rects = calls(DrawCall::RECT);
        ASSERT_EQ(rects.size(), c.box ? 1u : 0u) << c.hover;
        if (!c.box) continue;
        const Tscro& wpn = *Tscro::weapon[(size_t)c.hover];
        int w = TextWidth(wpn.name) + 4;
        for (const auto& l : c.lines) w = std::max(w, TextWidth(l) + 4);
        int h = (int)c.lines.size() * 14 + 18;
        int x = std::min(c.mx + 5, 640 - 5 - w), y = std::min(c.my + 5, 480 - 5 - h);
        EXPECT_EQ(rects[0].x, x);
        EXPECT_EQ(rects[0].y, y);
        EXPECT_EQ(rects[0].w, w);
        EXPECT_EQ(rects[0].h, h);
        std::vector<DrawCall> texts = calls(DrawCall::TEXT);
        ASSERT_EQ(texts.size(), c.lines.size() + 1);
        EXPECT_EQ(texts[0].text, wpn.name);
        EXPECT_EQ(texts[0].x, x + 2);
        EXPECT_EQ(texts[0].y, y + 2);
        for (size_t i = 0; i < c.lines.size(); i++) {
            EXPECT_EQ(texts[i + 1].text, c.lines[i]);
            EXPECT_EQ(texts[i + 1].y, y + 16 + 14 * (int)i);
            EXPECT_EQ(texts[i + 1].r, c.hover == 6 ? 150 : 255);
        }
    }
    // Too short a hover, or the weapon menu closed: no box.
    hud_weaponhover = 5;
    for (auto [rmenu, hovert] : {std::pair{1, 25}, std::pair{0, 26}}) {
        hud_rmenu = rmenu;
        hud_weaponhovert = hovert;
        record();
        main_loop_overlays();
        EXPECT_TRUE(calls(DrawCall::RECT).empty());
    }
}

}  // namespace
