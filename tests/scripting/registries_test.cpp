// Script file registry and script object registry.
#include <cstring>
#include <fstream>

#include "core/bank_codec.h"
#include "core/catalogue.h"
#include "platform/draw.h"
#include "core/shared_state.h"
#include "frontend/screens/console.h"
#include "scripting/script_files.h"
#include "scripting/script_objects.h"
#include "scripting_fixture.h"
#include "support/temp_dir.h"

namespace {

class Registries : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        Tscro::clear();
        Tscr::script.assign(300, nullptr);
        lua_untrusted = 0;
        std::memset(g_weaponseti, 0, sizeof g_weaponseti);
        in_console.clear();
    }
    void TearDown() override {
        Tscro::clear();
        Tscr::script.assign(300, nullptr);
        lua_untrusted = 0;
        std::memset(g_weaponseti, 0, sizeof g_weaponseti);
        ScriptTest::TearDown();
    }
    static bool console_has(const std::string& line) {
        for (const auto& l : in_console)
            if (l == line) return true;
        return false;
    }
};

TEST_F(Registries, ScriptFilesTakeSlotsAndGrow) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    std::ofstream("mode.lua") << "x = 1";
    EXPECT_EQ(Tscr::add("mode.lua"), 1);
    const auto& r = *Tscr::script[1];
    EXPECT_EQ(r.size, 5);
    Bank raw("x = 1", 5);
    EXPECT_EQ(r.crc32, checksum_bank(raw));
    ASSERT_TRUE(r.compr);
    EXPECT_EQ(UncompressBank(*r.compr)->Bytes(), raw.Bytes());
    EXPECT_EQ(Tscr::add("mode.lua"), 1);
    EXPECT_EQ(Tscr::add("MODE.lua"), 2);   // letter case matters
    EXPECT_FALSE(Tscr::script[2]->compr);   // unreadable: registered empty
    EXPECT_EQ(Tscr::script[2]->size, 0);

    EXPECT_EQ(Tscr::remove("nosuch"), 0);
    EXPECT_EQ(Tscr::remove("mode.lua"), 1);
    EXPECT_EQ(Tscr::add("new.lua"), 1);   // the freed slot comes back first

    Tscr::clear();
    EXPECT_EQ(Tscr::add("f0"), 1);
    for (int i = 2; i <= 299; ++i) Tscr::add("f" + std::to_string(i));
    EXPECT_EQ(Tscr::script.size(), 300u);
    EXPECT_EQ(Tscr::add("f300"), 300);
    EXPECT_EQ(Tscr::script.size(), 350u);
    Tscr::clear();
    EXPECT_EQ(Tscr::script.size(), 350u);
    EXPECT_FALSE(Tscr::script[300]);
}

TEST_F(Registries, WeaponsClampAndAttach) {
    lua_file = "scripts/w.lua";
    lua_lastdef_flags = "G";
    EXPECT_EQ(Tscro::addweapon("w.a", "A", 4, 150, -2, "F", 1), 1);
    EXPECT_EQ(Tscro::addweapon("w.b", "B", 0, -5, 3, "", 0), 2);
    const Tscro& a = *Tscro::weapon[1];
    EXPECT_EQ(a.amount, 100);
    EXPECT_EQ(a.firstuse, 0);
    EXPECT_EQ(a.chance, 3);
    EXPECT_EQ(a.filename, "scripts/w.lua");
    EXPECT_EQ(Tscro::weapon[2]->amount, 0);
    EXPECT_EQ(Tscro::addprojectile("p.x..y", "w.a", "F"), 1);
    const Tscro& p = *Tscro::projectile[1];
    EXPECT_EQ(p.flags, "F G");
    EXPECT_EQ(p.name, "w.a");
    EXPECT_EQ(p.pathtable, (std::vector<std::string>{"p", "x", "", "y"}));
    EXPECT_EQ(Tscro::addobject("o", 9), 1);
    EXPECT_EQ(Tscro::obj[1]->image, 9);

    EXPECT_EQ(Tscro::getbytable(0, "w.b"), 2);
    EXPECT_EQ(Tscro::getbytable(0, "p.x..y"), 0);
    EXPECT_EQ(Tscro::getbytable(1, "p.x..y"), 1);
    EXPECT_EQ(Tscro::getbytable(3, "w.a"), 0);

    Tscro::addweapon("w.e", "E", 0, 1, 1, "", 0);
    Tscro::weapon[3] = nullptr;
    Tscro::weapon[5] = Tscro::weapon[1];
    EXPECT_EQ(Tscro::peakweapon(), 5);
    Tscro::setprimaryweapon("B");
    EXPECT_EQ(Tscro::primaryweapon, 2);
    Tscro::setprimaryweapon("nobody");
    EXPECT_EQ(Tscro::primaryweapon, 1);
}

TEST_F(Registries, FullTablesEndLocallyAndFailReceivedScripts) {
    for (int i = 1; i <= 255; ++i) ASSERT_EQ(Tscro::addweapon("w" + std::to_string(i), "W", 0, 1, 0, "", 0), i);
    EXPECT_THROW(Tscro::addweapon("w256", "W", 0, 1, 0, "", 0), ScriptEnded);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text, "Too many weapons (limit is 256)");
    EXPECT_TRUE(notes[0].serious);

    lua_untrusted = 1;
    EXPECT_EQ(Tscro::addweapon("w256", "W", 0, 1, 0, "", 0), 0);
    std::string err = run("addweapon('w256', 'W', 0)");
    EXPECT_NE(err.find("Too many weapons (limit is 256)"), std::string::npos) << err;
    EXPECT_EQ(notes.size(), 1u);
    EXPECT_EQ(Tscro::overflow_message(1), "Too many projectiles (limit is 256)");
    EXPECT_EQ(Tscro::overflow_message(2), "Too many objects (limit is 256)");
}

TEST_F(Registries, RegistrationFunctionsFromLua) {
    ASSERT_EQ(run("a = addweapon('w.one', 'One', 3)\n"
                  "b = addweapon('w.two', 'Two', 3, 150, 12, 'FL', 1)\n"
                  "addweaponinfo('Short text')\n"
                  "c = addprojectile('pr.one', 'PF')\n"
                  "d = addobject('ob.one', 5)"),
              "");
    EXPECT_EQ(eval("a .. b .. c .. d"), "1211");
    EXPECT_EQ(Tscro::weapon[1]->amount, 100);
    EXPECT_EQ(Tscro::weapon[1]->firstuse, 1);
    EXPECT_EQ(Tscro::weapon[2]->amount, 100);
    EXPECT_EQ(Tscro::weapon[2]->firstuse, 10);
    EXPECT_EQ(Tscro::weapon[2]->info, "Short text\\n");
    EXPECT_EQ(Tscro::projectile[1]->name, "w.two");
    EXPECT_EQ(Tscro::projectile[1]->flags, "PF FL");
    EXPECT_EQ(lua_lastdef_weapon, "w.two");
    EXPECT_NE(run("addweapon('x')").find("bad argument #2"), std::string::npos);
}

TEST_F(Registries, CheckWeaponsNamesMissingCallbacks) {
    ASSERT_EQ(run("good = {draw = function() end, attack = function() end}\n"
                  "half = {inner = {attack = function() end}}\n"
                  "a = 5\n"
                  "trap = setmetatable({}, {__index = function() error('trap') end})"),
              "");
    Tscro::addweapon("good", "Good", 0, 1, 0, "", 0);
    Tscro::addweapon("half.inner", "Half", 0, 1, 0, "", 0);
    Tscro::addweapon("a.b", "Broken", 0, 1, 0, "", 0);
    Tscro::addweapon("trap", "Trap", 0, 1, 0, "", 0);
    Tscro::checkweapons();
    EXPECT_EQ(std::vector<std::string>(in_console.begin(), in_console.end()), (std::vector<std::string>{"Error: Weapon 'Half' has no draw-function!",
                                                   "Error: Weapon 'Broken' has no draw-function!",
                                                   "Error: Weapon 'Broken' has no attack-function!",
                                                   "Error: Weapon 'Trap' has no draw-function!",
                                                   "Error: Weapon 'Trap' has no attack-function!"}));
    EXPECT_EQ(lua_gettop(lua), 0);
}

TEST_F(Registries, WeaponPositionsInTheSet) {
    Tscro::addweapon("w.a", "A", 0, 1, 0, "", 0);
    Tscro::addweapon("w.b", "B", 0, 1, 0, "", 0);
    int g, x, y;
    Tscro::getweaponposition("w.a", g, x, y);
    EXPECT_EQ(g, -1);
    EXPECT_EQ(x + y, -2);
    g_weaponseti[1][4][2] = 1;   // group 1, column 4, row 2
    g_weaponseti[1][2][3] = 1;   // a later row
    g_weaponseti[0][13][8] = 2;
    Tscro::getweaponposition("w.a", g, x, y);
    EXPECT_EQ(g * 100 + x * 10 + y, 142);
    Tscro::getweaponposition("w.b", g, x, y);
    EXPECT_EQ(g * 100 + x * 10 + y, 138);
    Tscro::getweaponpositionbyindex(0, g, x, y);
    EXPECT_EQ(g * 100 + x * 10 + y, 0);
    Tscro::getweaponpositionbyindex(9, g, x, y);
    EXPECT_EQ(g, -1);
}

TEST_F(Registries, DescriptionsWithoutAFontStayOneLine) {
    // The headless tests have no font loaded: every text is 0 pixels wide, so
    // a description stays one trimmed line; blank texts add nothing.
    Tscro::addweapon("w", "W", 0, 1, 0, "", 0);
    Tscro::addweaponinfo("w", "  first line ");
    Tscro::addweaponinfo("w", "   ");
    Tscro::addweaponinfo("nosuch", "x");
    EXPECT_EQ(Tscro::weapon[1]->info, "first line\\n");
}

TEST_F(Registries, LongDescriptionsWrapAtSpaces) {
    FontPtr font = LoadImageFont("gfx/font_main.ttf", 12);
    ASSERT_TRUE(font);
    FontPtr saved = font_small;
    font_small = font;
    Tscro::addweapon("w", "W", 0, 1, 0, "", 0);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
    Tscro::addweaponinfo("w", text);
    Tscro::addweaponinfo("w", "tail");
    font_small = saved;

    SetImageFont(font);
    std::vector<std::string> lines;
    const std::string& info = Tscro::weapon[1]->info;
    for (size_t at = 0, next; (next = info.find("\\n", at)) != std::string::npos; at = next + 2)
        lines.push_back(info.substr(at, next - at));
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "tail");
    lines.pop_back();
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        // The cut falls at the first overflowing position; a cut on a space
        // there keeps the character that overflowed.
        EXPECT_LE(TextWidth(lines[i].substr(0, lines[i].size() - 1)), 200) << lines[i];
        // Cut at the last space before the edge: the next word would not fit.
        if (i + 1 < lines.size()) {
            EXPECT_GT(TextWidth(lines[i] + " " + lines[i + 1].substr(0, lines[i + 1].find(' '))), 200);
        }
        joined += lines[i] + " ";
    }
    EXPECT_EQ(joined, text);
    SetImageFont(nullptr);
}

}  // namespace
