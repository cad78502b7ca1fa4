// Start-up: built-in images, the order of the steps as far as they show, the
// debug log's name, the version check's outcome and the first-start screen.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/core_fixture.h"
#include "core/graphics_setup.h"
#include "core/input.h"
#include "core/services.h"
#include "core/settings.h"
#include "frontend/screens/console.h"
#include "frontend/screens/menu.h"
#include "frontend/widgets/widgets.h"
#include "net/qvgn.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/incbin.h"
#include "platform/input.h"
#include "support/fake_resources.h"
#include "support/temp_dir.h"
#include "terrain/texture.h"

namespace {

// 08 Dec 2026 14:05:09, local wall-clock seconds.
constexpr long long kDecember8 = 1796738709;

StartupOptions test_options(int passes = 0) {
    StartupOptions o;
    o.headless = true;
    o.change_dir = false;
    o.passes = passes;
    o.builtins = fake::builtins();
    return o;
}

class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        ASSERT_TRUE(fake::link_tree(dir.path()));
        SetDateSource([] { return kDecember8; });
        settings_defaults();
        Tqvgn::version.clear();
        SetAppArgs(0, nullptr);
    }
    void TearDown() override {
        if (debugstream) debugstream->Close();
        debugstream = nullptr;
        catalogue_free();
    }
    TempDir dir;
    ProgramSeams seams;
};

TEST(Builtins, TableOfFiftySevenInRegistrationOrder) {
    EXPECT_STREQ(kBuiltinImages[0].name, "incgfx/playercol.bmp");
    EXPECT_STREQ(kBuiltinImages[13].name, "incgfx/medikit.bmp");
    EXPECT_STREQ(kBuiltinImages[14].name, "incgfx/terrain/branches0.bmp");
    EXPECT_STREQ(kBuiltinImages[39].name, "incgfx/terrain/bar_d2.bmp");
    EXPECT_STREQ(kBuiltinImages[40].name, "incgfx/tiles/000.bmp");
    EXPECT_STREQ(kBuiltinImages[56].name, "incgfx/tiles/016.bmp");
}

TEST(Builtins, RegisteredUnderIncbinNames) {
    ProgramSeams seams;
    IncbinClear();
    startup_register_builtins(fake::builtins());
    for (const BuiltinImage& b : kBuiltinImages) {
        ImagePtr img = LoadImage(std::string(kIncbinPrefix) + b.name, -1);
        ASSERT_TRUE(img) << b.name;
        EXPECT_EQ(img->width, b.width) << b.name;
        EXPECT_EQ(img->height, b.height) << b.name;
    }
}

TEST(Builtins, OneMissingFromTheBuildEndsTheProgramNamingIt) {
    ProgramSeams seams;
    for (const char* name : {"incgfx/playercol.bmp", "incgfx/terrain/rock3.bmp", "incgfx/tiles/016.bmp"}) {
        std::vector<IncbinFile> table = fake::builtins_without(name);
        bool ended = false;
        std::string said = console_of([&] { startup_register_builtins(table.data()); }, &ended);
        EXPECT_TRUE(ended) << name;
        EXPECT_NE(said.find(std::string("'") + name + "' is missing from this build"), std::string::npos) << said;
    }
}

// The table the build compiles in holds every built-in at its size.
TEST(Builtins, CompiledTableMatches) {
    ProgramSeams seams;
    IncbinClear();
    startup_register_builtins(incbin_builtin_files);
    for (const BuiltinImage& b : kBuiltinImages) {
        ImagePtr img = LoadImage(std::string(kIncbinPrefix) + b.name, -1);
        ASSERT_TRUE(img) << b.name;
        EXPECT_EQ(img->width, b.width) << b.name;
        EXPECT_EQ(img->height, b.height) << b.name;
    }
}

TEST_F(StartupTest, StepsShowInTheirOrder) {
    // Every clock reading moves the clock on by 1 ms.
    SetClockSource([this] { return seams.now++; });
    DrawRecord(true);
    DrawRecorded().clear();
    startup(test_options());
    DrawRecord(false);

    // The second clock reading seeds the generator.
    EXPECT_EQ(in_seed, in_ms_start + 1);
    EXPECT_EQ(AppTitle(), "Quorvane Software's Grombat Fraycup");
    // Settings, then the screen.
    EXPECT_EQ(set_scrx, 640);
    ASSERT_TRUE(gr);
    EXPECT_EQ(gr->width, 640);
    EXPECT_EQ(set_scrxh, 320);

    std::vector<std::string> screens;
    for (const DrawCall& d : DrawRecorded())
        if (d.kind == DrawCall::TEXT && (screens.empty() || screens.back() != d.text)) screens.push_back(d.text);
    ASSERT_GE(screens.size(), 3u);
    EXPECT_EQ(screens[0], "Loading Graphics");
    EXPECT_EQ(screens[1], "Loading Sounds");
    EXPECT_EQ(screens[2], "Checking Game Version");
    EXPECT_TRUE(font_main) << "fonts come before the first load screen";

    int r, g, b;
    GetClsColor(r, g, b);
    EXPECT_EQ(r, 100);
    EXPECT_EQ(g, 120);
    EXPECT_EQ(b, 150);
    EXPECT_EQ(std::count(aud.begin(), aud.end(), "Null"), 0);
    EXPECT_EQ(std::count(aud.begin(), aud.end(), "Default Driver"), 1);
    EXPECT_EQ(Tqvgn::natpunch_id, 10);
    EXPECT_EQ(Tqvgn::game, 2);
    EXPECT_EQ(menu_color[0] + menu_color[1] + menu_color[2], 3 * 255);
    const std::string kinds[8] = {"Spawnpoint", "Fire", "Supply Crate", "Mine", "Bear Trap", "Medikit", "Node", "Item"};
    for (int i = 0; i < 8; i++) EXPECT_EQ(objn[i], kinds[i]);
    EXPECT_EQ(objn[8], "");
    EXPECT_EQ(objw[0] * 100 + objh[0], 1224);
    EXPECT_EQ(objw[7] * 100 + objh[7], 2016);
}

TEST_F(StartupTest, SettingsFileSizesTheScreen) {
    std::filesystem::create_directory(dir.path() / "sys");
    ASSERT_TRUE(TempDir::write("sys/settings.cfg", "resolution 800x600\r\ndepth 0\r\n"));
    startup(test_options());
    ASSERT_TRUE(gr);
    EXPECT_EQ(gr->width, 800);
    EXPECT_EQ(gr->height, 600);
    EXPECT_EQ(set_scrxh, 400);
    EXPECT_EQ(set_scryh, 300);
}

// The service data file is named with "/", so it is the real sys/qvgn.dat and
// no stray file with a backslash in its name appears.
TEST_F(StartupTest, ServiceDataFileIsTheOneInSys) {
    startup(test_options());
    EXPECT_EQ(Tqvgn::file, "sys/qvgn.dat");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
}

// A terrain texture that cannot be loaded ends the program at start-up, before
// any map is built with it.
TEST_F(StartupTest, MissingTerrainTextureEndsTheProgramAtStartup) {
    const std::string texture = "gfx/textures/tex_snow.bmp";
    std::filesystem::path file = dir.path() / texture;
    std::filesystem::path away = dir.path() / "tex_snow_away";
    std::filesystem::rename(file, away);
    map_forget_textures();
    bool ended = false;
    std::string said = console_of([&] { startup(test_options()); }, &ended);
    std::filesystem::rename(away, file);
    map_forget_textures();
    EXPECT_TRUE(ended);
    EXPECT_NE(said.find("can't load terrain texture " + texture), std::string::npos) << said;
}

TEST_F(StartupTest, NoAnswerFromTheServiceShowsTheErrorScreen) {
    startup(test_options());
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(menu_sub, 11);
    EXPECT_EQ(menu_error_message, "Failed to check version. Maybe the Q.V.G.N. is offline!");
    EXPECT_EQ(menu_error_return, 0);
    ASSERT_FALSE(in_console.empty());
    EXPECT_EQ(in_console.back(), "*** Failed to check version. Maybe the Q.V.G.N. is offline! ***");
}

TEST_F(StartupTest, DebugLogIsNamedByDateAndTime) {
    struct Case {
        const char* name;
        bool folder_first, blocked;
    };
    for (Case c :
         {Case{"no folder", false, false}, Case{"folder", true, false}, Case{"a file in the way", false, true}}) {
        std::filesystem::remove_all(dir.path() / "debug");
        if (c.folder_first) std::filesystem::create_directory(dir.path() / "debug");
        if (c.blocked) TempDir::write("debug", "x");
        startup(test_options());
        bool exists = FileType("debug/db_08-Dec-2026_14-05-09.txt") == FILETYPE_FILE;
        EXPECT_EQ(exists, !c.blocked) << c.name;
        EXPECT_EQ((bool)debugstream, !c.blocked) << c.name;
        debugwrite("line");
        if (debugstream) debugstream->Close();
        debugstream = nullptr;
        if (exists) {
            EXPECT_EQ(TempDir::read("debug/db_08-Dec-2026_14-05-09.txt"), "line\r\n") << c.name;
        }
        std::filesystem::remove_all(dir.path() / "debug");
    }
}

TEST_F(StartupTest, GameMainRunsTheLoopForTheGivenPasses) {
    char prog[] = "./game";
    char* argv[] = {prog, nullptr};
    in_fpsf = 0;
    in_fpst = 0;
    g_fps_skipping = 0;
    g_fps_due = 0;
    EXPECT_EQ(game_main(1, argv, test_options(3)), 0);
    EXPECT_EQ(in_fpsf, 3);
    // One 50 ms pause of the version check, then three passes of 20 ms.
    EXPECT_EQ(seams.now - in_ms_start, 50 + 3 * 20);
    EXPECT_EQ(menu_sub, 11);
}

TEST_F(StartupTest, SettingsBeyondAnyScreenStartAsTheDefaults) {
    // Values that once made screen-wide loops spin for ever.
    std::filesystem::create_directory(dir.path() / "sys");
    ASSERT_TRUE(TempDir::write("sys/settings.cfg", "resolution 2147483600x480\r\nparticles 2147483647\r\n"));
    // In a child with a CPU limit, so that a loop that never ends fails the
    // test instead of stalling the run.
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        rlimit cpu{10, 10};
        setrlimit(RLIMIT_CPU, &cpu);
        char prog[] = "./game";
        char* argv[] = {prog, nullptr};
        int ended = game_main(1, argv, test_options(3));
        _exit(ended == 0 && set_scrx == 640 && set_scry == 480 && set_particles == 3 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(StartupTest, EscapeTwiceEndsTheProgram) {
    startup(test_options());
    bool ended = false;
    console_of(
        [] {
            for (int i = 0; i < 4; i++) {
                InjectKey(KEY_ESCAPE, true);
                InjectKey(KEY_ESCAPE, false);
                main_loop_pass();
            }
        },
        &ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(menu_sub, 1) << "the error screen, then the quit dialog, then the end";
}

TEST(StartupVersion, OutcomeFollowsTheVersionText) {
    struct Case {
        const char* version;
        int sub;
    };
    for (Case c : {Case{"", 11}, Case{"Beta 0.1.0.1", 0}, Case{"Beta 0.1.0.2", 50}, Case{"beta 0.1.0.1", 50}}) {
        menu = 1;
        menu_sub = 0;
        Tqvgn::version = c.version;
        startup_version_outcome();
        EXPECT_EQ(menu_sub, c.sub) << c.version;
    }
    Tqvgn::version.clear();
}

TEST(StartupFirstStart, OnlyForTheDefaultNamesOnTheMainMenu) {
    struct Case {
        int sub_before;
        const char* name;
        int sub_after;
    };
    const Case cases[] = {
        {0, "Grombat", 80}, {0, "Mr. Grombat", 80}, {0, "Mr Grombat", 80}, {0, "grombat", 0},   {0, "Mr.Grombat", 0},
        {0, "Grombat ", 0}, {0, "MR. GROMBAT", 0},  {0, "Zed", 0},         {11, "Grombat", 11}, {50, "Grombat", 50},
    };
    for (const Case& c : cases) {
        menu = 1;
        menu_sub = c.sub_before;
        gui_infocus = -1;
        set_name = c.name;
        set_qvgnu = "user";
        set_qvgnp = "secret";
        gui_in_txt[0] = "old";
        startup_firststart();
        EXPECT_EQ(menu_sub, c.sub_after) << c.name;
        if (c.sub_after == 80) {
            EXPECT_EQ(gui_infocus, 0);
            EXPECT_EQ(gui_in_txt[0], "");
            EXPECT_EQ(gui_in_txt[1], "user");
            EXPECT_EQ(gui_in_txt[2], "secret");
        } else {
            EXPECT_EQ(gui_infocus, -1) << c.name;
        }
    }
    settings_defaults();
}

}  // namespace
