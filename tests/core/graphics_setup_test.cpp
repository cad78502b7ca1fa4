// Graphics set-up: command-line flags, the fallback when a mode will not open,
// the strict loaders, white alpha masks and the load screen.
#include "core/graphics_setup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/core_fixture.h"
#include "core/input.h"
#include "core/settings.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "support/temp_dir.h"
#include "world/particles.h"

namespace {

struct OpenCall {
    int w, h, depth;
};
std::vector<OpenCall> g_opened;
// Modes the fake display refuses, as "WxH/depth".
std::vector<std::string> g_refused;

GraphicsPtr fake_open(int w, int h, int depth, int hertz, int flags) {
    g_opened.push_back({w, h, depth});
    std::string mode = std::to_string(w) + "x" + std::to_string(h) + "/" + std::to_string(depth);
    for (const auto& r : g_refused)
        if (r == mode || r == "all") return nullptr;
    return Graphics(w, h, depth, hertz, flags);
}

class GraphicsSetupTest : public testing::Test {
protected:
    void SetUp() override {
        setupgraphics_open = &fake_open;
        g_opened.clear();
        g_refused.clear();
        gr = nullptr;
        cmd_menusfx = 1;
        set_scrx = 640, set_scry = 480, set_depth = 0;
    }
    void TearDown() override {
        setupgraphics_open = &Graphics;
        SetAppArgs(0, nullptr);
    }
    void args(std::vector<std::string> list) {
        list.insert(list.begin(), "./game");
        std::vector<char*> argv;
        for (auto& a : list) argv.push_back(a.data());
        SetAppArgs((int)argv.size(), argv.data());
    }
    ProgramSeams seams;
};

TEST_F(GraphicsSetupTest, FlagsAreMatchedWithoutRegardToCase) {
    struct Case {
        std::vector<std::string> args;
        int depth_before;
        int w, h, depth, menusfx;
    };
    const Case cases[] = {
        {{}, 32, 640, 480, 32, 1},
        {{"-win"}, 32, 640, 480, 0, 1},
        {{"-WIN"}, 32, 640, 480, 0, 1},
        {{"-Win", "-NoMenuSfx"}, 32, 640, 480, 0, 0},
        {{"-update"}, 32, 400, 50, 0, 1},
        {{"-dx", "-directx", "-gl", "-ogl", "-opengl"}, 32, 640, 480, 32, 1},
        {{"-windowed", "win", "--win"}, 32, 640, 480, 32, 1},
    };
    for (const Case& c : cases) {
        SetUp();
        set_depth = c.depth_before;
        args(c.args);
        setupgraphics();
        std::string what = c.args.empty() ? "(none)" : c.args[0];
        ASSERT_EQ(g_opened.size(), 1u) << what;
        EXPECT_EQ(g_opened[0].w, c.w) << what;
        EXPECT_EQ(g_opened[0].h, c.h) << what;
        EXPECT_EQ(g_opened[0].depth, c.depth) << what;
        EXPECT_EQ(cmd_menusfx, c.menusfx) << what;
        EXPECT_EQ(set_scrxh, c.w / 2) << what;
    }
}

TEST_F(GraphicsSetupTest, HalfSizesTruncate) {
    set_scrx = 1025, set_scry = 767;
    setupgraphics();
    EXPECT_EQ(set_scrxh, 512);
    EXPECT_EQ(set_scryh, 383);
}

// A saved mode that will not open falls back to the mode open before, then to
// a 640x480 window; the running mode is what later saves store.
TEST_F(GraphicsSetupTest, ModeThatWillNotOpenFallsBack) {
    struct Case {
        const char* name;
        bool previous_open;  // an 800x600 window is open before
        std::vector<std::string> refused;
        int w, h, depth;
    };
    const Case cases[] = {
        {"first start, bad mode", false, {"1234x999/32"}, 640, 480, 0},
        {"reopen, bad mode", true, {"1234x999/32"}, 800, 600, 0},
        {"reopen, bad mode and old mode", true, {"1234x999/32", "800x600/0"}, 640, 480, 0},
        {"good mode", true, {}, 1234, 999, 32},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.previous_open) {
            set_scrx = 800, set_scry = 600, set_depth = 0;
            setupgraphics();
        }
        g_opened.clear();
        g_refused = c.refused;
        set_scrx = 1234, set_scry = 999, set_depth = 32;
        setupgraphics();
        ASSERT_TRUE(gr) << c.name;
        EXPECT_EQ(gr->width, c.w) << c.name;
        EXPECT_EQ(gr->height, c.h) << c.name;
        EXPECT_EQ(gr->depth, c.depth) << c.name;
        EXPECT_EQ(set_scrx, c.w) << c.name;
        EXPECT_EQ(set_scry, c.h) << c.name;
        EXPECT_EQ(set_depth, c.depth) << c.name;
        EXPECT_EQ(set_scrxh, c.w / 2) << c.name;
    }
}

TEST_F(GraphicsSetupTest, NoModeAtAllEndsTheProgram) {
    g_refused = {"all"};
    set_scrx = 1024, set_scry = 768;
    bool ended = false;
    std::string said = console_of([] { setupgraphics(); }, &ended);
    EXPECT_TRUE(ended);
    EXPECT_NE(said.find("Failed to setup graphics!"), std::string::npos) << said;
    EXPECT_EQ(said.find("Error:"), std::string::npos) << "not the serious style: " << said;
}

TEST_F(GraphicsSetupTest, StrictLoadersEndTheProgramNamingThePathAsPassed) {
    TempDir dir({"gfx"});
    struct Case {
        const char* name;
        std::function<void()> load;
        std::string message;
    };
    const Case cases[] = {
        {"image", [] { loadimagep("gfx/nothing.png", -1); }, "failed to load 'gfx/nothing.png'!"},
        {"strip", [] { loadanimimagep("gfx\\strip.bmp", 4, 4, 0, 3, -1); }, "failed to load 'gfx\\strip.bmp'!"},
        {"font", [] { loadfontp("gfx/none.ttf", 17, 5); }, "failed to load 'gfx/none.ttf'!"},
        {"built-in", [] { loadimagep("incbin::incgfx/none.bmp", -1); }, "failed to load 'incbin::incgfx/none.bmp'!"},
    };
    for (const Case& c : cases) {
        bool ended = false;
        std::string said = console_of(c.load, &ended);
        EXPECT_TRUE(ended) << c.name;
        EXPECT_NE(said.find(c.message), std::string::npos) << c.name << ": " << said;
        EXPECT_NE(said.find("Error:"), std::string::npos) << c.name << " in the serious style";
    }
}

TEST_F(GraphicsSetupTest, StrictLoadersPassArgumentsThrough) {
    TempDir dir({"gfx"});
    TPixmap pm(12, 4);
    ASSERT_TRUE(SavePixmapPNG(pm, "gfx/strip.png"));
    ImagePtr strip = loadanimimagep("gfx/strip.png", 4, 4, 1, 2, 8);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->Frames(), 2);
    EXPECT_EQ(strip->width, 4);
    EXPECT_EQ(strip->flags, 8);
    bool ended = false;
    console_of([] { loadanimimagep("gfx/strip.png", 4, 4, 1, 3, 8); }, &ended);
    EXPECT_TRUE(ended) << "a strip with too few cells does not load";
}

TEST_F(GraphicsSetupTest, AlphaMaskTurnsGreyIntoAlpha) {
    struct Case {
        uint32_t in;
        int white;
        uint32_t out;
    };
    const Case cases[] = {
        {0xFF1E3C5Bu, 1, 0x3CFFFFFFu},  // (30, 60, 91): alpha 60, white
        {0xFF000000u, 1, 0x00FFFFFFu}, {0xFFFFFFFFu, 1, 0xFFFFFFFFu},
        {0x801E3C5Bu, 1, 0x3CFFFFFFu},  // the old alpha is dropped
        {0xFF1E3C5Bu, 0, 0x3C1E3C5Bu},  // colour kept
        {0xFF010100u, 0, 0x00010100u},  // 2 / 3 truncates to 0
    };
    for (const Case& c : cases) {
        ImagePtr img = CreateImage(2, 1, 2, 0);
        for (int f = 0; f < 2; f++) {
            LockImage(img, f)->WritePixel(0, 0, c.in);
            LockImage(img, f)->WritePixel(1, 0, c.in);
        }
        EXPECT_EQ(alphamask(img, 1, c.white), 0);
        EXPECT_EQ(LockImage(img, 0)->ReadPixel(1, 0), c.out) << std::hex << c.in;
        EXPECT_EQ(LockImage(img, 1)->ReadPixel(1, 0), c.in) << "frames past the count are left alone";
    }
    EXPECT_EQ(alphamask(nullptr, 1, 1), 0);
}

TEST_F(GraphicsSetupTest, LoadScreenDrawsCentredTextAndTheSpinningMark) {
    TempDir dir;
    font_main = LoadImageFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 17, 5);
    ASSERT_TRUE(font_main) << "DejaVu Sans is installed with the build packages";
    SetMaskColor(255, 0, 255);
    AutoMidHandle(false);
    gfx_load = CreateImage(8, 8, 1, -1);
    set_scrxh = 320, set_scryh = 240;
    in_ms_start = seams.now - 300;
    set_textshadows = 0;
    SetImageFont(font_main);
    int w = TextWidth("Loading");

    struct Case {
        int spin;
        float text_y;
        bool mark;
    };
    for (Case c : {Case{0, 240, false}, Case{1, 220, true}}) {
        Tp::Create(4, 0, 0, 0);
        Tp::Create(4, 0, 0, 2);
        g_fps_render = 0;
        DrawRecord(true);
        DrawRecorded().clear();
        loadscreen("Loading", c.spin);
        DrawRecord(false);
        auto& calls = DrawRecorded();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[0].kind, DrawCall::CLS);
        EXPECT_EQ(calls[1].kind, DrawCall::TEXT);
        EXPECT_EQ(calls[1].text, "Loading");
        EXPECT_EQ(calls[1].x, (float)(320 - w / 2));
        EXPECT_EQ(calls[1].y, c.text_y);
        EXPECT_EQ(g_fps_render, 1);
        for (auto& layer : Tp::list) EXPECT_TRUE(layer.empty());
        bool mark = false;
        for (const DrawCall& d : calls) {
            if (d.kind != DrawCall::IMAGE) continue;
            mark = true;
            EXPECT_EQ(d.x, 320);
            EXPECT_EQ(d.y, 260);
            EXPECT_EQ(d.rotation, 100) << "one degree every 3 ms since start-up";
            EXPECT_EQ(d.r, 255);
            EXPECT_EQ(d.alpha, 1);
        }
        EXPECT_EQ(mark, c.mark);
        EXPECT_EQ(GetRotation(), 0);
    }
    gfx_load = nullptr;
    font_main = nullptr;
    set_textshadows = 1;
}

}  // namespace
