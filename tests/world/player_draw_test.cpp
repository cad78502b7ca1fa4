// Player drawing: layers and frames, the screen margin, forced frames,
// accessories, invisibility, the weapon display, and the fall rule that sets
// action once per processed frame whatever the drawing rate.
#include "player_fixture.h"
#include "player_scene.h"
#include "terrain/view.h"

namespace {

struct DrawTest : PlayerTest {
    void SetUp() override {
        PlayerTest::SetUp();
        for (ImagePtr* img : {&gfx_pl, &gfx_pl_t, &gfx_pl_f}) {
            *img = CreateImage(32, 32, 12, -1);
            MidHandleImage(*img);
        }
        gfx_pl_accessory_body = CreateImage(32, 40, 38, -1);
        gfx_pl_accessory_head = CreateImage(32, 40, 38, -1);
        gfx_pl_snorkel = CreateImage(32, 40, 1, -1);
        gfx_flare[1] = CreateImage(64, 64, 1, -1);
        map_x = 0, map_y = 0;
        set_scrx = 640, set_scry = 480, set_scrxh = 320, set_scryh = 240;
        DrawRecord(true);
    }
    void TearDown() override {
        DrawRecord(false);
        for (ImagePtr* img : {&gfx_pl, &gfx_pl_t, &gfx_pl_f, &gfx_pl_accessory_body, &gfx_pl_accessory_head,
                              &gfx_pl_snorkel, &gfx_flare[1]})
            *img = nullptr;
        PlayerTest::TearDown();
    }
    static std::vector<DrawCall> calls_of(const ImagePtr& img) {
        std::vector<DrawCall> out;
        for (auto& c : DrawRecorded())
            if (c.kind == DrawCall::IMAGE && c.image == img.get()) out.push_back(c);
        return out;
    }
    static void redraw() {
        DrawRecord(true);
        Tplayer::draw();
    }
};

TEST_F(DrawTest, BodyOverlayAndFace) {
    Tteam::add(2, 0, "blue", 3, 1, 0);
    auto p = player(1, 2, 50, 100.8f, 200.3f);
    p->dir = -1;
    p->rot = 10;
    redraw();
    auto body = calls_of(gfx_pl), over = calls_of(gfx_pl_t), face = calls_of(gfx_pl_f);
    ASSERT_EQ(body.size(), 1u);
    ASSERT_EQ(over.size(), 1u);
    ASSERT_EQ(face.size(), 1u);
    EXPECT_EQ(body[0].x, 100.0f);
    EXPECT_EQ(body[0].y, 200.0f);
    EXPECT_EQ(body[0].frame, 0);
    EXPECT_EQ(body[0].scale_x, -1.0f);
    EXPECT_EQ(body[0].rotation, 10.0f);
    EXPECT_EQ(over[0].r, 80);
    EXPECT_EQ(over[0].g, 200);
    EXPECT_EQ(over[0].b, 255);
    EXPECT_EQ(face[0].r, 255);
}

TEST_F(DrawTest, DeadPlayersAreNotDrawnAndRest) {
    auto p = player(1, 0, 0, 100, 100);
    redraw();
    EXPECT_TRUE(calls_of(gfx_pl).empty());
    EXPECT_EQ(p->idle, 1);
}

TEST_F(DrawTest, FiftyPixelMargin) {
    auto p = player(1, 0, 50, -50, 100);
    redraw();
    EXPECT_TRUE(calls_of(gfx_pl).empty());
    p->x = -49.9f;
    redraw();
    EXPECT_EQ(calls_of(gfx_pl).size(), 1u);
}

TEST_F(DrawTest, ForcedFrameOnce) {
    auto p = player(1, 0, 50, 100, 100);
    p->forceframe = 7;
    redraw();
    EXPECT_EQ(calls_of(gfx_pl)[0].frame, 7);
    EXPECT_EQ(p->forceframe, -1);
    redraw();
    EXPECT_EQ(calls_of(gfx_pl)[0].frame, 0);
}

TEST_F(DrawTest, Accessories) {
    auto p = player(1, 0, 50, 100, 100);
    struct Case { int accessory, frame; };
    for (auto k : {Case{0, -1}, {1, 0}, {38, 37}, {39, -1}}) {
        p->accessory = k.accessory;
        redraw();
        auto head = calls_of(gfx_pl_accessory_head);
        if (k.frame < 0) {
            EXPECT_TRUE(head.empty()) << k.accessory;
        } else {
            ASSERT_EQ(head.size(), 1u);
            EXPECT_EQ(head[0].frame, k.frame);
            EXPECT_EQ(head[0].y, 96.0f);
        }
    }
}

TEST_F(DrawTest, InvisiblePlayersGlowOnlyForTheirOwner) {
    Tteam::add(0, 0, "mine", 0, 1, 0);
    Tteam::add(1, 3, "theirs", 1, 1, 0);
    auto mine = player(1, 0, 50, 100, 100);
    auto theirs = player(2, 1, 50, 200, 100);
    mine->state_invisible = theirs->state_invisible = 1;
    redraw();
    EXPECT_TRUE(calls_of(gfx_pl).empty());
    auto glow = calls_of(gfx_flare[1]);
    ASSERT_EQ(glow.size(), 1u);
    EXPECT_EQ(glow[0].x, 100.0f);
    EXPECT_EQ(glow[0].r, 160);
    EXPECT_EQ(glow[0].blend, LIGHTBLEND);
}

TEST_F(DrawTest, StatusGlowsAndTheSnorkel) {
    auto p = player(1, 0, 50, 100, 100);
    p->state_poisoned = 1;
    redraw();
    auto glow = calls_of(gfx_flare[1]);
    ASSERT_EQ(glow.size(), 1u);
    EXPECT_EQ(glow[0].y, 97.0f);
    EXPECT_EQ(glow[0].g, 255);
    EXPECT_EQ(glow[0].r, 0);
    EXPECT_EQ(glow[0].scale_x, 0.2f);
    p->state_poisoned = 0, p->state_frozen = 1;
    redraw();
    glow = calls_of(gfx_flare[1]);
    ASSERT_EQ(glow.size(), 2u);
    EXPECT_EQ(glow[1].alpha, 0.5f);
    EXPECT_EQ(glow[1].scale_y, 0.5f);
    p->state_frozen = 0, p->state_sleeping = 1;
    redraw();
    EXPECT_EQ(p->face, 1);
    EXPECT_EQ(p->facestay, 10);
    p->state_sleeping = 0;
    // Under the water line for 51 passes: the snorkel fades in.
    g_waterlevel = 110;
    for (int i = 0; i < 50; ++i) redraw();
    EXPECT_TRUE(calls_of(gfx_pl_snorkel).empty());
    redraw();
    auto snorkel = calls_of(gfx_pl_snorkel);
    ASSERT_EQ(snorkel.size(), 1u);
    EXPECT_FLOAT_EQ(snorkel[0].alpha, 0.1f);
    EXPECT_EQ(snorkel[0].y, 96.0f);
}

TEST_F(DrawTest, FallFramesAndTheWeaponShrinkingAPassLater) {
    auto p = player(1, 0, 50, 100, 100);
    g_turn_player = 1;
    p->fy = 4.9f;
    redraw();
    EXPECT_EQ(calls_of(gfx_pl)[0].frame, 1);
    EXPECT_FLOAT_EQ(p->wpnsize, 0.2f);
    p->fy = 5.0f;
    redraw();   // the pass shows the fall but writes no action
    EXPECT_EQ(calls_of(gfx_pl)[0].frame, 4);
    EXPECT_EQ(p->action, 0);
    EXPECT_FLOAT_EQ(p->wpnsize, 0.4f);
    Tplayer::turnaction();   // after a processed frame
    EXPECT_EQ(p->action, 1);
    redraw();
    EXPECT_EQ(calls_of(gfx_pl)[0].frame, 4);
    EXPECT_FLOAT_EQ(p->wpnsize, 0.6f);   // still growing in this pass
    redraw();
    EXPECT_FLOAT_EQ(p->wpnsize, 0.4f);   // shrinking from the next
    p->fy = -6.0f, p->action = 0;
    Tplayer::turnaction();
    EXPECT_EQ(p->action, 1);
    p->action = 10, p->fy = 9;
    Tplayer::turnaction();
    EXPECT_EQ(p->action, 10);
}

TEST_F(DrawTest, ViewRequestsTurnPlayerWins) {
    g_turn_frames = 200;
    auto other = player(2, 0, 50, 50, 60);
    auto turn = player(1, 0, 50, 100, 80);
    g_turn_player = 1;
    other->actualmovement = turn->actualmovement = 3;
    other->movementinrow = turn->movementinrow = 3;
    in_autotemp = 0;
    redraw();
    EXPECT_EQ(in_autotemp, 1);
    EXPECT_EQ(in_autotempx, 220);
    EXPECT_EQ(in_autotempy, 160);
    turn->actualmovement = 0;
    in_autotemp = 0;
    redraw();
    EXPECT_EQ(in_autotemp, 2);
    EXPECT_EQ(in_autotempx, 270);
    in_autotemp = 1, in_autotempx = 5;
    redraw();
    EXPECT_EQ(in_autotempx, 5);   // a pending request 1 is kept
}

TEST_F(DrawTest, ActionFramesDoNotDependOnTheDrawingRate) {
    DrawRecord(false);
    std::vector<int> every, eighth, never;
    uint64_t a = scene::run(1000, 1, &every);
    uint64_t b = scene::run(1000, 8, &eighth);
    uint64_t c = scene::run(1000, 0, &never);
    EXPECT_EQ(every, eighth);
    EXPECT_EQ(every, never);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    int set_by_rule = 0;
    for (size_t i = 1; i < every.size(); ++i) set_by_rule += every[i - 1] == 0 && every[i] == 1;
    EXPECT_GT(set_by_rule, 0);
}

}  // namespace

namespace {

std::string run_program(const char* path) {
    std::string out;
    if (FILE* f = popen(path, "r")) {
        char buf[64];
        while (fgets(buf, sizeof buf, f)) out += buf;
        pclose(f);
    }
    return out;
}

TEST(PlayerTrace, SameBitsAtEveryOptimisationLevel) {
    char mine[32];
    std::snprintf(mine, sizeof mine, "%016llx\n", (unsigned long long)scene::run(500, 1));
    world_clear();
    EXPECT_EQ(run_program(PLAYER_TRACE_O0), mine);
    EXPECT_EQ(run_program(PLAYER_TRACE_O2), mine);
}

}  // namespace
