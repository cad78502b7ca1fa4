// Callbacks that run on one machine only (ai_init, ai_move, ai_back, _ge_run,
// _gm_endturn) or not once per simulated frame (the draw callbacks): a direct
// function that changes shared state would change it on some machines only,
// so inside them such functions refuse with a console warning.
#pragma once

// 1 while such a callback runs (callbacks.cpp marks them with the scope).
int lua_in_local_callback();
// Inside such a callback: writes "Lua 'fn' refused: this callback does not run
// alike on every machine" to the console and returns 1 (the caller then
// changes nothing); else 0.
int lua_refuse_local(const char* fn);

// Marks a one-machine callback for as long as it lives; nests.
struct Tlua_local_scope {
    Tlua_local_scope();
    ~Tlua_local_scope();
    Tlua_local_scope(const Tlua_local_scope&) = delete;
    Tlua_local_scope& operator=(const Tlua_local_scope&) = delete;
};
