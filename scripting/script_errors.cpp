// Script errors and the record of loaded script files.
#include "scripting/script_errors.h"

#include <lua.hpp>

#include "platform/files.h"
#include "platform/system.h"
#include "scripting/lua_state.h"

std::list<Tlua_check> Tlua_check::list;

std::string luaerror_text(const std::string& section, const std::string& msg) {
    return "Lua Script Error:\nSection: " + (section.empty() ? std::string("N/A") : section) + "\n" + msg +
           "\n\nProceed?";
}

std::string luaerror_received_section(const std::string& file) {
    const char* kind = file.find("/Game Modes/") != std::string::npos    ? "game mode"
                       : file.find("/Game Enders/") != std::string::npos ? "game ender"
                                                                          : "weapon";
    return std::string("Parsing received ") + kind + " scripts (" + file + ")";
}

int luaerror(const std::string& section, const std::string& msg) {
    std::string text = msg;
    // The error value stays on the stack: every caller empties the stack
    // before its next call into Lua.
    if (text.empty() && lua && lua_gettop(lua) > 0) text = lua_tostr(lua, -1);
    if (lua_proceed(luaerror_text(section, text)) == 0) End(1);
    return 0;
}

int Tlua_check::clear() {
    list.clear();
    return 0;
}

int Tlua_check::add(const std::string& file) {
    list.push_back({file, FileTime(file)});
    return 0;
}

int Tlua_check::check() {
    for (const Tlua_check& c : list)
        if (FileTime(c.file) != c.time) return 1;
    return 0;
}
