// Text services: filters, trimming, zero filling, dates, aligned text and the
// password scrambler.
#include "core/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw.h"

namespace {
const std::string kNbsp = "\xA0";
}

TEST(Text, CharacterFilters) {
    struct Case {
        std::string in, alnum, file;
    };
    const Case cases[] = {
        {"Team Rocket-7", "Team Rocket-7", "Team Rocket-7"},
        {"a_b!c", "abc", "a_b!c"},
        {"../../etc/passwd", "etcpasswd", "etcpasswd"},
        {"C:\\x\ty.z", "Cxyz", "Cxyz"},
        {"\xC4rger \xE9t\xE9", "rger t", "rger t"},  // letters outside ASCII go
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(alphanumtrim(c.in), c.alnum) << c.in;
        EXPECT_EQ(filename(c.in), c.file) << c.in;
    }
}

TEST(Text, Trimstr) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {" \t \t", ""},
        {kNbsp + " name " + kNbsp + kNbsp, "name"},
        {"\ta b\tc  ", "a b\tc"},
        {"plain", "plain"},
        {"", ""},
        {"\n x \r", "\n x \r"},  // only tab, space and no-break space are blanks
    };
    for (const Case& c : cases) EXPECT_EQ(trimstr(c.in), c.out) << c.in;
}

TEST(Text, Trimname) {
    const std::string forty = "Abcdefghijklmnopqrstuvwxyz0123 567890123";
    struct Case {
        std::string in;
        int max;
        std::string out;
    };
    const Case cases[] = {
        {",,,,", 30, "Mr. Grombat"},
        {"", 30, "Mr. Grombat"},
        {forty, 30, "Abcdefghijklmnopqrstuvwxyz0123"},
        {"Abcdefghijklmnopqrstuvwxyz012 4567", 30, "Abcdefghijklmnopqrstuvwxyz012"},  // cut leaves a blank
        {"Bob, the \x01"
         "builder\x7F",
         30, "Bob the builder"},
        {"\xA6Zo\xA0"
         "e\xA1!",
         30, "Zoe\xA1!"},  // 166 and 127..160 removed, 161 kept
        {kNbsp + "  " + kNbsp, 30, "Mr. Grombat"},
        {"  Kim  ", 2, "Ki"},
    };
    for (const Case& c : cases) EXPECT_EQ(trimname(c.in, c.max), c.out) << c.in;
}

TEST(Text, Zerofill) {
    EXPECT_EQ(zerofill("7", 5), "00007");
    EXPECT_EQ(zerofill("123456", 5), "123456");
    EXPECT_EQ(zerofill("12345", 5), "12345");
    EXPECT_EQ(zerofill("", 2), "00");
    EXPECT_EQ(zerofill(3, 2), "03");
    EXPECT_EQ(zerofill(42, 0), "42");
}

TEST(Text, Valueatindex) {
    const std::vector<std::string> items = {"a", "b", "c"};
    EXPECT_EQ(valueatindex(items, 0), "a");
    EXPECT_EQ(valueatindex(items, 2), "c");
    EXPECT_EQ(valueatindex(items, -1), "");
    EXPECT_EQ(valueatindex(items, 3), "");
    EXPECT_EQ(valueatindex({}, 0), "");
}

TEST(Text, MonthsAndDates) {
    struct Month {
        const char* text;
        int month;
    };
    for (auto m : {Month{"Dec", 12},
                   {"DEC", 12},
                   {"dec", 12},
                   {"jan", 1},
                   {"Jun", 6},
                   {"xyz", 0},
                   {"December", 0},
                   {"de", 0},
                   {"", 0}})
        EXPECT_EQ(intmonth(m.text), m.month) << m.text;

    EXPECT_EQ(intdate("08 Dec 2026"), "2026-12-08");
    EXPECT_EQ(intdate("31 Jan 1999"), "1999-01-31");
    EXPECT_EQ(intdate("01 Foo 2026"), "2026-00-01");
    EXPECT_EQ(intdate("08 Dec"), "-12-08");  // short text never reads past its end
    EXPECT_EQ(intdate(""), "-00-");
}

TEST(Text, CryptScramblesAndRestores) {
    const std::string key = "Key Of Twenty Chars!";
    // Every code 0..254 comes back with a key of codes 1..255.
    std::string all;
    for (int c = 0; c < 255; c++) all += (char)c;
    EXPECT_EQ(crypt(crypt(all, key, 0), key, 1), all);
    const std::string hi_key = "\xFF\x01\x80";
    EXPECT_EQ(crypt(crypt(all, hi_key, 0), hi_key, 1), all);

    EXPECT_EQ(crypt("secret", key, 2), "");
    EXPECT_EQ(crypt("secret", key, -1), "");
    EXPECT_EQ(crypt("", key, 0), "");
}

TEST(Text, CryptKeyRuleIsExact) {
    // The key's last character is never used: "abc" shifts by a, b, a, b, ...
    struct Case {
        std::string text, key;
        int mode;
        std::string out;
    };
    const Case cases[] = {
        {std::string(4, '\x01'), "abc", 0, "bcbc"},
        {"AAAA", "\x01", 0, "BBBB"},                // a one-character key uses it every time
        {"\xF0", "\x20", 0, "\x11"},                // 240 + 32 = 272 wraps by 255 to 17
        {"\x11", "\x20", 1, "\xF0"},                // and back
        {"\xFF", "\x01", 0, "\x01"},                // 255 + 1 wraps to 1 ...
        {"\x01", "\x01", 1, std::string(1, '\0')},  // ... and comes back as 0
        {"abc", "", 0, "abc"},                      // an empty key shifts nothing
    };
    for (const Case& c : cases) EXPECT_EQ(crypt(c.text, c.key, c.mode), c.out) << c.text << " / " << c.key;
}

TEST(Text, AlignedTextPositions) {
    FontPtr old_font = GetImageFont();
    FontPtr font = LoadImageFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 20, SMOOTHFONT);
    ASSERT_TRUE(font);
    SetImageFont(font);
    const std::string text = "Hello";
    ASSERT_EQ(TextWidth(text), 51) << "font metrics changed: pick a text of odd width";
    DrawRecord(true);
    DrawRecorded().clear();
    EXPECT_EQ(DrawTextC(text, 100, 7), 0);
    EXPECT_EQ(DrawTextR(text, 100, 9), 0);
    DrawRecord(false);
    SetImageFont(old_font);
    ASSERT_EQ(DrawRecorded().size(), 2u);
    EXPECT_EQ(DrawRecorded()[0].x, 75.0f);  // 100 - 51 / 2, the half rounded toward zero
    EXPECT_EQ(DrawRecorded()[0].y, 7.0f);
    EXPECT_EQ(DrawRecorded()[1].x, 49.0f);
    EXPECT_EQ(DrawRecorded()[1].y, 9.0f);
    EXPECT_EQ(DrawRecorded()[1].text, text);
}
