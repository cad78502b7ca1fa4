// The players' HUD: labels, crosshair, the placement click and its corner
// block, build blocking by enemies, and the turn reminders.
#include "player_fixture.h"
#include "core/input.h"
#include "core/resources.h"
#include "core/sound.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "terrain/view.h"
#include "tests/support/temp_dir.h"

namespace {

struct HudTest : PlayerTest {
    void SetUp() override {
        PlayerTest::SetUp();
        gfx_crosshair = CreateImage(16, 16, 1, -1);
        gfx_action = CreateImage(8, 8, 1, -1);
        gfx_icon_x = CreateImage(10, 10, 1, -1);
        map_x = 0, map_y = 0;
        set_scrx = 800, set_scry = 600, set_scrxh = 400, set_scryh = 300;
        set_textshadows = 0;
        hud_shownamehealth = 2;
        hud_drawpos = 0, hud_drawposset = 0, hud_drawaim = 0, hud_drawposimg = 0;
        hud_currentmenu = 0, hud_rmenu = 0;
        g_turn_selfaction = 500;   // reminders silent unless a test wants them
        g_turn_selfaction_done = 0;
        g_server_hotseat = 0;
        g_player = 0;
        g_turn_state = 1;
        g_replay = 0;
        in_m1 = 0;
        set[20] = 0;
        menu = 2;
        Tteam::add(0, 0, "home", 0, 2, 0);
        Tteam::add(1, 1, "away", 1, 2, 0);
        me = player(1, 0, 80, 200, 300);
        me->dir = 1;
        g_turn_player = 1;
        DrawRecord(true);
    }
    void TearDown() override {
        DrawRecord(false);
        gfx_crosshair = gfx_action = gfx_icon_x = nullptr;
        hud_drawpos = hud_drawposset = 0;
        set[20] = 0;
        g_turn_selfaction = 0;
        PlayerTest::TearDown();
    }
    static std::vector<DrawCall> texts() {
        std::vector<DrawCall> out;
        for (auto& c : DrawRecorded())
            if (c.kind == DrawCall::TEXT) out.push_back(c);
        return out;
    }
    static std::vector<DrawCall> images(const ImagePtr& img) {
        std::vector<DrawCall> out;
        for (auto& c : DrawRecorded())
            if (c.kind == DrawCall::IMAGE && c.image == img.get()) out.push_back(c);
        return out;
    }
    static void pass(int control) {
        DrawRecord(true);
        Tplayer::drawhud(control);
    }
    std::shared_ptr<Tplayer> me;
};

TEST_F(HudTest, LabelsSitBelowThePlayer) {
    struct Case {
        int mode, shadows;
        std::vector<std::pair<std::string, float>> drawn;   // text, y
    };
    const Case cases[] = {
        {2, 0, {{"Grombat", 325}, {"80", 335}}},
        {1, 0, {{"80", 325}}},
        {0, 1, {}},
        {1, 1, {{"80", 326}, {"80", 325}}},
    };
    me->name = "Grombat";
    for (const Case& c : cases) {
        hud_shownamehealth = c.mode;
        set_textshadows = c.shadows;
        pass(1);
        auto t = texts();
        ASSERT_EQ(t.size(), c.drawn.size()) << c.mode;
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_EQ(t[i].text, c.drawn[i].first);
            EXPECT_EQ(t[i].y, c.drawn[i].second);
        }
    }
    // No labels in a mission; an enemy's invisible player has none here.
    hud_shownamehealth = 2;
    set_textshadows = 0;
    menu = 3;
    pass(1);
    EXPECT_TRUE(texts().empty());
    menu = 2;
    auto hidden = player(2, 1, 50, 300, 300);
    hidden->state_invisible = 1;
    pass(1);
    EXPECT_EQ(texts().size(), 2u);
}

TEST_F(HudTest, CrosshairFiftyPixelsAlongTheAim) {
    me->wpnrot = 90;
    hud_drawaim = 1;
    hud_drawaimxo = 4;
    me->dir = -1;
    pass(1);
    EXPECT_EQ(hud_drawaim, 0);
    auto c = images(gfx_crosshair);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].x, 246.5f);   // 200 - 4 + 50
    EXPECT_EQ(c[0].y, 300.5f);
    // Outside running or backing time the request is taken but not drawn.
    g_turn_state = 3;
    hud_drawaim = 1;
    pass(1);
    EXPECT_EQ(hud_drawaim, 0);
    EXPECT_TRUE(images(gfx_crosshair).empty());
}

TEST_F(HudTest, ClickOutsideTheCornerBlockIsTaken) {
    struct Case {
        int mx, my, control, set;
    };
    for (const Case& c : {Case{760, 416, 1, 0}, Case{759, 416, 1, 2}, Case{760, 415, 1, 2}, Case{759, 416, 0, 0}}) {
        hud_drawposset = 0;
        hud_drawpos = 1;
        in_mx = c.mx, in_my = c.my, in_m1 = 1;
        pass(c.control);
        EXPECT_EQ(hud_drawposset, c.set) << c.mx << "," << c.my;
        EXPECT_EQ(hud_drawpos, 0);
        if (c.set == 2) {
            EXPECT_EQ(hud_drawposx, c.mx);
            EXPECT_EQ(hud_drawposy, c.my);
        }
    }
    // During a replay the request is neither handled nor cleared.
    g_replay = 1;
    hud_drawpos = 1;
    hud_drawposset = 0;
    pass(1);
    EXPECT_EQ(hud_drawpos, 1);
    EXPECT_EQ(hud_drawposset, 0);
    g_replay = 0;
}

TEST_F(HudTest, PlacementModes) {
    ground(0, 399, 400);
    ImagePtr box = CreateImage(10, 10);
    SetImageHandle(box, 5, 5);
    auto pix = LockImage(box);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) pix->WritePixel(x, y, 0xFFFFFFFFu);
    auto e = std::make_shared<Tres>();
    e->path = "box.png";
    e->image = box;
    Tres::gfx[1] = e;
    struct Case {
        const char* what;
        int mode, image, range, colterrain, mx, my, set, icons, ovals, border;
    };
    // The turn player stands at (200, 300); the ground starts at y 400.
    const Case cases[] = {
        {"pos_invisible takes a free spot", 2, 1, 0, 1, 200, 100, 2, 0, 0, 0},
        {"a spot in the ground is refused", 2, 1, 0, 1, 200, 420, 0, 0, 0, 0},
        {"unless terrain does not block", 2, 1, 0, 0, 200, 420, 2, 0, 0, 0},
        {"pos_range: exactly at the range", 4, 0, 100, 1, 300, 300, 2, 0, 1, 0},
        {"pos_range: one pixel beyond", 4, 0, 100, 1, 301, 300, 0, 0, 1, 0},
        {"pos_drop asks for the border strip", 5, 0, 0, 1, 50, 50, 2, 0, 0, 1},
        {"an unknown mode does nothing", 9, 0, 100, 1, 200, 100, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        hud_drawposset = 0;
        hud_drawmapborder = 0;
        hud_drawpos = c.mode;
        hud_drawposimg = c.image;
        hud_drawposrange = c.range;
        hud_drawposcolterrain = c.colterrain;
        hud_drawposcolplayers = hud_drawposcolobjects = 1;
        in_mx = c.mx, in_my = c.my, in_m1 = 1;
        pass(1);
        EXPECT_EQ(hud_drawposset, c.set) << c.what;
        EXPECT_EQ(hud_drawpos, 0) << c.what;
        int ovals = 0;
        for (auto& d : DrawRecorded()) ovals += d.kind == DrawCall::OVAL;
        EXPECT_EQ(ovals, c.ovals) << c.what;
        EXPECT_EQ(hud_drawmapborder, c.border) << c.what;
        if (c.border) {
            EXPECT_EQ(hud_borderstyle, 1);
            EXPECT_EQ(hud_borderoffset, c.range);
        }
    }
    // pos_normal shows the red X on the confirmed spot only, on every machine.
    for (int confirmed : {0, 1}) {
        hud_drawposset = confirmed;
        hud_drawposx = 50, hud_drawposy = 60;
        hud_drawpos = 1;
        in_m1 = 0;
        pass(0);
        auto x = images(gfx_icon_x);
        ASSERT_EQ(x.size(), (size_t)confirmed);
        if (confirmed) {
            EXPECT_EQ(x[0].x, 45);
            EXPECT_EQ(x[0].y, 55);
            EXPECT_EQ(x[0].r, 255);
            EXPECT_EQ(x[0].g, 0);
        }
    }
    Tres::gfx[1] = nullptr;
}

TEST_F(HudTest, BuildBlockingByVisibleEnemiesOfAnotherColour) {
    set[20] = 2;   // blocking radius 100
    auto enemy = player(2, 1, 50, 380, 300);
    Tteam::add(2, 1, "ally", 0, 1, 0);   // another team of my colour
    auto ally = player(3, 2, 50, 100, 300);
    hud_drawposrange = 1000;
    struct Case {
        int mx;
        int enemy_invisible;
        int set;
    };
    // Pointer at (mx, 300): 100 px from the enemy is refused, 101 taken; the
    // ally of the same colour close by never blocks; an invisible enemy neither.
    for (const Case& c : {Case{280, 0, 0}, Case{279, 0, 2}, Case{380, 1, 2}, Case{105, 0, 2}}) {
        enemy->state_invisible = c.enemy_invisible;
        hud_drawposset = 0;
        hud_drawpos = 3;
        in_mx = c.mx, in_my = 300, in_m1 = 1;
        pass(1);
        EXPECT_EQ(hud_drawposset, c.set) << c.mx;
        EXPECT_EQ(hud_drawmapborder, 1);
        EXPECT_EQ(hud_borderstyle, 0);
    }
    // Only the enemy draws a blocking disc beside the range disc.
    enemy->state_invisible = 0;
    hud_drawpos = 3;
    pass(1);
    int ovals = 0;
    for (auto& c : DrawRecorded()) ovals += c.kind == DrawCall::OVAL;
    EXPECT_EQ(ovals, 2);
    // pos_build_noblock ignores enemies.
    hud_drawposset = 0;
    hud_drawpos = 6;
    in_mx = 380;
    pass(1);
    EXPECT_EQ(hud_drawposset, 2);
    (void)ally;
}

TEST_F(HudTest, ReminderFlashMessageAndVoice) {
    TempDir dir;
    SetAudioDriver("Null");
    set_sfx_vol = 10;
    std::vector<int16_t> samples(800, 0);
    BankPtr wav = EncodeSoundWav(samples, 1, 8000);
    ASSERT_TRUE(wav && SaveBank(*wav, "v.wav"));
    sfx_v_yourturn = LoadSound("v.wav");
    ASSERT_TRUE(sfx_v_yourturn);
    in_suspended = 0;
    for (int hotseat : {0, 1}) {
        g_server_hotseat = hotseat;
        g_turn_selfaction = 0;
        Thud_msg::text.clear();
        Tp::clear();
        TChan::stopall();
        int first_voice = -1;
        for (int frame = 0; frame <= 400; ++frame) {
            g_turn_frames = frame;
            size_t before = TChan::list.size();
            pass(1);
            if (first_voice < 0 && TChan::list.size() > before) first_voice = frame;
        }
        EXPECT_EQ(first_voice, 300) << hotseat;
        EXPECT_EQ(Tp::list[0].size(), 17u) << hotseat;   // frames 0, 25, ..., 400
        EXPECT_EQ(Thud_msg::text, hotseat ? "" : "Your Turn!");
    }
    // A chosen weapon ends the reminders; another machine's turn has none.
    g_turn_selfaction_done = 1;
    Tp::clear();
    g_turn_frames = 25;
    pass(1);
    EXPECT_TRUE(Tp::list[0].empty());
    sfx_v_yourturn = nullptr;
    TChan::stopall();
}

}  // namespace
