// Argument readers shared by the interface functions.
#include "scripting/interface.h"
#include "scripting_fixture.h"
#include "world/player.h"

namespace {

class Interface : public ScriptTest {
protected:
    void TearDown() override {
        Tplayer::list.clear();
        lua_p = 0;
        ScriptTest::TearDown();
    }
};

int read_int(lua_State* L) {
    int a = lua_checkint(L, 1), b = lua_optint(L, 2, 42);
    lua_pushinteger(L, a);
    lua_pushinteger(L, b);
    return 2;
}

int read_player(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    lua_pushinteger(L, p ? p->id : -1);
    return 1;
}

TEST_F(Interface, IntegersAreCutAndKeepTheirLow32Bits) {
    lua_register(lua, "read_int", read_int);
    struct Case {
        const char* args;
        const char* value;
    };
    for (auto c : {Case{"2.9", "2 42"}, {"-2.9, 7", "-2 7"}, {"'12'", "12 42"}, {"4294967298", "2 42"},
                   {"-2147483649", "2147483647 42"}, {"2^63 + 2^40", "0 42"}, {"3, nil", "3 42"}})
        EXPECT_EQ(eval("(function() local a, b = read_int(" + std::string(c.args) + ") return a .. ' ' .. b end)()"),
                  c.value)
            << c.args;
    EXPECT_NE(run("read_int()").find("bad argument #1"), std::string::npos);
    EXPECT_NE(run("read_int('x')").find("bad argument #1"), std::string::npos);
    for (const char* bad : {"0/0", "1/0", "-1/0", "1e300", "2^64", "-2^63 - 2^20"})
        EXPECT_NE(run("read_int(" + std::string(bad) + ")").find("bad argument #1"), std::string::npos) << bad;
}

TEST_F(Interface, PlayerZeroIsTheActingPlayer) {
    lua_register(lua, "read_player", read_player);
    for (int id : {3, 5}) {
        auto p = std::make_shared<Tplayer>();
        p->id = id;
        Tplayer::list.push_back(p);
    }
    lua_p = 5;
    EXPECT_EQ(eval("read_player(0)"), "5");
    EXPECT_EQ(eval("read_player(-4)"), "5");
    EXPECT_EQ(eval("read_player(3)"), "3");
    EXPECT_EQ(eval("read_player(9)"), "-1");
    lua_p = 0;
    EXPECT_EQ(eval("read_player(0)"), "-1");
    EXPECT_NE(run("read_player()").find("bad argument #1"), std::string::npos);
}

}  // namespace
