// The event pump: SDL events as the window system delivers them become keys,
// typed characters, mouse state and application requests.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/graphics.h"
#include "platform/input.h"

namespace {
void PushKey(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    SDL_PushEvent(&e);
}

TEST(EventPump, SdlEventsBecomeInputState) {
    if (!GraphicsWindowOpen()) {
        ASSERT_TRUE(Graphics(320, 240, 0));
    }
    PollSystem();
    ResetInput();

    PushKey(SDL_SCANCODE_A, SDLK_a, 0, true);
    PushKey(SDL_SCANCODE_A, SDLK_a, 0, true, true);  // auto-repeat: no new hit
    PushKey(SDL_SCANCODE_A, SDLK_a, 0, false);
    PushKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, true);
    PushKey(SDL_SCANCODE_V, SDLK_v, KMOD_LCTRL, true);  // paste as code 22
    PushText("a\xC3\xA9\xE2\x82\xAC!");                 // "a", e acute, euro sign (not Latin-1), "!"
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.x = 40;
    e.button.y = 30;
    SDL_PushEvent(&e);
    e = SDL_Event{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = -2;
    SDL_PushEvent(&e);
    e = SDL_Event{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    PollSystem();

    EXPECT_EQ(KeyHit(KEY_A), 1);
    EXPECT_EQ(KeyDown(KEY_A), 0);
    EXPECT_EQ(KeyDown(KEY_BACKSPACE), 1);
    EXPECT_EQ(KeyDown('V'), 1);
    int typed[5];
    for (int& c : typed) c = GetChar();
    EXPECT_EQ(typed[0], 8);
    EXPECT_EQ(typed[1], 22);
    EXPECT_EQ(typed[2], 'a');
    EXPECT_EQ(typed[3], 0xE9);
    EXPECT_EQ(typed[4], '!');
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(MouseX(), 40);
    EXPECT_EQ(MouseY(), 30);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_EQ(MouseDown(2), 1);
    EXPECT_EQ(MouseZ(), -2);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    ResetInput();
}
}  // namespace
