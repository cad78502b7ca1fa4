// Registration functions: weapons' stock and first use, game modes with their
// settings strings and freeze checks, game enders, the list limits, the path
// check of loadgfx/loadsfx and the weapon a load's descriptions attach to.
#include <lua.hpp>

#include <string>
#include <vector>

#include "core/host_settings.h"
#include "core/resources.h"
#include "frontend/screens/console.h"
#include "scripting/script_objects.h"
#include "tests/scripting/scripting_fixture.h"

namespace {

class Registration : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        host_settings_init();
        Tscro::clear();
        Tres::clear();
        g_gamemodes.clear(), g_gamemodesi.clear(), g_gamemodess.clear();
        g_gameenders.clear(), g_gameendersi.clear();
        lua_untrusted = 0;
        in_console.clear();
    }
    void TearDown() override {
        lua_untrusted = 0;
        ScriptTest::TearDown();
    }
};

TEST_F(Registration, WeaponStockAndFirstUseAreHeldToTheirRanges) {
    struct Case {
        const char* args;
        int amount, firstuse;
    };
    for (auto c : {Case{"", 100, 1}, {", 150, 12", 100, 10}, {", -3, -1", 0, 1}, {", 7, 4", 7, 4}}) {
        Tscro::clear();
        ASSERT_EQ(run(std::string("addweapon('p', 'n', 0") + c.args + ")"), "") << c.args;
        ASSERT_TRUE(Tscro::weapon[1]) << c.args;
        EXPECT_EQ(Tscro::weapon[1]->amount, c.amount) << c.args;
        EXPECT_EQ(Tscro::weapon[1]->firstuse, c.firstuse) << c.args;
    }
}

TEST_F(Registration, GameModeSettingsStrings) {
    struct Case {
        const char* args;
        const char* stored;
    };
    for (auto c : {Case{"", "0,0,"}, {", 7, -4", "0,0,"}, {", 1, 3, 'wind=0'", "1,3,wind=0"},
                   {", 1, 20, 'roundtime=45,wind=0'", "1,20,roundtime=45,wind=0"}}) {
        g_gamemodess.clear();
        ASSERT_EQ(run(std::string("addgamemode('m', 'Mode'") + c.args + ")"), "") << c.args;
        ASSERT_EQ(g_gamemodess.size(), 1u);
        EXPECT_EQ(g_gamemodess[0], c.stored) << c.args;
    }
    EXPECT_EQ(g_gamemodesi, (std::vector<std::string>{"m", "m", "m", "m"}));
    EXPECT_EQ(g_gamemodes[0], "Mode");
    EXPECT_TRUE(questions.empty());
}

TEST_F(Registration, FreezeChecksReportEachBadPieceAndKeepTheMode) {
    const std::string section = "Section: Parsing game mode scripts (addgamemode)\n";
    struct Case {
        const char* freeze;
        std::vector<std::string> messages;
    };
    for (const Case& c : {Case{"wind", {"Freeze parameters have to contain '=' followed by the freeze value!"}},
                          Case{"windy=1", {"Freeze parameter 'windy' is no valid game setting!"}},
                          Case{" wind = 0", {}},
                          Case{"gamemode=2,gameendertype = 1",
                               {"The setting 'gamemode' cannot be frozen!",
                                "The setting 'gameendertype' cannot be frozen!"}}}) {
        questions.clear();
        g_gamemodess.clear();
        ASSERT_EQ(run(std::string("addgamemode('m', 'M', 0, 0, '") + c.freeze + "')"), "") << c.freeze;
        ASSERT_EQ(questions.size(), c.messages.size()) << c.freeze;
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_NE(questions[i].find(section + c.messages[i]), std::string::npos) << questions[i];
        ASSERT_EQ(g_gamemodess.size(), 1u);
        EXPECT_EQ(g_gamemodess[0], std::string("0,0,") + c.freeze);
    }
}

TEST_F(Registration, OneModeAsksAboutAtMostEightBadPieces) {
    ASSERT_EQ(run("addgamemode('m', 'M', 0, 0, string.rep('x,', 5000))"), "");
    EXPECT_EQ(questions.size(), 8u);
    ASSERT_EQ(g_gamemodess.size(), 1u);
}

TEST_F(Registration, GameEnders) {
    ASSERT_EQ(run("addgameender('<flood>', 'Flood') addgameender('thunder', 'Thunderstorm')"), "");
    EXPECT_EQ(g_gameendersi, (std::vector<std::string>{"<flood>", "thunder"}));
    EXPECT_EQ(g_gameenders, (std::vector<std::string>{"Flood", "Thunderstorm"}));
}

TEST_F(Registration, TheTwoHundredFiftySixthModeOrEnder) {
    // Received scripts: a Lua error, and play goes on.
    lua_untrusted = 1;
    ASSERT_EQ(run("for i = 1, 255 do addgamemode('m' .. i, 'M') addgameender('e' .. i, 'E') end"), "");
    EXPECT_EQ(g_gamemodes.size(), 255u);
    EXPECT_NE(run("addgamemode('x', 'X')").find("Too many game modes (limit 256)"), std::string::npos);
    EXPECT_NE(run("addgameender('x', 'X')").find("Too many game enders (limit 256)"), std::string::npos);
    EXPECT_EQ(g_gamemodes.size(), 255u);
    EXPECT_EQ(g_gameenders.size(), 255u);
    EXPECT_TRUE(notes.empty());
    // Local scripts: the notice, and the program ends.
    lua_untrusted = 0;
    EXPECT_THROW(run("addgamemode('x', 'X')"), ScriptEnded);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text, "Too many game modes (limit 256)");
}

TEST_F(Registration, ResourcePathsOutsideTheGameFoldersAreRefused) {
    for (const char* path : {"../x.png", "/etc/passwd", "a/../../x.png", "c:/x.png"}) {
        in_console.clear();
        EXPECT_EQ(eval(std::string("loadgfx('") + path + "')"), "0") << path;
        EXPECT_EQ(eval(std::string("loadsfx('") + path + "')"), "0") << path;
        ASSERT_EQ(in_console.size(), 2u) << path;
        EXPECT_EQ(in_console.front(), std::string("loadgfx: path '") + path + "' refused");
    }
    EXPECT_EQ(Tres::countarray(Tres::gfx), 0);
    EXPECT_EQ(Tres::countarray(Tres::sfx), 0);
    // The same path gives the same id.
    std::string a = eval("loadgfx('weapons/icon_missile.png')");
    EXPECT_NE(a, "0");
    EXPECT_EQ(eval("loadgfx('weapons/icon_missile.png')"), a);
}

TEST_F(Registration, ALoadNamesAtMostAThousandFilesOfEachKind) {
    // Paths named before are found again at no cost to the limit.
    ASSERT_EQ(run("first = loadgfx('weapons/none0.png')"
                  " for i = 1, 5000 do again = loadgfx('weapons/none0.png') end"
                  " for i = 1, 1100 do last = loadgfx('weapons/none' .. i .. '.png') end"),
              "");
    EXPECT_EQ(lua_getglobalint("again"), lua_getglobalint("first"));
    EXPECT_EQ(lua_getglobalint("last"), 0);
    EXPECT_EQ(Tres::countarray(Tres::gfx), 1000);
    EXPECT_EQ(in_console.back(), "loadgfx: too many images (limit is 1000)");
    EXPECT_EQ(eval("loadgfx('weapons/none999.png')"), eval("loadgfx('weapons/none999.png')"));
    EXPECT_NE(eval("loadgfx('weapons/none999.png')"), "0");
    // A new state starts a new count.
    lua_reset();
    EXPECT_NE(eval("loadsfx('weapons/none.wav')"), "0");
}

TEST_F(Registration, ALoadStartsWithNoWeaponToAttachTo) {
    ASSERT_EQ(run("addweapon('w', 'W', 0, 5, 1, 'fl')"), "");
    lua_reset();
    EXPECT_EQ(lua_lastdef_weapon, "N/A");
    EXPECT_EQ(lua_lastdef_flags, "");
    ASSERT_EQ(run("addprojectile('p', 'own')"), "");
    ASSERT_TRUE(Tscro::projectile[1]);
    EXPECT_EQ(Tscro::projectile[1]->name, "N/A");
    EXPECT_EQ(Tscro::projectile[1]->flags, "own ");
}

TEST_F(Registration, ArgumentsThatAreNoNumbersRaiseTheArgumentError) {
    for (const char* call : {"addweapon('p', 'n', 0/0)", "addweapon('p', 'n', 0, 1/0)", "addobject('o', 2^70)",
                             "addgamemode('m', 'M', 0/0)"})
        EXPECT_NE(run(call).find("bad argument"), std::string::npos) << call;
    EXPECT_FALSE(Tscro::weapon[1]);
    EXPECT_TRUE(g_gamemodes.empty());
}

}  // namespace
