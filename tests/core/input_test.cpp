// Input polling and map scrolling, driven through the platform's injected
// events and clock.
#include "core/input.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frontend/hud/hud.h"
#include "frontend/widgets/widgets.h"
#include "platform/input.h"
#include "platform/system.h"
#include "terrain/view.h"

namespace {

int g_clock = 0;

class Input : public ::testing::Test {
   protected:
    void SetUp() override {
        ResetInput();
        g_clock = 0;
        SetClockSource([] { return g_clock; });
        in_ms_start = 0;
        in_ms = in_sec = in_sect = 0;
        in_cursor = in_cursort = 0;
        in_suspended = in_flashmode = 0;
        in_ma = 0;
        in_mx = in_my = 0;
        in_m1 = in_m2 = in_m1d = in_m2d = 0;
        map_x = map_y = 0;
        in_softmove_x = in_softmove_y = 0;
        in_auto = in_autotx = in_autoty = 0;
        in_movec_x = in_movec_y = 0;
        hud_rmenu = 0;
        gui_infocus = 0;
        gui_scrolllock = 0;
        for (int& f : in_f) f = 0;
        input_flush();
    }
    void TearDown() override {
        SetClockSource(nullptr);
        ResetInput();
    }
    void frame() {
        input_get();
        input_mapscroll();
    }
    void click(int button) {
        InjectMouseButton(button, true);
        InjectMouseButton(button, false);
    }
};

TEST_F(Input, FrameClockAndSecondPulse) {
    // The first pulse once more than 999 ms have passed since start-up, then
    // once more than 999 ms have passed since the previous pulse.
    in_ms_start = 700;
    struct Case {
        int clock, ms, sec;
    };
    for (auto c : {Case{700, 0, 0},
                   {1699, 999, 0},
                   {1700, 1000, 1},
                   {1701, 1001, 0},
                   {2699, 1999, 0},
                   {2700, 2000, 1},
                   {2701, 2001, 0},
                   {5000, 4300, 1},
                   {5020, 4320, 0}}) {
        g_clock = c.clock;
        input_get();
        EXPECT_EQ(in_ms, c.ms) << c.clock;
        EXPECT_EQ(in_sec, c.sec) << c.clock;
    }
}

TEST_F(Input, CursorBlinksEvery300Ms) {
    struct Case {
        int clock, cursor;
    };
    for (auto c : {Case{100, 0}, {299, 0}, {300, 1}, {599, 1}, {600, 0}, {1000, 1}}) {
        g_clock = c.clock;
        input_get();
        EXPECT_EQ(in_cursor, c.cursor) << c.clock;
    }
}

TEST_F(Input, PointerWheelAndPreviousMapPosition) {
    InjectMouseMove(100, 50);
    input_get();
    EXPECT_EQ(in_mx, 100);
    EXPECT_EQ(in_my, 50);
    EXPECT_NE(in_mxs, 0);
    EXPECT_FLOAT_EQ(in_ma, 2.0f);

    // The editor's stroke start is last frame's pointer over the map.
    map_x = 30.5f;
    map_y = -20.25f;
    int wheel = in_mz;
    InjectMouseMove(140, 60);
    InjectMouseWheel(3);
    input_get();
    EXPECT_EQ(menu_editordrawxo, 69);  // trunc(100 - 30.5)
    EXPECT_EQ(menu_editordrawyo, 70);  // trunc(50 + 20.25)
    EXPECT_EQ(in_mx, 140);
    EXPECT_EQ(in_mxs, 40);
    EXPECT_EQ(in_mys, 10);
    EXPECT_NE(in_mz, wheel);
    EXPECT_EQ(in_mzs, -(in_mz - wheel));

    // A still pointer fades by 0.01 per frame down to 0.05.
    input_get();
    EXPECT_FLOAT_EQ(in_ma, 1.99f);
    for (int i = 0; i < 300; i++) input_get();
    EXPECT_FLOAT_EQ(in_ma, 0.05f);
}

TEST_F(Input, ButtonsKeysAndWidgetState) {
    gui_tt = "tip";
    gui_infocus = 3;
    gui_scrolllock = 2;
    click(1);
    click(1);
    InjectMouseButton(2, true);
    InjectChar('x');
    InjectKey(KEY_ESCAPE, true);
    InjectKey(KEY_DELETE, true);
    InjectKey(KEY_ENTER, true);
    InjectKey(KEY_RCONTROL, true);
    InjectKey(KEY_F1 + 4, true);
    input_get();
    EXPECT_EQ(in_m1, 2);
    EXPECT_EQ(in_m1d, 0);
    EXPECT_NE(in_m2, 0);
    EXPECT_EQ(in_m2d, 1);
    EXPECT_EQ(in_char, 'x');
    EXPECT_NE(in_esc, 0);
    EXPECT_NE(in_del, 0);
    EXPECT_NE(in_enter, 0);
    EXPECT_EQ(in_ctrldown, 1);
    for (int i = 0; i < 12; i++) EXPECT_EQ(in_f[i] != 0, i == 4) << "F" << i + 1;
    EXPECT_EQ(gui_tt, "");
    EXPECT_EQ(gui_infocus, -1);
    EXPECT_EQ(gui_scrolllock, -1);

    // Hits last one frame; held keys and buttons stay.
    input_get();
    EXPECT_EQ(in_m1, 0);
    EXPECT_EQ(in_m2, 0);
    EXPECT_EQ(in_m2d, 1);
    EXPECT_EQ(in_char, 0);
    EXPECT_EQ(in_esc, 0);
    EXPECT_EQ(in_f[4], 0);
    EXPECT_EQ(in_ctrldown, 1);

    // A drag of a scroll bar survives while the left button is held.
    InjectMouseButton(1, true);
    gui_infocus = 5;
    input_get();
    gui_scrolllock = 4;
    input_get();
    EXPECT_EQ(gui_scrolllock, 4);
    EXPECT_EQ(gui_infocus, -1);
}

TEST_F(Input, FlushForgetsPressesButNotHeldState) {
    InjectMouseButton(1, true);
    input_get();
    in_f[2] = 1;
    click(2);
    InjectChar('q');
    InjectKey(KEY_ESCAPE, true);
    InjectMouseMove(80, 90);
    in_m1 = in_m2 = in_char = in_esc = in_del = in_enter = 1;
    in_mxs = in_mys = in_mzs = 7;
    input_flush();
    EXPECT_EQ(in_m1 | in_m2 | in_char | in_esc | in_del | in_enter, 0);
    EXPECT_EQ(in_mxs | in_mys | in_mzs, 0);
    EXPECT_EQ(in_m1d, 1);
    EXPECT_EQ(in_f[2], 1);

    // Nothing of it shows in the next frame, the pointer position excepted.
    input_get();
    EXPECT_EQ(in_m2, 0);
    EXPECT_EQ(in_char, 0);
    EXPECT_EQ(in_esc, 0);
    EXPECT_EQ(in_mxs, 0);
    EXPECT_EQ(in_mys, 0);
    EXPECT_EQ(in_mx, 80);
}

TEST_F(Input, SwitchingToTheBackgroundAndBackFlushes) {
    input_get();
    for (bool away : {true, false}) {
        InjectKey(KEY_ESCAPE, true);
        InjectKey(KEY_ESCAPE, false);
        click(1);
        InjectSuspended(away);
        input_get();
        EXPECT_EQ(in_suspended, away ? 1 : 0);
        EXPECT_EQ(in_esc, 0) << "away " << away;
        EXPECT_EQ(in_m1, 0) << "away " << away;
        EXPECT_EQ(KeyHit(KEY_ESCAPE), 0);
    }
    // No change, no flush.
    InjectKey(KEY_ESCAPE, true);
    input_get();
    EXPECT_NE(in_esc, 0);
}

TEST_F(Input, WindowAttentionRepeatsEvery49FramesInTheBackground) {
    InjectSuspended(true);
    input_get();
    EXPECT_EQ(in_flashmode, 0) << "nothing asked for attention";
    in_flashmode = 50;
    input_get();
    EXPECT_EQ(in_flashmode, 1);
    for (int i = 0; i < 48; i++) input_get();
    EXPECT_EQ(in_flashmode, 49);
    input_get();
    EXPECT_EQ(in_flashmode, 1);
    InjectSuspended(false);
    input_get();
    EXPECT_EQ(in_flashmode, 0);
}

TEST_F(Input, RightDragScrollsByATenthOfTheDistanceUpTo15) {
    struct Case {
        int dx, dy;
        float step_x, step_y;
    };
    for (auto c :
         {Case{200, 0, 15, 0}, {50, 0, 5, 0}, {9, 0, 0, 0}, {-200, 0, -15, 0}, {0, 123, 0, 12}, {-59, -400, -5, -15}}) {
        SetUp();
        hud_rmenu = 2;
        in_auto = 1;
        InjectMouseMove(300, 300);
        InjectMouseButton(2, true);
        frame();
        EXPECT_EQ(in_movec_x, 300);
        EXPECT_EQ(hud_rmenu, 0);
        EXPECT_EQ(in_auto, 0);
        // The pointer dx, dy pixels left of and above the anchor.
        InjectMouseMove(300 - c.dx, 300 - c.dy);
        for (int i = 0; i < 3; i++) {
            float x = map_x, y = map_y;
            frame();
            EXPECT_FLOAT_EQ(map_x - x, c.step_x) << c.dx << "," << c.dy << " frame " << i;
            EXPECT_FLOAT_EQ(map_y - y, c.step_y) << c.dx << "," << c.dy << " frame " << i;
        }
    }
}

TEST_F(Input, CoastingSlowsBy4PercentUntil04) {
    struct Case {
        float speed;
        int frames;
    };
    for (auto c : {Case{15, 89}, {5, 62}, {-15, 89}, {0.41f, 1}, {0.4f, 0}}) {
        map_x = 0;
        in_softmove_x = c.speed;
        int moved = 0;
        for (int i = 0; i < 200; i++) {
            float before = map_x;
            input_mapscroll();
            if (map_x != before) moved++;
        }
        EXPECT_EQ(moved, c.frames) << c.speed;
        EXPECT_LE(std::fabs(in_softmove_x), 0.4f);
    }
}

TEST_F(Input, GlideCoversATenthOfTheWayPerFrame) {
    in_auto = 1;
    in_autotx = 1000;
    in_autoty = -40;
    in_softmove_x = 7;
    InjectMouseMove(11, 12);
    frame();
    EXPECT_FLOAT_EQ(map_x, 100);
    EXPECT_FLOAT_EQ(map_y, -4);
    EXPECT_EQ(in_auto, 1);

    // 1000 * 0.9^50 = 5.15 is not yet within 5 pixels; 1000 * 0.9^51 = 4.64 is.
    int frames = 1;
    while (in_auto == 1 && frames < 200) {
        frame();
        frames++;
    }
    EXPECT_EQ(frames, 51);
    EXPECT_LT(std::fabs(map_x - 1000), 5);
    EXPECT_EQ(in_movec_x, 11);
    EXPECT_EQ(in_movec_y, 12);
    // The last step (0.515) keeps coasting; the y step (0.02) does not.
    EXPECT_GT(in_softmove_x, 0.4f);
    EXPECT_LT(std::fabs(in_softmove_y), 0.4f);
    float x = map_x;
    frame();
    EXPECT_GT(map_x, x);
}

TEST_F(Input, RightClickStopsAGlide) {
    in_auto = 1;
    in_autotx = 1000;
    frame();
    click(2);
    frame();
    EXPECT_EQ(in_auto, 0);
    float x = map_x;
    frame();
    EXPECT_EQ(map_x, x);
}

}  // namespace
