// Polled input: SDL window events turned into key, character, mouse and
// application state, with the seams tests use to inject events.
//
// Hit counters grow by one per press (key repeats do not count) and are read
// and cleared per key or button; flushes clear hits and typed characters but
// leave held keys and buttons held. Mouse speeds are the change of position
// since the previous call of the same function.
#include "platform/input.h"

#include <SDL.h>

#include <deque>

#include "platform/gl_internal.h"

namespace {
constexpr int kButtons = 8;

struct InputState {
    bool key_down[kKeyCount] = {};
    int key_hits[kKeyCount] = {};
    std::deque<int> chars;
    int mouse_x = 0, mouse_y = 0, mouse_z = 0;
    int speed_x = 0, speed_y = 0, speed_z = 0;  // positions at the last speed query
    bool button_down[kButtons] = {};
    int button_hits[kButtons] = {};
    bool focus_lost = false, minimised = false;
    int terminate_requests = 0;
};

InputState s_in;

// Characters the keyboard types besides text: control codes for text fields.
int ControlCharacter(const SDL_Keysym& key) {
    switch (key.sym) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_ESCAPE:
            return 27;
        default:
            break;
    }
    // Ctrl+letter gives codes 1..26 (3 copy, 22 paste, 24 cut).
    bool ctrl = key.mod & KMOD_CTRL, alt = key.mod & (KMOD_ALT | KMOD_GUI);
    if (ctrl && !alt && key.sym >= SDLK_a && key.sym <= SDLK_z) return key.sym - SDLK_a + 1;
    return 0;
}

// UTF-8 text to Latin-1 characters; anything above 255 or malformed is dropped.
void QueueText(const char* text) {
    const unsigned char* p = (const unsigned char*)text;
    while (*p) {
        unsigned code;
        int extra;
        if (*p < 0x80) {
            code = *p;
            extra = 0;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            p++;
            continue;
        }
        p++;
        bool ok = true;
        for (int i = 0; i < extra; i++) {
            if ((*p & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            code = code << 6 | (*p & 0x3F);
            p++;
        }
        if (ok && code >= 32 && code <= 255 && code != 127) s_in.chars.push_back((int)code);
    }
}

int ButtonFromSdl(int sdl_button) {
    switch (sdl_button) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 3;
        default:
            return sdl_button;  // X1, X2 as 4, 5
    }
}

void SetSuspendedFlags() {
    // While in the background no key-up arrives: keys held then are released.
    if (s_in.focus_lost || s_in.minimised)
        for (bool& down : s_in.key_down) down = false;
}

void HandleWindowEvent(const SDL_WindowEvent& e) {
    if (e.windowID != GraphicsWindowId()) return;
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            s_in.focus_lost = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            s_in.focus_lost = false;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            s_in.minimised = true;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            s_in.minimised = false;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            GraphicsWindowResized(e.data1, e.data2);
            return;
        default:
            return;
    }
    SetSuspendedFlags();
}
}  // namespace

int KeyCodeFromScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return KEY_A + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return KEY_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return KEY_NUM0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    struct Pair {
        int scancode, key;
    };
    static constexpr Pair kTable[] = {
        {SDL_SCANCODE_0, KEY_0},
        {SDL_SCANCODE_BACKSPACE, KEY_BACKSPACE},
        {SDL_SCANCODE_TAB, KEY_TAB},
        {SDL_SCANCODE_CLEAR, KEY_CLEAR},
        {SDL_SCANCODE_RETURN, KEY_ENTER},
        {SDL_SCANCODE_KP_ENTER, KEY_ENTER},
        {SDL_SCANCODE_PAUSE, KEY_PAUSE},
        {SDL_SCANCODE_CAPSLOCK, KEY_CAPSLOCK},
        {SDL_SCANCODE_ESCAPE, KEY_ESCAPE},
        {SDL_SCANCODE_SPACE, KEY_SPACE},
        {SDL_SCANCODE_PAGEUP, KEY_PAGEUP},
        {SDL_SCANCODE_PAGEDOWN, KEY_PAGEDOWN},
        {SDL_SCANCODE_END, KEY_END},
        {SDL_SCANCODE_HOME, KEY_HOME},
        {SDL_SCANCODE_LEFT, KEY_LEFT},
        {SDL_SCANCODE_UP, KEY_UP},
        {SDL_SCANCODE_RIGHT, KEY_RIGHT},
        {SDL_SCANCODE_DOWN, KEY_DOWN},
        {SDL_SCANCODE_PRINTSCREEN, KEY_PRINTSCREEN},
        {SDL_SCANCODE_INSERT, KEY_INSERT},
        {SDL_SCANCODE_DELETE, KEY_DELETE},
        {SDL_SCANCODE_LGUI, KEY_LSYS},
        {SDL_SCANCODE_RGUI, KEY_RSYS},
        {SDL_SCANCODE_KP_0, KEY_NUM0},
        {SDL_SCANCODE_KP_MULTIPLY, KEY_NUMMULTIPLY},
        {SDL_SCANCODE_KP_PLUS, KEY_NUMADD},
        {SDL_SCANCODE_KP_MINUS, KEY_NUMSUBTRACT},
        {SDL_SCANCODE_KP_PERIOD, KEY_NUMDECIMAL},
        {SDL_SCANCODE_KP_DIVIDE, KEY_NUMDIVIDE},
        {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUMLOCK},
        {SDL_SCANCODE_SCROLLLOCK, KEY_SCROLL},
        {SDL_SCANCODE_LSHIFT, KEY_LSHIFT},
        {SDL_SCANCODE_RSHIFT, KEY_RSHIFT},
        {SDL_SCANCODE_LCTRL, KEY_LCONTROL},
        {SDL_SCANCODE_RCTRL, KEY_RCONTROL},
        {SDL_SCANCODE_LALT, KEY_LALT},
        {SDL_SCANCODE_RALT, KEY_RALT},
        {SDL_SCANCODE_GRAVE, KEY_TILDE},
        {SDL_SCANCODE_MINUS, KEY_MINUS},
        {SDL_SCANCODE_EQUALS, KEY_EQUALS},
        {SDL_SCANCODE_LEFTBRACKET, KEY_OPENBRACKET},
        {SDL_SCANCODE_RIGHTBRACKET, KEY_CLOSEBRACKET},
        {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH},
        {SDL_SCANCODE_NONUSBACKSLASH, KEY_BACKSLASH},
        {SDL_SCANCODE_NONUSHASH, KEY_BACKSLASH},
        {SDL_SCANCODE_SEMICOLON, KEY_SEMICOLON},
        {SDL_SCANCODE_APOSTROPHE, KEY_QUOTES},
        {SDL_SCANCODE_COMMA, KEY_COMMA},
        {SDL_SCANCODE_PERIOD, KEY_PERIOD},
        {SDL_SCANCODE_SLASH, KEY_SLASH},
    };
    for (const Pair& p : kTable)
        if (p.scancode == scancode) return p.key;
    return 0;
}

void PollSystem() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                InjectTerminate();
                break;
            case SDL_KEYDOWN: {
                if (int c = ControlCharacter(e.key.keysym)) InjectChar(c);
                if (e.key.repeat) break;
                if (int key = KeyCodeFromScancode(e.key.keysym.scancode)) InjectKey(key, true);
                break;
            }
            case SDL_KEYUP:
                if (int key = KeyCodeFromScancode(e.key.keysym.scancode)) InjectKey(key, false);
                break;
            case SDL_TEXTINPUT:
                QueueText(e.text.text);
                break;
            case SDL_MOUSEMOTION:
                InjectMouseMove(e.motion.x, e.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                InjectMouseMove(e.button.x, e.button.y);
                InjectMouseButton(ButtonFromSdl(e.button.button), e.type == SDL_MOUSEBUTTONDOWN);
                break;
            case SDL_MOUSEWHEEL: {
                int delta = e.wheel.y;
                if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
                InjectMouseWheel(delta);
                break;
            }
            case SDL_WINDOWEVENT:
                HandleWindowEvent(e.window);
                break;
            default:
                break;
        }
    }
}

int KeyDown(int key) { return key >= 0 && key < kKeyCount && s_in.key_down[key] ? 1 : 0; }

int KeyHit(int key) {
    if (key < 0 || key >= kKeyCount) return 0;
    int hits = s_in.key_hits[key];
    s_in.key_hits[key] = 0;
    return hits;
}

int GetChar() {
    if (s_in.chars.empty()) return 0;
    int c = s_in.chars.front();
    s_in.chars.pop_front();
    return c;
}

void FlushKeys() {
    for (int& hits : s_in.key_hits) hits = 0;
    s_in.chars.clear();
}

int MouseX() { return s_in.mouse_x; }
int MouseY() { return s_in.mouse_y; }
int MouseZ() { return s_in.mouse_z; }

int MouseXSpeed() {
    int speed = s_in.mouse_x - s_in.speed_x;
    s_in.speed_x = s_in.mouse_x;
    return speed;
}

int MouseYSpeed() {
    int speed = s_in.mouse_y - s_in.speed_y;
    s_in.speed_y = s_in.mouse_y;
    return speed;
}

int MouseZSpeed() {
    int speed = s_in.mouse_z - s_in.speed_z;
    s_in.speed_z = s_in.mouse_z;
    return speed;
}

int MouseDown(int button) { return button >= 0 && button < kButtons && s_in.button_down[button] ? 1 : 0; }

int MouseHit(int button) {
    if (button < 0 || button >= kButtons) return 0;
    int hits = s_in.button_hits[button];
    s_in.button_hits[button] = 0;
    return hits;
}

void FlushMouse() {
    for (int& hits : s_in.button_hits) hits = 0;
}

int AppSuspended() { return s_in.focus_lost || s_in.minimised ? 1 : 0; }

int AppTerminate() {
    if (s_in.terminate_requests == 0) return 0;
    s_in.terminate_requests--;
    return 1;
}

void InjectKey(int key, bool down) {
    if (key < 0 || key >= kKeyCount) return;
    if (down && !s_in.key_down[key]) s_in.key_hits[key]++;
    s_in.key_down[key] = down;
}

void InjectChar(int character) {
    if (character > 0 && character <= 255) s_in.chars.push_back(character);
}

void InjectMouseMove(int x, int y) {
    s_in.mouse_x = x;
    s_in.mouse_y = y;
}

void InjectMouseButton(int button, bool down) {
    if (button < 0 || button >= kButtons) return;
    if (down && !s_in.button_down[button]) s_in.button_hits[button]++;
    s_in.button_down[button] = down;
}

void InjectMouseWheel(int delta) { s_in.mouse_z += delta; }

void InjectSuspended(bool suspended) {
    s_in.focus_lost = suspended;
    s_in.minimised = false;
    SetSuspendedFlags();
}

void InjectTerminate() { s_in.terminate_requests++; }

void ResetInput() { s_in = InputState{}; }
