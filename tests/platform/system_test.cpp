// System services: injected clock, date and delay, dialogs without a window, URLs, End.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "platform/system.h"

namespace {

class System : public ::testing::Test {
protected:
    void TearDown() override {
        SetClockSource(nullptr);
        SetDelayHook(nullptr);
        SetDateSource(nullptr);
        SetEndHook(nullptr);
        SetOpenURLHook(nullptr);
        SetDialogDefault(0);
    }
};

struct Ended {};

}  // namespace

TEST_F(System, DateAndTimeOfAChosenMoment) {
    struct Case { long long secs; const char* date; const char* time; };
    for (auto c : {Case{1796738709LL, "08 Dec 2026", "14:05:09"}, {946684800LL, "01 Jan 2000", "00:00:00"},
                   {1709251199LL, "29 Feb 2024", "23:59:59"}, {931080600LL, "04 Jul 1999", "09:30:00"},
                   {2147483648LL, "19 Jan 2038", "03:14:08"}, {4112856000LL, "01 May 2100", "12:00:00"}}) {
        SetDateSource([&] { return c.secs; });
        EXPECT_EQ(CurrentDate(), c.date) << c.secs;
        EXPECT_EQ(CurrentTime(), c.time) << c.secs;
    }
}

TEST_F(System, RealDateAndTimeHaveTheirShape) {
    EXPECT_TRUE(std::regex_match(CurrentDate(), std::regex("[0-3][0-9] (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4}")))
        << CurrentDate();
    EXPECT_TRUE(std::regex_match(CurrentTime(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << CurrentTime();
}

TEST_F(System, ClockAndDelayCanBeReplaced) {
    int t = 123;
    SetClockSource([&] { return t; });
    EXPECT_EQ(MilliSecs(), 123);
    t = -5;   // a wrapped clock reads negative
    EXPECT_EQ(MilliSecs(), -5);
    SetClockSource(nullptr);
    int a = MilliSecs();
    int b = MilliSecs();
    EXPECT_GE(b - a, 0);

    std::vector<int> slept;
    SetDelayHook([&](int ms) { slept.push_back(ms); });
    Delay(50);
    Delay(0);
    EXPECT_EQ(slept, (std::vector<int>{50, 0}));
    SetDelayHook(nullptr);
    Delay(0);
    Delay(-10);   // nothing to wait for
}

TEST_F(System, DialogsWithoutAWindowGiveTheDefault) {
    Notify("A note for the log");
    Notify("Something broke", true);
    struct Case { int fallback, confirm, proceed; };
    for (auto c : {Case{0, 0, 0}, {1, 1, 1}, {-1, 0, -1}}) {
        SetDialogDefault(c.fallback);
        EXPECT_EQ(Confirm("Quit?"), c.confirm) << c.fallback;
        EXPECT_EQ(Proceed("Save first?", true), c.proceed) << c.fallback;
    }
}

TEST_F(System, OnlyWebAddressesAreOpened) {
    std::vector<std::string> opened;
    SetOpenURLHook([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    for (const char* ok : {"http://example.com/", "https://example.com/a?b=c&d", "HTTPS://EXAMPLE.COM"}) EXPECT_TRUE(OpenURL(ok)) << ok;
    for (const char* bad : {"", "file:///etc/passwd", "javascript:alert(1)", "ftp://example.com", "-help", "http://a b",
                            "http://a\nb", "example.com", "http:"})
        EXPECT_FALSE(OpenURL(bad)) << bad;
    EXPECT_EQ(opened, (std::vector<std::string>{"http://example.com/", "https://example.com/a?b=c&d", "HTTPS://EXAMPLE.COM"}));
}

TEST_F(System, EndRunsTheHookInsteadOfExiting) {
    int calls = 0;
    SetEndHook([&] {
        ++calls;
        throw Ended{};
    });
    EXPECT_THROW(End(), Ended);
    EXPECT_EQ(calls, 1);
}

TEST_F(System, EndExitsWithZeroEvenWhenTheHookReturns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SetEndHook([] {});
            End();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(End(), ::testing::ExitedWithCode(0), "");
}

TEST_F(System, CommandLineAndProgramFolder) {
    char prog[] = "/opt/game/grombat";
    char flag[] = "-win";
    char* argv[] = {prog, flag, nullptr};
    SetAppArgs(2, argv);
    EXPECT_EQ(AppArgs(), (std::vector<std::string>{"/opt/game/grombat", "-win"}));
    // The folder is the running program's, whatever argument 0 claims.
    EXPECT_TRUE(std::filesystem::exists(AppDir() + "/test_platform")) << AppDir();
    SetAppArgs(0, nullptr);
    EXPECT_TRUE(AppArgs().empty());
}
