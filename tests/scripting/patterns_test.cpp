// The string library's pattern functions: Lua 5.1 results, and a budget
// that ends crafted patterns.
#include "scripting_fixture.h"

namespace {

class Patterns : public ScriptTest {};

TEST_F(Patterns, ResultsAreLuas) {
    struct Case {
        const char* expr;
        const char* value;
    };
    for (auto c : {
             Case{"table.concat({string.find('hello world', 'o w')}, ',')", "5,7"},
             {"table.concat({string.find('hello', 'l+')}, ',')", "3,4"},
             {"table.concat({string.find('a.b', '.', 1, true)}, ',')", "2,2"},
             {"table.concat({string.find('abc', 'b', -1)}, ',')", ""},
             {"table.concat({string.find('abc', '', 10)}, ',')", "4,3"},
             {"table.concat({string.find('key = value', '(%w+)%s*=%s*(%w+)')}, ',')", "1,11,key,value"},
             {"string.match('  trim  ', '^%s*(.-)%s*$')", "trim"},
             {"string.match('2026-12-09', '(%d+)-(%d+)')", "2026"},
             {"select(2, string.match('2026-12-09', '(%d+)-(%d+)'))", "12"},
             {"string.match('hello', '()ll()')", "3"},
             {"string.match('THE (quick) fox', '%((%a+)%)')", "quick"},
             {"string.match('f(a(b)c)d', '%b()')", "(a(b)c)"},
             {"string.match('THE quick', '%f[%a]%a+', 4)", "quick"},
             {"string.match('abcabc', '(abc)%1')", "abc"},
             {"string.match('x = [[y]]', '%[%[(.-)%]%]')", "y"},
             {"string.match('a1b2', '[%d]')", "1"},
             {"string.match('a-z', '[a%-]+')", "a-"},
             {"string.match('xyz', '[^x]+')", "yz"},
             {"string.match('abc', 'b?c$')", "bc"},
             {"string.match('aaa', 'a-$')", "aaa"},
             {"string.match('ab', 'x*')", ""},
             {"tostring(string.match('ab', '^b'))", "nil"},
             {"select(1, string.gsub('hello world', 'o', '0'))", "hell0 w0rld"},
             {"select(2, string.gsub('hello world', 'o', '0'))", "2"},
             {"string.gsub('hello world', '(%w+)', '<%1>')", "<hello> <world>"},
             {"string.gsub('hello', '', '-')", "-h-e-l-l-o-"},
             {"string.gsub('abc', '%w', '%0%0')", "aabbcc"},
             {"string.gsub('abc', '%w', {a = 1, b = false})", "1bc"},
             {"string.gsub('abc', '%w', function(x) if x == 'b' then return 'B' end end)", "aBc"},
             {"string.gsub('abc', '^a', 'x')", "xbc"},
             {"string.gsub('aaa', 'a', 'b', 2)", "bba"},
             {"string.gsub('$x and $y', '%$(%w+)', {x = 'one', y = 'two'})", "one and two"},
             {"(function() local t = {} for k, v in string.gmatch('a=1, b=2', '(%w+)=(%w+)') do "
              "t[#t + 1] = k .. v end return table.concat(t, ';') end)()",
              "a1;b2"},
             {"(function() local n = 0 for w in ('one two  three'):gmatch('%a+') do n = n + 1 end return n end)()",
              "3"},
             {"(function() local t = {} for p in ('abc'):gmatch('()') do t[#t + 1] = p end "
              "return table.concat(t, ',') end)()",
              "1,2,3,4"},
         })
        EXPECT_EQ(eval(c.expr), c.value) << c.expr;
    for (const char* bad : {"string.find('a', '%')", "string.find('a', '[a')", "string.find('a', '(a')",
                            "string.match('a', 'a)')", "string.gsub('a', 'a', '%2')", "string.find('a', '%f')",
                            "string.gsub('a', 'a', true)", "string.gsub('a', '(a)', {a = {}})"})
        EXPECT_NE(run(bad), "") << bad;
}

// The same expressions in a state with the library's own functions.
TEST_F(Patterns, SameAsTheLibrary) {
    lua_State* plain = luaL_newstate();
    luaL_openlibs(plain);
    auto result = [](lua_State* L, const std::string& expr) {
        std::string code = "local r = {pcall(function() return " + expr +
                           " end)} for i = 1, #r do r[i] = tostring(r[i]) end return table.concat(r, '|')";
        if (luaL_loadstring(L, code.c_str()) != 0 || lua_pcall(L, 0, 1, 0) != 0) return std::string("load error");
        std::string v = lua_tostring(L, -1);
        lua_settop(L, 0);
        return v;
    };
    const char* subjects[] = {"''", "'hello world'", "'  a1 b22 c333  '", "'(x(y)z)[q]'", "'aaa'", "'a.b-c'"};
    const char* patterns[] = {"''", "'o'", "'%a+'", "'(%d+)'", "'()%s'", "'^%s*(.-)%s*$'", "'%b()'", "'%f[%w]%w+'",
                              "'[%a%d]-'", "'[^%s]*'", "'(a)(a)%2'", "'$'", "'^'", "'.-b'", "'[]'", "'[a-'",
                              "'%'", "'(()'", "'%1'", "'x?y?z?'", "'[%]]'", "'%z'", "'.'", "'a*$'"};
    int compared = 0;
    for (const char* subject : subjects)
        for (const char* pattern : patterns) {
            std::string args = std::string(subject) + ", " + pattern;
            for (const std::string& expr :
                 {"string.find(" + args + ")", "string.find(" + args + ", 2)", "string.find(" + args + ", -3, true)",
                  "string.match(" + args + ")", "string.gsub(" + args + ", '<%0>')",
                  "string.gsub(" + args + ", function(a) return a and #a end, 3)",
                  "(function() local t = {} for a, b in string.gmatch(" + args +
                      ") do t[#t + 1] = tostring(a) .. tostring(b) if #t > 20 then break end end "
                      "return table.concat(t, ',') end)()"}) {
                std::string want = result(plain, expr);
                if (want.find("too complex") != std::string::npos) continue;
                EXPECT_EQ(result(lua, expr), want) << expr;
                compared++;
            }
        }
    EXPECT_GT(compared, 1000);
    lua_close(plain);
}

TEST_F(Patterns, CraftedPatternsRunOutOfBudget) {
    lua_instruction_budget = 2000000;
    std::string err = run("string.find(string.rep('a', 60), string.rep('a?', 60) .. string.rep('a', 60) .. 'b')");
    EXPECT_NE(err.find("script ran too long"), std::string::npos) << err;
    long long first = lua_instructions_used;
    lua_reset();
    run("string.find(string.rep('a', 60), string.rep('a?', 60) .. string.rep('a', 60) .. 'b')");
    EXPECT_EQ(lua_instructions_used, first);
    err = run("string.find(string.rep('a', 100000), '.-.-.-b')");
    EXPECT_NE(err.find("script ran too long"), std::string::npos) << err;
    err = run("string.find(string.rep('a', 5000), string.rep('a?', 5000))");
    EXPECT_NE(err.find("pattern too complex"), std::string::npos) << err;
}

}  // namespace
