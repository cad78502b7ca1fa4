// Weapon sets: the file (versions 1 and 2, cut files), membership, the script
// list and a script's own default amount and first-use round.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frontend/screens/console.h"
#include "frontend/weaponset.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <class F>
void each(F f) {
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 14; ++c)
            for (int r = 0; r < 9; ++r) f(g, c, r);
}

void clear_set() {
    each([](int g, int c, int r) {
        g_weaponset[g][c][r].clear();
        for (auto& b : g_weaponsets[g][c][r]) b = 0;
    });
}

Bytes read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write((const char*)b.data(), (std::streamsize)b.size());
}

// A snapshot of the whole set, to compare before and after.
struct Snapshot {
    std::vector<std::string> paths;
    Bytes bytes;
    static Snapshot take() {
        Snapshot s;
        each([&](int g, int c, int r) {
            s.paths.push_back(g_weaponset[g][c][r]);
            for (uint8_t b : g_weaponsets[g][c][r]) s.bytes.push_back(b);
        });
        return s;
    }
    bool operator==(const Snapshot& o) const { return paths == o.paths && bytes == o.bytes; }
};

class WeaponSet : public ::testing::Test {
protected:
    void SetUp() override {
        clear_set();
        in_console.clear();
    }
    void TearDown() override { clear_set(); }
    TempDir dir;
};

TEST_F(WeaponSet, AnEmptySetSavesAs1904BytesAndCreatesTheFolder) {
    menu_wpns_saveset("weaponsets/empty.gfws");
    Bytes b = read("weaponsets/empty.gfws");
    ASSERT_EQ(b.size(), 1904u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 14), "<GFWS V 2.0>\r\n");
    for (size_t i = 14; i < b.size(); i += 5) EXPECT_EQ(Bytes(b.begin() + i, b.begin() + i + 5), (Bytes{13, 10, 0, 0, 0}));
}

TEST_F(WeaponSet, SaveThenLoadRestoresEverySlot) {
    int n = 0;
    each([&](int g, int c, int r) {
        ++n;
        if (n % 3 == 0) g_weaponset[g][c][r] = "scripts/w" + std::to_string(n) + ".lua";
        for (int k = 0; k < 3; ++k) g_weaponsets[g][c][r][k] = (uint8_t)(n * 7 + k);
    });
    g_weaponset[0][0][0] = std::string("scripts/\xe9t\xe9.lua");
    Snapshot saved = Snapshot::take();
    menu_wpns_saveset("weaponsets/all.gfws");
    clear_set();
    menu_wpns_loadset("weaponsets/all.gfws");
    EXPECT_TRUE(Snapshot::take() == saved);
}

TEST_F(WeaponSet, CutMissingAndOversizedFilesChangeNothing) {
    g_weaponset[0][3][0] = "scripts/x.lua";
    g_weaponsets[0][3][0][0] = 42;
    menu_wpns_saveset("weaponsets/full.gfws");
    Bytes full = read("weaponsets/full.gfws");
    g_weaponset[0][3][0] = "scripts/y.lua";
    Snapshot before = Snapshot::take();
    for (size_t cut : {full.size() - 1, full.size() / 2, (size_t)15, (size_t)0}) {
        write("weaponsets/cut.gfws", Bytes(full.begin(), full.begin() + (long)cut));
        in_console.clear();
        menu_wpns_loadset("weaponsets/cut.gfws");
        EXPECT_TRUE(Snapshot::take() == before) << cut;
        if (cut > 0) EXPECT_EQ(in_console.size(), 1u) << cut;
    }
    menu_wpns_loadset("weaponsets/nosuch.gfws");
    menu_wpns_loadset("weaponsets");
    EXPECT_TRUE(Snapshot::take() == before);
    menu_wpns_loadset("weaponsets/full.gfws");
    EXPECT_EQ(g_weaponset[0][3][0], "scripts/x.lua");
}

TEST_F(WeaponSet, VersionOneFiles) {
    // No header: the first line is the first slot's path; two bytes a slot.
    Bytes b;
    for (int i = 0; i < 378; ++i) {
        std::string path = i == 0 ? "<GFWS V 1.0>" : i == 1 ? "scripts/a\r.lua" : "";
        b.insert(b.end(), path.begin(), path.end());
        b.push_back(13), b.push_back(10);
        b.push_back((uint8_t)i), b.push_back(5);
    }
    write("v1.gfws", b);
    menu_wpns_loadset("v1.gfws");
    EXPECT_EQ(g_weaponset[0][0][0], "<GFWS V 1.0>");
    EXPECT_EQ(g_weaponset[0][1][0], "scripts/a.lua");
    EXPECT_EQ(g_weaponsets[0][1][0][0], 1);
    EXPECT_EQ(g_weaponsets[0][1][0][1], 5);
    each([](int g, int c, int r) { EXPECT_EQ(g_weaponsets[g][c][r][2], 3); });
    // Slot order: the 15th record is row 1 of category 0.
    EXPECT_EQ(g_weaponsets[0][0][1][0], 14);
}

TEST_F(WeaponSet, MembershipAndTheScriptList) {
    g_weaponset[0][5][0] = "scripts/b.lua";
    g_weaponset[0][2][1] = "scripts/a.lua";
    g_weaponset[1][0][0] = "scripts/b.lua";
    g_weaponseti[2][0][0] = 9;
    EXPECT_EQ(menu_wpns_isinset("scripts/a.lua"), 1);
    EXPECT_EQ(menu_wpns_isinset("scripts/A.lua"), 0);
    EXPECT_EQ(menu_wpns_isinset(""), 0);
    menu_wpns_listfromset();
    EXPECT_EQ(gui_weaponsb, (std::vector<std::string>{"scripts/b.lua", "scripts/a.lua"}));
    EXPECT_EQ(g_weaponseti[2][0][0], 0);
}

TEST_F(WeaponSet, ScriptDefaults) {
    struct Case {
        const char* text;
        int ammo, firstuse;
    };
    for (auto c : {Case{"x = 1\naddweapon(\"p\", \"n\", img)\n", 100, 1},
                   {"addweaponinfo\naddweapon(\"p\", \"n\", img, 150, 0)", 100, 1},
                   {"-- addweapon(p, n, i, 7, 4)\naddweapon(p, n, i, 9, 9)", 7, 4},
                   {"addweapon(p, n, i, count, 2)", 0, 2},
                   {"addweapon(p, n, i,  -5, 30)", 0, 10}}) {
        write("w.lua", Bytes(c.text, c.text + std::string(c.text).size()));
        menu_wpns_default("w.lua");
        EXPECT_EQ(menu_wpn_defaultammo, c.ammo) << c.text;
        EXPECT_EQ(menu_wpn_defaultfirstuse, c.firstuse) << c.text;
    }
    menu_wpns_default("nosuch.lua");
    EXPECT_EQ(menu_wpn_defaultammo, 100);
    EXPECT_EQ(menu_wpn_defaultfirstuse, 1);
}

}  // namespace
