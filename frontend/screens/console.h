// Console: the log of network and game events, drawn while Tab is held.
#pragma once

#include <list>
#include <string>

#include "core/shared_state.h"

int gui_console();

// Lobby chat (stand-in: the lines, oldest first) and the audio-signal cool-down.
extern std::list<std::string> gui_lobby_lines;
extern int gui_in_lobby_notify;
int gui_lobby_addline(const std::string& text);
