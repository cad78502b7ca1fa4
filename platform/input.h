// Polled input: key and button states sampled from window events. Key codes are
// the game's numbers (Tab 9, Enter 13, Escape 27, Space 32, Delete 46, digits
// 48-57, letters 65-90, F1-F12 112-123, left/right Ctrl 162/163, ...), mapped
// from SDL scancodes in one table. Tests inject events directly.
#pragma once

#include <string>

enum {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_CLEAR = 12, KEY_ENTER = 13, KEY_RETURN = 13,
    KEY_PAUSE = 19, KEY_CAPSLOCK = 20, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_PAGEUP = 33, KEY_PAGEDOWN = 34, KEY_END = 35, KEY_HOME = 36,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40,
    KEY_PRINTSCREEN = 44, KEY_INSERT = 45, KEY_DELETE = 46,
    KEY_0 = 48, KEY_9 = 57, KEY_A = 65, KEY_Z = 90,
    KEY_LSYS = 91, KEY_RSYS = 92,
    KEY_NUM0 = 96, KEY_NUM9 = 105, KEY_NUMMULTIPLY = 106, KEY_NUMADD = 107, KEY_NUMSUBTRACT = 109,
    KEY_NUMDECIMAL = 110, KEY_NUMDIVIDE = 111,
    KEY_F1 = 112, KEY_F12 = 123,
    KEY_NUMLOCK = 144, KEY_SCROLL = 145,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163, KEY_LALT = 164, KEY_RALT = 165,
    KEY_TILDE = 192, KEY_MINUS = 189, KEY_EQUALS = 187, KEY_OPENBRACKET = 219, KEY_CLOSEBRACKET = 221,
    KEY_BACKSLASH = 226, KEY_SEMICOLON = 186, KEY_QUOTES = 222, KEY_COMMA = 188, KEY_PERIOD = 190, KEY_SLASH = 191,
};
inline constexpr int kKeyCount = 256;

// Reads pending window events into the input state. Flip calls it too.
void PollSystem();

int KeyDown(int key);    // 1 while held
int KeyHit(int key);     // presses since the last KeyHit of that key or flush
int GetChar();           // next typed character (Latin-1 code), 0 when none
void FlushKeys();        // forgets hits and typed characters

int MouseX();
int MouseY();
int MouseZ();            // wheel position
int MouseXSpeed();       // movement since the previous call of the same function
int MouseYSpeed();
int MouseZSpeed();
int MouseDown(int button);   // 1 left, 2 right, 3 middle
int MouseHit(int button);
void FlushMouse();

int AppSuspended();      // 1 while the window is in the background
int AppTerminate();      // 1 once per close request

// Test seams: events as the window system would deliver them.
void InjectKey(int key, bool down);
void InjectChar(int character);
void InjectMouseMove(int x, int y);
void InjectMouseButton(int button, bool down);
void InjectMouseWheel(int delta);
void InjectSuspended(bool suspended);
void InjectTerminate();
// Clears every input state (tests).
void ResetInput();
// The game key code of an SDL scancode, 0 for keys the game does not use.
int KeyCodeFromScancode(int scancode);
