// Object drawing without a window: nothing on frames that are not rendered,
// the animation fields and the HUD list on rendered ones, the looks by kind
// (recorded draw calls).
#include <gtest/gtest.h>

#include "core/resources.h"
#include "object_fixture.h"

namespace {

struct ObjectDraw : ObjectWorld {
    void SetUp() override {
        ObjectWorld::SetUp();
        for (int i = 0; i < 3; ++i) gfx_flare[i] = CreateImage(8, 8);
        gfx_lightray = CreateImage(8, 8);
        map_x = map_y = 0;
        DrawRecorded().clear();
        DrawRecord(true);
    }
    void TearDown() override {
        DrawRecord(false);
        DrawRecorded().clear();
        for (auto& f : gfx_flare) f = nullptr;
        gfx_lightray = nullptr;
        g_fps_render = 1;
        ObjectWorld::TearDown();
    }
    static std::vector<DrawCall> calls_of(const ImagePtr& img) {
        std::vector<DrawCall> out;
        for (auto& c : DrawRecorded())
            if (c.image == img.get()) out.push_back(c);
        return out;
    }
};

TEST_F(ObjectDraw, FrameNotRenderedDrawsAndChangesNothing) {
    auto fire = make(-1, 50, 50, 3, 56001);
    auto crate = make(-2, 100, 50, 2, 56002);
    auto mine = make(-3, 150, 50, 0, 56003);
    mine->alpha = 1;
    g_fps_render = 1;
    Tobj::draw();
    const int anim = fire->anim;
    const float rot = crate->rot, alpha = mine->alpha;
    ASSERT_EQ(Tobj::hudlist.size(), 1u);
    DrawRecorded().clear();
    const size_t particles = Tp::list[0].size() + Tp::list[1].size();
    g_fps_render = 0;
    for (int k = 0; k < 50; ++k) Tobj::draw();
    EXPECT_TRUE(DrawRecorded().empty());
    EXPECT_EQ(fire->anim, anim);
    EXPECT_EQ(crate->rot, rot);
    EXPECT_EQ(mine->alpha, alpha);
    EXPECT_EQ(Tobj::hudlist.size(), 1u);
    EXPECT_EQ(Tp::list[0].size() + Tp::list[1].size(), particles);
}

TEST_F(ObjectDraw, AnimationFieldsAndHudList) {
    g_fps_render = 1;
    auto fire = make(-1, 50, 50, 3, 56001);
    fire->anim = 358;
    auto crate = make(-2, 100, 50, 2, 56002);
    crate->rot = 359.5f;
    auto kit = make(-5, 150, 50, 0, 56003);
    kit->age = 450;   // too old for a HUD marker
    auto mine = make(-3, 200, 50, 2000, 56004);
    mine->alpha = 0.05f;
    Tobj::draw();
    EXPECT_EQ(fire->anim, 5);
    EXPECT_FLOAT_EQ(crate->rot, 0.5f);
    ASSERT_EQ(Tobj::hudlist.size(), 1u);
    EXPECT_EQ(Tobj::hudlist.front(), crate);
    EXPECT_LT(mine->alpha, 0);
    auto body = calls_of(gfx_mine);
    ASSERT_EQ(body.size(), 1u);
    EXPECT_EQ(std::make_tuple(body[0].r, body[0].g, body[0].b), std::make_tuple(230, 180, 180));
    // A faded dud blinks no more.
    DrawRecorded().clear();
    Tobj::draw();
    EXPECT_TRUE(calls_of(gfx_flare[0]).empty());
}

TEST_F(ObjectDraw, BearTrapFramesAndItemIconSize) {
    g_fps_render = 1;
    make(-4, 50, 50, 0, 56001);
    auto sprung = make(-4, 100, 50, 2000, 56002);
    sprung->alpha = 0.5f;
    ASSERT_EQ(calls_of(gfx_beartrap0).size(), 0u);
    Tobj::draw();
    EXPECT_EQ(calls_of(gfx_beartrap0).size(), 1u);
    ASSERT_EQ(calls_of(gfx_beartrap1).size(), 1u);
    EXPECT_FLOAT_EQ(calls_of(gfx_beartrap1)[0].alpha, 0.5f);
    // Item icons: 70 x 20 at half size, 30 x 30 at full size.
    world_define(Tscro::weapon, 2, "weapons.two");
    const Tres::Table saved = Tres::gfx;
    for (auto [w, h, scale] : {std::tuple{70, 20, 0.5f}, {30, 30, 1.0f}}) {
        Tobj::list.clear();
        DrawRecorded().clear();
        auto entry = std::make_shared<Tres>();
        entry->path = "icon.png";
        entry->image = CreateImage(w, h);
        Tres::gfx.assign(3, nullptr);
        Tres::gfx[1] = entry;
        Tscro::weapon[2]->image = 1;
        make(-7, 50, 50, 2, 56003);
        Tobj::draw();
        auto drawn = calls_of(entry->image);
        ASSERT_EQ(drawn.size(), 1u) << w;
        EXPECT_FLOAT_EQ(drawn[0].scale_x, scale);
        EXPECT_FLOAT_EQ(drawn[0].scale_y, scale);
        EXPECT_EQ(calls_of(gfx_lightray).size(), 4u);
    }
    Tres::gfx = saved;
}

}  // namespace
