// The Lua state: its sandbox, the interface constants and names, the loaders
// every script goes through, and the cost limits on script code.
//
// Scripts reach every machine of a match (and every replay viewer) from the
// host, so the state is built as if every script were hostile:
// - only the base, table, string, math and os libraries are opened; of os only
//   time, clock, date and difftime stay (they differ per machine and serve
//   display only); io is an empty table; require, module, package, debug,
//   loadfile, newproxy (the one way to a Lua-side __gc) do not exist;
// - every loader refuses precompiled chunks (first byte 27): Lua 5.1 runs
//   bytecode unverified;
// - math.sin, math.cos and math.tan are the deterministic functions of
//   core/det_math.h, since projectiles move by them in every machine's
//   simulation;
// - the string library's pattern functions count their steps against the
//   budget (lua_patterns.cpp);
// - code run through lua_protectedcall has an instruction budget (counted by a
//   count hook, so the cut falls at the same instruction on every machine) and
//   the heap has a cap; both end the call with an ordinary Lua error.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/audio.h"

struct lua_State;

// The current state; null until the first lua_reset. Only lua_reset replaces it.
extern lua_State* lua;

extern ChannelPtr lua_channel[10];
// Registered game modes: display names, internal names (callback prefix) and
// settings strings, kept parallel; game enders: display and internal names.
extern std::vector<std::string> g_gamemodes;
extern std::vector<std::string> g_gamemodesi;
extern std::vector<std::string> g_gamemodess;
extern std::vector<std::string> g_gameenders;
extern std::vector<std::string> g_gameendersi;

// Throws the current state away and builds a fresh one (sandbox, the 110
// constants, the projectiles and objects tables, the 153 interface names).
// Ends the program with a serious message when no state can be made.
int lua_reset();

// Number of constants and of interface names lua_reset installs.
inline constexpr int kLuaConstants = 110;
inline constexpr int kLuaInterfaceNames = 153;
// The interface names in registration order.
const std::vector<std::string>& lua_interface_names();

// Loads text as a chunk named chunkname, refusing a precompiled chunk, and
// leaves the function (0) or the error message (a Lua error code) on the stack.
int lua_loadchunk(const std::string& text, const std::string& chunkname);
// Loads and runs a chunk with no arguments and no results under the budget:
// 0, or a Lua error code with the message on top of the stack for luaerror.
int lua_runchunk(const std::string& text, const std::string& chunkname);
// Reads a script file and runs it as lua_runchunk does, the path as its chunk
// name; an unreadable file gives LUA_ERRFILE with a message on the stack.
int lua_runfile(const std::string& path);
// lua_pcall of the function below nargs arguments under the instruction
// budget and the heap cap (no message handler).
int lua_protectedcall(int nargs, int nresults);

// Cost limits (tests and the fuzz target lower them): instructions per
// protected call and bytes of Lua heap while scripts run.
extern long long lua_instruction_budget;
extern size_t lua_memory_limit;
// Instructions counted in the last protected call (a multiple of the hook
// step), so that tests can see where a cut fell.
extern long long lua_instructions_used;
// Charges work done in C on behalf of a script (pattern matching) to the
// budget; raises the budget's error when it is spent.
void lua_charge(lua_State* L, long long steps);
inline constexpr long long kLuaInstructionBudget = 50000000;
inline constexpr size_t kLuaMemoryLimit = 512u << 20;

// The message box and the Yes/No/Cancel question of the scripting code
// (Notify and Proceed unless a test or the fuzz target puts others here).
extern std::function<void(const std::string& text, bool serious)> lua_notify;
extern std::function<int(const std::string& text)> lua_proceed;

// Text crossing into and out of Lua, one byte per character: a Lua string
// with its full length (convention 7); "" for values that are not text.
std::string lua_tostr(lua_State* L, int index);
// Pushes text up to its first zero character.
void lua_pushstr(lua_State* L, const std::string& text);
// A global as an integer (0 when missing or not a number), read raw.
long long lua_getglobalint(const char* name);
