// Host-settings preset files: the written layout, reading rules, clamping,
// and the weapon slots that a mission's presets fill.
#include <gtest/gtest.h>

#include <string>

#include "core/host_settings.h"
#include "frontend/screens/console.h"
#include "frontend/screens/menu.h"
#include "frontend/weaponset.h"
#include "match/mission.h"
#include "match/presets.h"
#include "scripting/lua_state.h"
#include "support/temp_dir.h"
#include "terrain/tiles.h"

namespace {

class Presets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        reset();
    }
    void TearDown() override { reset(); }

    static void reset() {
        host_settings_init();
        menu = 1;
        menu_mapstyle = 0, menu_mapcave = 0;
        map_xsize = 0, map_ysize = 0;
        g_gamemodes = {"Classic"};
        g_gameenders = {"Flood"};
        Tmission::selected = nullptr;
        in_console.clear();
        for (auto& category : g_weaponset)
            for (auto& column : category)
                for (auto& slot : column) slot.clear();
        for (auto& category : g_weaponsetcd)
            for (auto& column : category)
                for (int& cd : column) cd = 0;
        for (auto& category : g_weaponsets)
            for (auto& column : category)
                for (auto& slot : column) slot[0] = slot[1] = slot[2] = 0;
    }

    static void load(const std::string& text) {
        ASSERT_TRUE(TempDir::write("sys/gamesettings/test.cfg", text));
        settings_load_host("sys/gamesettings/test.cfg");
    }

    TempDir dir{"sys", "sys/gamesettings"};
};

TEST_F(Presets, RoundTripOfTerrainAndAllSettings) {
    menu_mapstyle = 3, menu_mapcave = -1;
    map_xsize = 3000, map_ysize = 1200;
    const int values[kHostSettings] = {250, 45, 7, 4, 0, 3, 1, 1, 0, 90, 8, 4, 0, 2, 3, 100, 50, 10, 0, 0, 4, 6};
    for (int i = 0; i < kHostSettings; i++) set[i] = values[i];
    settings_save_host("sys/gamesettings/My Settings");
    std::string expected =
        "terrainstyle=3\r\nterrainform=-1\r\nterrainwidth=3000\r\nterrainheight=1200\r\n";
    for (int i = 0; i < kHostSettings; i++) expected += setn[i] + "=" + std::to_string(values[i]) + "\r\n";
    EXPECT_EQ(TempDir::read("sys/gamesettings/My Settings.cfg"), expected);

    host_settings_init();
    menu_mapstyle = menu_mapcave = 0;
    map_xsize = map_ysize = 0;
    settings_load_host("sys/gamesettings/My Settings.cfg");
    EXPECT_EQ(menu_mapstyle, 3);
    EXPECT_EQ(menu_mapcave, -1);
    EXPECT_EQ(map_xsize, 3000);
    EXPECT_EQ(map_ysize, 1200);
    for (int i = 0; i < kHostSettings; i++) EXPECT_EQ(set[i], values[i]) << setn[i];
}

TEST_F(Presets, SavePaths) {
    settings_save_host("sys/gamesettings/plain");
    EXPECT_NE(TempDir::read("sys/gamesettings/plain.cfg"), "");
    settings_save_host("sys/gamesettings/other.txt");
    EXPECT_NE(TempDir::read("sys/gamesettings/other.txt"), "");
    EXPECT_EQ(TempDir::read("sys/gamesettings/other.txt.cfg"), "");
    settings_save_host("");                    // writes nothing
    settings_save_host("no/such/folder/x");    // cannot be created: silently nothing
    EXPECT_EQ(TempDir::read("no/such/folder/x.cfg"), "");
}

TEST_F(Presets, HostSettingKeysAreCaseBlindAndClamped) {
    load(" PlayerHealth = 9999 \r\nFRICTION=99\r\nroundtime=abc\r\nduds=40=70\r\n");
    EXPECT_EQ(set[0], 500);
    EXPECT_EQ(set[6], 4);
    EXPECT_EQ(set[1], 5);   // not a number: 0, raised to the range's start
    EXPECT_EQ(set[9], 40);  // text after a second "=" is ignored
}

TEST_F(Presets, OnlyTheGivenKeysChange) {
    map_xsize = 2000;
    menu_mapstyle = 2;
    load("roundtime=60\r\n");
    EXPECT_EQ(set[1], 60);
    EXPECT_EQ(set[0], 100);
    EXPECT_EQ(map_xsize, 2000);
    EXPECT_EQ(menu_mapstyle, 2);
}

TEST_F(Presets, TerrainKeysAreExactAndRangeChecked) {
    struct Case {
        const char* line;
        int style, width;
    };
    for (auto c : {Case{"terrainwidth=3000", 1, 3000}, Case{"terrainwidth=3100", 1, 1000},
                   Case{"terrainwidth=299", 1, 1000}, Case{"TERRAINWIDTH=500", 1, 1000},
                   Case{"terrainstyle=-1", -1, 1000}, Case{"terrainstyle=5", 1, 1000},
                   Case{"terrainstyle = 4", 4, 1000}, Case{"Terrainstyle=2", 1, 1000}}) {
        menu_mapstyle = 1;
        map_xsize = 1000;
        load(std::string(c.line) + "\r\n");
        EXPECT_EQ(menu_mapstyle, c.style) << c.line;
        EXPECT_EQ(map_xsize, c.width) << c.line;
    }
}

TEST_F(Presets, GameModeAndEnderPastTheRegisteredOnesFallBackToZero) {
    g_gamemodes = {"A", "B"};
    g_gameenders = {"X", "Y", "Z"};
    load("gamemode=7\r\ngameendertype=2\r\n");
    EXPECT_EQ(set[19], 0);
    EXPECT_EQ(set[18], 2);
    load("gamemode=1\r\ngameendertype=3\r\n");
    EXPECT_EQ(set[19], 1);
    EXPECT_EQ(set[18], 0);
}

TEST_F(Presets, EmptyOrMissingPathChangesNothing) {
    set[0] = 9999;            // out of range: a check would clamp it
    setfreeze[3] = "2";       // a game-mode load would empty it
    settings_load_host("");
    settings_load_host("sys/gamesettings/none.cfg");
    EXPECT_EQ(set[0], 9999);
    EXPECT_EQ(setfreeze[3], "2");
}

TEST_F(Presets, DamagedFilesNeverCrash) {
    std::string junk;
    for (int i = 0; i < 4000; i++) junk += char((i * 131 + 7) & 0xFF);
    junk += "\r\n=\r\n==\r\n=5\r\nw=\r\nw01=,,,\r\n";
    load(junk);
    menu = 3;
    load(junk);
    for (int i = 0; i < kHostSettings; i++) {
        std::string label = host_setting_label(i, set[i]);
        EXPECT_FALSE(label.empty()) << setn[i];
    }
}

TEST_F(Presets, WeaponLinesOutsideAMissionAreIgnored) {
    load("w01=x.lua,3,5\r\nw=y.lua\r\n");
    EXPECT_EQ(g_weaponset[0][0][0], "");
    EXPECT_EQ(g_weaponset[0][0][1], "");
}

TEST_F(Presets, MissionNumberedSlots) {
    menu = 3;
    load("w03=x.lua,-4,250\r\nw12= y.lua , 7 , 12 \r\nw13=z.lua\r\nw00=z.lua\r\nw1=z.lua\r\nW02=z.lua\r\n");
    EXPECT_EQ(g_weaponset[0][2][0], "x.lua");
    EXPECT_EQ(g_weaponsetcd[0][2][0], 0);
    EXPECT_EQ(g_weaponsets[0][2][0][0], 99);
    EXPECT_EQ(g_weaponset[0][11][0], "y.lua");
    EXPECT_EQ(g_weaponsetcd[0][11][0], 7);
    EXPECT_EQ(g_weaponsets[0][11][0][0], 12);
    EXPECT_EQ(g_weaponset[0][12][0], "");  // only w01..w12 address row 0
    EXPECT_EQ(g_weaponset[0][1][0], "");   // keys are case-sensitive
}

TEST_F(Presets, MissionFreeSlotsAndMissionPaths) {
    menu = 3;
    auto mission = std::make_shared<Tmission>();
    mission->folder = "Island";
    Tmission::selected = mission;
    g_weaponset[0][0][1] = "taken.lua";
    g_weaponsetcd[0][1][1] = 1000;
    load("w=$MISSION/a.lua,3,5\r\nw=$mission/b.lua\r\n");
    EXPECT_EQ(g_weaponset[0][1][1], "missions/Island/a.lua");
    EXPECT_EQ(g_weaponsetcd[0][1][1], 3);
    EXPECT_EQ(g_weaponsets[0][1][1][0], 5);
    EXPECT_EQ(g_weaponset[0][2][1], "missions/Island/b.lua");
    EXPECT_EQ(g_weaponsetcd[0][2][1], 0);  // no cooldown given: left as it was
}

TEST_F(Presets, MissionWithAFullWeaponMenuIgnoresFurtherSlots) {
    menu = 3;
    for (int column = 0; column < 14; column++)
        for (int row = 1; row < 9; row++) g_weaponset[0][column][row] = "full.lua";
    load("w=extra.lua,1,1\r\n");
    for (int column = 0; column < 14; column++) {
        EXPECT_EQ(g_weaponset[0][column][0], "") << column;
        for (int row = 1; row < 9; row++) EXPECT_EQ(g_weaponset[0][column][row], "full.lua");
    }
    ASSERT_EQ(in_console.size(), 1u);
    EXPECT_NE(in_console.back().find("extra.lua"), std::string::npos);
}

}  // namespace
