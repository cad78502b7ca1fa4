// Polled input: hit counters, the character queue, mouse speeds, the
// application requests and the scancode table, driven through the test seams.
#include "platform/input.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

namespace {
class InputTest : public ::testing::Test {
   protected:
    void SetUp() override { ResetInput(); }
    void TearDown() override { ResetInput(); }
    static void Press(int key) {
        InjectKey(key, true);
        InjectKey(key, false);
    }
};

TEST_F(InputTest, KeyHitsCountPressesUntilReadOrFlushed) {
    Press(KEY_ESCAPE);
    Press(KEY_ESCAPE);
    InjectKey(KEY_ENTER, true);
    InjectKey(KEY_ENTER, true);  // still held: not a second press
    EXPECT_EQ(KeyHit(KEY_ESCAPE), 2);
    EXPECT_EQ(KeyHit(KEY_ESCAPE), 0);
    EXPECT_EQ(KeyDown(KEY_ENTER), 1);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 0);

    Press(KEY_DELETE);
    InjectChar('a');
    FlushKeys();
    EXPECT_EQ(KeyHit(KEY_DELETE), 0);
    EXPECT_EQ(KeyHit(KEY_ENTER), 0);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(KeyDown(KEY_ENTER), 1) << "a flush leaves held keys held";
    EXPECT_EQ(KeyHit(-1), 0);
    EXPECT_EQ(KeyHit(kKeyCount), 0);
}

TEST_F(InputTest, CharactersQueueInOrderAsLatin1) {
    for (int c : std::initializer_list<int>{'H', 0xE9, 8, 13, 300, 0})
        InjectChar(c);  // 300 and 0 are not Latin-1 characters
    EXPECT_EQ(GetChar(), 'H');
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), 8);
    EXPECT_EQ(GetChar(), 13);
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputTest, MouseSpeedsAreMovementSinceThePreviousCall) {
    InjectMouseMove(100, 50);
    EXPECT_EQ(MouseXSpeed(), 100);
    EXPECT_EQ(MouseYSpeed(), 50);
    InjectMouseMove(90, 70);
    InjectMouseMove(95, 80);
    EXPECT_EQ(MouseX(), 95);
    EXPECT_EQ(MouseXSpeed(), -5);
    EXPECT_EQ(MouseXSpeed(), 0);
    EXPECT_EQ(MouseYSpeed(), 30);
    InjectMouseWheel(2);
    InjectMouseWheel(-1);
    EXPECT_EQ(MouseZ(), 1);
    EXPECT_EQ(MouseZSpeed(), 1);
    EXPECT_EQ(MouseZSpeed(), 0);
}

TEST_F(InputTest, MouseButtonsCountHitsAndFlush) {
    for (int i = 0; i < 2; i++) {
        InjectMouseButton(1, true);
        InjectMouseButton(1, false);
    }
    InjectMouseButton(2, true);
    EXPECT_EQ(MouseHit(1), 2) << "two clicks between two frames";
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_EQ(MouseDown(2), 1);
    FlushMouse();
    EXPECT_EQ(MouseHit(2), 0);
    EXPECT_EQ(MouseDown(2), 1);
}

TEST_F(InputTest, AppTerminateReportsEachRequestOnce) {
    EXPECT_EQ(AppTerminate(), 0);
    InjectTerminate();
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    InjectTerminate();
    InjectTerminate();
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
}

TEST_F(InputTest, SuspendingReleasesHeldKeys) {
    InjectKey(KEY_LCONTROL, true);
    InjectSuspended(true);
    EXPECT_EQ(AppSuspended(), 1);
    EXPECT_EQ(KeyDown(KEY_LCONTROL), 0);
    InjectSuspended(false);
    EXPECT_EQ(AppSuspended(), 0);
}

TEST(KeyCodes, ScancodesMapToGameKeyCodes) {
    struct Case {
        int scancode, key;
    };
    for (Case c : {Case{SDL_SCANCODE_A, 65},   {SDL_SCANCODE_Z, 90},          {SDL_SCANCODE_0, 48},
                   {SDL_SCANCODE_1, 49},       {SDL_SCANCODE_9, 57},          {SDL_SCANCODE_F1, 112},
                   {SDL_SCANCODE_F12, 123},    {SDL_SCANCODE_KP_0, 96},       {SDL_SCANCODE_KP_1, 97},
                   {SDL_SCANCODE_KP_9, 105},   {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_LEFT, 37},
                   {SDL_SCANCODE_UP, 38},      {SDL_SCANCODE_RIGHT, 39},      {SDL_SCANCODE_DOWN, 40},
                   {SDL_SCANCODE_TAB, 9},      {SDL_SCANCODE_RETURN, 13},     {SDL_SCANCODE_KP_ENTER, 13},
                   {SDL_SCANCODE_ESCAPE, 27},  {SDL_SCANCODE_SPACE, 32},      {SDL_SCANCODE_DELETE, 46},
                   {SDL_SCANCODE_HOME, 36},    {SDL_SCANCODE_LCTRL, 162},     {SDL_SCANCODE_RCTRL, 163},
                   {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RALT, 165},      {SDL_SCANCODE_GRAVE, 192},
                   {SDL_SCANCODE_MINUS, 189},  {SDL_SCANCODE_SLASH, 191},     {SDL_SCANCODE_MUTE, 0}})
        EXPECT_EQ(KeyCodeFromScancode(c.scancode), c.key) << "scancode " << c.scancode;
}
}  // namespace
