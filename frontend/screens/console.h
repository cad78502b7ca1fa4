// Console: the log of network and game events, drawn while Tab is held.
#pragma once

#include <list>
#include <string>

extern std::list<std::string> in_console;

int gui_addcon(const std::string& text);
int gui_console();
