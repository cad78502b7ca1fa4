// A clean match world for the interface functions that reach it: players,
// teams, objects, projectiles and the frame's records, with the message box
// and the script-error question caught.
#pragma once

#include "platform/system.h"
#include "scripting/callback_guard.h"
#include "scripting/callbacks.h"
#include "scripting/interface.h"
#include "terrain/edit.h"
#include "tests/support/builtins.h"
#include "scripting/turn_state.h"
#include "terrain/spawns.h"
#include "tests/world/world_fixture.h"
#include "tests/world/player_fixture.h"

class WorldScript : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        lua_notify = [this](const std::string& text, bool) { notes.push_back(text); };
        g_frame_data = CreateBank(0);
        Tfb::loc = CreateBank(0);
        lua_p = 0;
        lua_pro = 0;
        lua_ailock = 0;
        lua_allowweaponswitch = 1;
    }
    void TearDown() override {
        lua_notify = [](const std::string& text, bool serious) { Notify(text, serious); };
        lua_p = 0;
        WorldTest::TearDown();
    }
    // Runs a chunk; "" when it ran, else its error message.
    std::string run(const std::string& code) {
        if (lua_runchunk(code, "=test") == 0) return "";
        std::string msg = lua_tostr(lua, -1);
        lua_settop(lua, 0);
        return msg.empty() ? "?" : msg;
    }
    std::string eval(const std::string& expr) {
        std::string err = run("__r = tostring(" + expr + ")");
        if (!err.empty()) return "error: " + err;
        lua_getglobal(lua, "__r");
        std::string v = lua_tostr(lua, -1);
        lua_settop(lua, 0);
        return v;
    }
    static Bytes frame() { return g_frame_data->Bytes(); }
    static Bytes local() { return Tfb::loc->Bytes(); }
    static void clear_records() {
        g_frame_data->Resize(0);
        Tfb::loc->Resize(0);
    }
    // A team (id = colour = t) and a living player of it.
    static std::shared_ptr<Tplayer> fighter(int id, int team, float x = 100, float y = 100) {
        if (!Tteam::get(team)) {
            auto t = std::make_shared<Tteam>();
            t->id = team;
            t->color = team;
            t->netplayer = team;
            Tteam::list.push_back(t);
        }
        return player(id, team, 100, x, y);
    }
    static bool has_line(const std::string& text) {
        for (auto& l : in_console)
            if (l == text) return true;
        return false;
    }
    std::vector<std::string> notes;
};
