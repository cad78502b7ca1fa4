// Script errors and the record of loaded script files.
//
// Every place that runs script code reports a failure through luaerror (see
// core/shared_state.h) with a section text naming what the game was doing;
// the player may go on or quit. Tlua_check remembers each script file of the
// last full load with its modification time, so the lobby can tell that one
// was edited and reload everything before a match.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "core/shared_state.h"

// The dialog text luaerror shows for a section and a message.
std::string luaerror_text(const std::string& section, const std::string& msg);

// Section of a failure in a script received from the host, by its folder:
// "Parsing received game mode scripts (" + file + ")" for a path containing
// "/Game Modes/", "... game ender scripts ..." for "/Game Enders/", else
// "... weapon scripts ...".
std::string luaerror_received_section(const std::string& file);

struct Tlua_check {
    std::string file;   // path as the loader opened it
    int64_t time = 0;   // modification time when loaded; 0 when unknown

    // Every file of the last full script load, in load order (a file loaded
    // twice has two records).
    static std::list<Tlua_check> list;

    static int clear();
    // Appends a record with the file's current modification time.
    static int add(const std::string& file);
    // 1 when any recorded file's time now differs (only equality counts as
    // unchanged, so a deleted or restored file counts as changed), else 0.
    static int check();
};
