// Console (stand-in: keeps the lines, draws nothing yet).
#include "frontend/screens/console.h"

std::list<std::string> in_console;

int gui_addcon(const std::string& text) {
    in_console.push_back(text);
    return 0;
}
int gui_console() { return 0; }
