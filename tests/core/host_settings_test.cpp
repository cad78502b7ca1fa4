// Host settings table: names, defaults, labels, the label lookup and the
// range check that also guards values received from other machines.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/host_settings.h"
#include "match/presets.h"

namespace {

class HostSettings : public ::testing::Test {
protected:
    void SetUp() override { host_settings_init(); }
    void TearDown() override { host_settings_init(); }
};

TEST_F(HostSettings, NamesDefaultsAndLabelCounts) {
    struct Row {
        const char* name;
        int value;
        size_t labels;
    };
    const Row table[kHostSettings] = {
        {"playerhealth", 100, 1}, {"roundtime", 30, 1},      {"backingtime", 3, 11},    {"supplycrates", 3, 5},
        {"cratetraps", 10, 1},    {"falldamage", 2, 4},      {"friction", 2, 5},        {"positioning", 0, 2},
        {"mines", 2, 5},          {"duds", 10, 1},           {"minedelay", 3, 9},       {"wind", 3, 5},
        {"minedamage", 2, 5},     {"beartraps", 1, 5},       {"medikits", 1, 4},        {"medikithealing", 25, 1},
        {"supplylimit", 15, 1},   {"gameenderstart", 4, 11}, {"gameendertype", 0, 1},   {"gamemode", 0, 1},
        {"buildblock", 0, 5},     {"gravity", 0, 7},
    };
    for (int i = 0; i < kHostSettings; i++) {
        EXPECT_EQ(setn[i], table[i].name) << i;
        EXPECT_EQ(set[i], table[i].value) << i;
        EXPECT_EQ(set_array[i].size(), table[i].labels) << i;
        EXPECT_EQ(setfreeze[i], "") << i;
    }
}

TEST_F(HostSettings, ExactLabelTexts) {
    EXPECT_EQ(set_array[0][0], "1-500");
    EXPECT_EQ(set_array[1][0], "5-120");
    EXPECT_EQ(set_array[16][0], "0-50");
    EXPECT_EQ(set_array[18][0], "0-1000");
    EXPECT_EQ(set_array[2][10], "10");
    EXPECT_EQ(set_array[3], (std::vector<std::string>{"none", "few", "some", "many", "insane"}));
    EXPECT_EQ(set_array[5][1], "yes & don't end turn");
    EXPECT_EQ(set_array[10][6], "random (v.short-norm.)");
    EXPECT_EQ(set_array[10][8], "random (none-v.long)");
    EXPECT_EQ(set_array[14][3], "many");
    EXPECT_EQ(set_array[17][0], "never");
    EXPECT_EQ(set_array[17][10], "Round 10");
    EXPECT_EQ(set_array[20][0], "off (build everywhere)");
    EXPECT_EQ(set_array[21][0], "Earth (9.81 m/s\xB2)");
    EXPECT_EQ(set_array[21][2], "Jupiter (24.79 m/s\xB2)");
    EXPECT_EQ(set_array[21][6], "extreme (30 m/s\xB2)");
    EXPECT_EQ(set_array[21][6].size(), 17u);  // the superscript two is one byte
}

TEST_F(HostSettings, GravityTable) {
    const float expected[7] = {0.1f, 0.01664f, 0.2527f, 0.05097f, 0.1529f, 0.20387f, 0.30581f};
    for (int i = 0; i < 7; i++) EXPECT_EQ(g_gravityArray[i], expected[i]) << i;
}

TEST_F(HostSettings, LabelLookupIsBoundsChecked) {
    struct Case {
        int index, value;
        const char* label;
    };
    for (auto c : {Case{0, 250, "250"}, Case{0, 9999, "9999"}, Case{5, 1, "yes & don't end turn"},
                   Case{21, 1, "Moon (1.63 m/s\xB2)"}, Case{5, 4, ""}, Case{5, -1, ""}, Case{21, 7, ""},
                   Case{21, -2147483647 - 1, ""}, Case{-1, 0, ""}, Case{22, 0, ""}, Case{1000, 3, ""}})
        EXPECT_EQ(host_setting_label(c.index, c.value), c.label) << c.index << " " << c.value;
}

TEST_F(HostSettings, RangeSettings) {
    int lo = -1, hi = -1;
    EXPECT_TRUE(host_setting_range(1, lo, hi));
    EXPECT_EQ(lo, 5);
    EXPECT_EQ(hi, 120);
    EXPECT_FALSE(host_setting_range(2, lo, hi));
    EXPECT_FALSE(host_setting_range(22, lo, hi));
}

// The same check runs on presets, on received lobby and join values and on
// replay values: any int comes out inside its range.
TEST_F(HostSettings, CheckClampsEveryValue) {
    struct Case {
        int index, value, expected;
    };
    for (auto c : {Case{0, 9999, 500}, Case{0, 0, 1}, Case{0, -7, 1}, Case{1, 121, 120}, Case{2, 11, 10},
                   Case{6, 99, 4}, Case{6, -3, 0}, Case{19, 5000, 1000}, Case{21, 7, 6},
                   Case{9, 2147483647, 100}, Case{16, -2147483647 - 1, 0}, Case{4, 55, 55}}) {
        host_settings_init();
        set[c.index] = c.value;
        settings_check_host();
        EXPECT_EQ(set[c.index], c.expected) << setn[c.index] << " " << c.value;
    }
}

TEST_F(HostSettings, CheckLeavesAValidTableAlone) {
    int before[kHostSettings];
    for (int i = 0; i < kHostSettings; i++) before[i] = set[i];
    settings_check_host();
    for (int i = 0; i < kHostSettings; i++) EXPECT_EQ(set[i], before[i]) << i;
}

TEST_F(HostSettings, NamesAreUniqueAndNeverEmpty) {
    std::set<std::string> names(std::begin(setn), std::end(setn));
    EXPECT_EQ(names.size(), (size_t)kHostSettings);
    EXPECT_EQ(names.count(""), 0u);
}

}  // namespace
