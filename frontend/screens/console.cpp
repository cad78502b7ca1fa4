// Console (stand-in: keeps the lines, draws nothing yet).
#include "frontend/screens/console.h"

std::list<std::string> in_console;

int gui_addcon(const std::string& text) {
    in_console.push_back(text);
    return 0;
}
int gui_console() { return 0; }

// ---- Lobby chat lines (stand-in until the lobby exists: they go to the
// console; declared in core/shared_state.h).
int gui_in_lobby_notify = 0;
std::list<std::string> gui_lobby_lines;
int gui_lobby_addline(const std::string& text) {
    gui_lobby_lines.push_back(text);
    if (gui_lobby_lines.size() > 200) gui_lobby_lines.pop_front();
    return gui_addcon(text);
}
