// Callbacks that run on one machine only (the AI's, the game ender's run, the
// game mode's end-turn decision) or not once per simulated frame (every draw
// callback): a direct function called inside them would change shared state
// on some machines only, so such functions refuse there.
#pragma once

// 1 while such a callback runs (set by scripting/callbacks.cpp), else 0.
int lua_in_local_callback();
// In such a callback: writes "Lua 'fn' refused: this callback does not run
// alike on every machine" to the console and returns 1; else 0.
int lua_refuse_local(const char* fn);

// Marks a local callback for its lifetime (nests).
struct Tlua_local_scope {
    Tlua_local_scope();
    ~Tlua_local_scope();
    Tlua_local_scope(const Tlua_local_scope&) = delete;
    Tlua_local_scope& operator=(const Tlua_local_scope&) = delete;
};
