// Shared seams for the scripting tests: a fresh Lua state, the message boxes
// and the script-error question caught, End turned into an exception.
#pragma once

#include <gtest/gtest.h>
#include <lua.hpp>

#include <string>
#include <vector>

#include "platform/system.h"
#include "scripting/lua_state.h"

struct ScriptEnded {};

class ScriptTest : public testing::Test {
protected:
    void SetUp() override {
        lua_notify = [this](const std::string& text, bool serious) { notes.push_back({text, serious}); };
        lua_proceed = [this](const std::string& text) {
            questions.push_back(text);
            return answer;
        };
        SetEndHook([] { throw ScriptEnded{}; });
        lua_reset();
    }
    void TearDown() override {
        lua_notify = [](const std::string& text, bool serious) { Notify(text, serious); };
        lua_proceed = [](const std::string& text) { return Proceed(text, true); };
        lua_instruction_budget = kLuaInstructionBudget;
        lua_memory_limit = kLuaMemoryLimit;
        SetEndHook(nullptr);
    }

    // Runs a chunk; "" when it ran, else its error message.
    std::string run(const std::string& code) {
        if (lua_runchunk(code, "=test") == 0) return "";
        std::string msg = lua_tostr(lua, -1);
        lua_settop(lua, 0);
        return msg.empty() ? "?" : msg;
    }
    // The value of a Lua expression as text ("nil", "true", numbers as %.14g).
    std::string eval(const std::string& expr) {
        std::string err = run("__r = tostring(" + expr + ")");
        if (!err.empty()) return "error: " + err;
        lua_getglobal(lua, "__r");
        std::string v = lua_tostr(lua, -1);
        lua_settop(lua, 0);
        return v;
    }

    struct Note {
        std::string text;
        bool serious;
    };
    std::vector<Note> notes;
    std::vector<std::string> questions;
    int answer = 1;
};
