// Weapon hotkeys: binding rules, the hotkey file, damaged files, and what a
// hit F-key selects or refuses.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/input.h"
#include "core/settings.h"
#include "core/sound.h"
#include "frontend/hud/hotkeys.h"
#include "frontend/hud/hud.h"
#include "frontend/weaponset.h"
#include "match/game.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "support/temp_dir.h"
#include "world/team.h"

namespace {

using Binding = std::tuple<int, int, int, int>;  // menu, x, y, key

std::vector<Binding> bindings() {
    std::vector<Binding> out;
    for (const auto& h : Tinput_hotkey::list) out.emplace_back(h->menu, h->x, h->y, h->hotkey);
    return out;
}

// A short 8-bit mono WAV, so that `play` really starts a channel.
SoundPtr tiny_sound() {
    std::string wav = "RIFF....WAVEfmt ";
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; i++) wav += char(v >> (8 * i));
    };
    put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(8000, 4), put(1, 2), put(8, 2);
    wav += "data";
    put(800, 4);
    wav += std::string(800, char(128));
    BankPtr bank = CreateBank(wav.size());
    for (size_t i = 0; i < wav.size(); i++) bank->PokeByte(i, (uint8_t)wav[i]);
    bank->PokeInt(4, (int32_t)wav.size() - 8);
    StreamPtr stream = CreateBankStream(bank);
    return LoadSound(*stream);
}

class Hotkeys : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        Tinput_hotkey::list.clear();
    }
    void TearDown() override { Tinput_hotkey::list.clear(); }

    TempDir dir{"sys"};
};

TEST_F(Hotkeys, BindingWritesTheRecord) {
    Tinput_hotkey::sethotkey(1, 2, 3, 4);
    EXPECT_EQ(TempDir::read(kHotkeysFile), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(bindings(), (std::vector<Binding>{{1, 2, 3, 4}}));
}

TEST_F(Hotkeys, RebindingMovesTheKey) {
    Tinput_hotkey::sethotkey(1, 0, 0, 2);
    Tinput_hotkey::sethotkey(2, 5, 5, 7);
    Tinput_hotkey::sethotkey(1, 5, 5, 2);
    EXPECT_EQ(bindings(), (std::vector<Binding>{{2, 5, 5, 7}, {1, 5, 5, 2}}));
    EXPECT_EQ(TempDir::read(kHotkeysFile), std::string("\x02\x05\x05\x07\x01\x05\x05\x02", 8));
}

TEST_F(Hotkeys, SameKeyUnbindsOtherKeyRebinds) {
    Tinput_hotkey::sethotkey(1, 1, 1, 2);  // F3 on a cell
    Tinput_hotkey::sethotkey(3, 0, 8, 4);  // F5 elsewhere
    Tinput_hotkey::sethotkey(1, 1, 1, 4);  // F5 on the first cell frees the other one
    EXPECT_EQ(bindings(), (std::vector<Binding>{{1, 1, 1, 4}}));
    Tinput_hotkey::sethotkey(1, 1, 1, 4);  // again: unbound
    EXPECT_TRUE(Tinput_hotkey::list.empty());
    EXPECT_EQ(TempDir::read(kHotkeysFile), "");
    EXPECT_EQ(FileType(kHotkeysFile), FILETYPE_FILE);  // written with length 0
}

TEST_F(Hotkeys, BindingsOutsideTheMenuAreRefused) {
    for (auto b : {Binding{0, 0, 0, 0}, Binding{4, 0, 0, 0}, Binding{1, 14, 0, 0}, Binding{1, 0, 9, 0},
                   Binding{1, 0, 0, 12}, Binding{1, -1, 0, 0}, Binding{1, 0, 0, -1}})
        Tinput_hotkey::sethotkey(std::get<0>(b), std::get<1>(b), std::get<2>(b), std::get<3>(b));
    EXPECT_TRUE(Tinput_hotkey::list.empty());
}

TEST_F(Hotkeys, LoadKeepsFileOrderAndDropsRecordsOutsideTheMenu) {
    const std::string file("\x03\x0d\x08\x0b"   // last cell, F12
                           "\x09\x01\x01\x01"   // menu 9: dropped
                           "\x01\x0e\x00\x02"   // column 14: dropped
                           "\x01\x00\x09\x02"   // row 9: dropped
                           "\x01\x00\x00\x0c"   // key 12: dropped
                           "\x02\x04\x04\x00"   // F1
                           "\x01\x00\x00\x0b"   // F12 again: the first record wins
                           "\x02\x04\x04\x05",  // the same cell again: dropped
                           32);
    ASSERT_TRUE(TempDir::write(kHotkeysFile, file));
    Tinput_hotkey::loadkeys();
    EXPECT_EQ(bindings(), (std::vector<Binding>{{3, 13, 8, 11}, {2, 4, 4, 0}}));
}

TEST_F(Hotkeys, TenByteFileGivesTwoBindings) {
    ASSERT_TRUE(TempDir::write(kHotkeysFile, std::string("\x01\x00\x00\x00\x02\x01\x01\x01\x03\x02", 10)));
    Tinput_hotkey::loadkeys();
    EXPECT_EQ(bindings(), (std::vector<Binding>{{1, 0, 0, 0}, {2, 1, 1, 1}}));
}

TEST_F(Hotkeys, MissingFileKeepsTheList) {
    Tinput_hotkey::sethotkey(1, 2, 3, 4);
    ASSERT_TRUE(DeleteFile(kHotkeysFile));
    Tinput_hotkey::loadkeys();
    EXPECT_EQ(bindings(), (std::vector<Binding>{{1, 2, 3, 4}}));
}

TEST_F(Hotkeys, SavedBindingsLoadBack) {
    Tinput_hotkey::sethotkey(3, 13, 8, 11);
    Tinput_hotkey::sethotkey(1, 0, 0, 0);
    Tinput_hotkey::sethotkey(2, 7, 4, 6);
    auto saved = bindings();
    Tinput_hotkey::list.clear();
    Tinput_hotkey::loadkeys();
    EXPECT_EQ(bindings(), saved);
}

// A team with weapon 7 in the first cell of the weapons category, bound to F1.
class HotkeySelect : public Hotkeys {
protected:
    void SetUp() override {
        Hotkeys::SetUp();
        team = std::make_shared<Tteam>();
        Tteam::list = {team};
        weapon = std::make_shared<Tscro>();
        weapon->index = 7;
        weapon->firstuse = 2;
        Tscro::weapon[7] = weapon;
        g_weaponseti[0][1][1] = 7;
        team->wamount[7] = 3;
        g_round = 2;
        g_turn_state = 1;
        g_wpn_attacked = 0;
        lua_allowweaponswitch = 1;
        hud_wpnsel = 0;
        hud_rmenu = 1;
        Thud_msg::add("", 0, 0, 0, -1);
        for (int& f : in_f) f = 0;
        Tinput_hotkey::sethotkey(1, 1, 1, 0);
        in_f[0] = 1;
    }
    void TearDown() override {
        Tteam::list.clear();
        Tscro::weapon[7] = nullptr;
        g_weaponseti[0][1][1] = 0;
        for (int& f : in_f) f = 0;
        g_round = g_turn_state = g_wpn_attacked = 0;
        lua_allowweaponswitch = 1;
        Hotkeys::TearDown();
    }

    std::shared_ptr<Tteam> team;
    std::shared_ptr<Tscro> weapon;
};

TEST_F(HotkeySelect, HitKeySelectsTheWeapon) {
    Tinput_hotkey::checkhotkeys(1);
    EXPECT_EQ(hud_wpnsel, 7);
    EXPECT_EQ(hud_rmenu, 0);
    EXPECT_EQ(Thud_msg::text, "");
}

TEST_F(HotkeySelect, Refusals) {
    struct Case {
        int amount, locked, round, allow;
        const char* message;
    };
    for (auto c : {Case{0, 0, 2, 1, "You do not have this weapon!"},
                   Case{0, 1, 1, 1, "You do not have this weapon!"},
                   Case{3, 1, 2, 1, "Weapon is currently locked!"},
                   Case{3, 1, 1, 1, "Weapon is currently locked!"},
                   Case{3, 0, 1, 1, "Weapon not available in this round!"},
                   Case{3, 0, 2, 0, "Weapon switching is currently not allowed!"}}) {
        team->wamount[7] = (uint8_t)c.amount;
        team->wlocked[7] = (uint8_t)c.locked;
        g_round = c.round;
        lua_allowweaponswitch = c.allow;
        hud_rmenu = 1;
        Thud_msg::add("", 0, 0, 0, 0);
        Tinput_hotkey::checkhotkeys(1);
        EXPECT_EQ(Thud_msg::text, c.message);
        EXPECT_EQ(Thud_msg::r, 255);
        EXPECT_EQ(Thud_msg::g, 0);
        EXPECT_EQ(Thud_msg::b, 0);
        EXPECT_EQ(Thud_msg::icon, -1);
        EXPECT_EQ(hud_wpnsel, 0) << c.message;
        EXPECT_EQ(hud_rmenu, 0) << c.message;
    }
}

TEST_F(HotkeySelect, NotTheLocalTurnClosesTheMenuSilently) {
    struct Case {
        int flag, turn_state, attacked;
    };
    for (auto c : {Case{0, 1, 0}, Case{1, 0, 0}, Case{1, 2, 0}, Case{1, 1, 1}}) {
        hud_rmenu = 2;
        g_turn_state = c.turn_state;
        g_wpn_attacked = c.attacked;
        Tinput_hotkey::checkhotkeys(c.flag);
        EXPECT_EQ(hud_rmenu, 0);
        EXPECT_EQ(hud_wpnsel, 0);
        EXPECT_EQ(Thud_msg::text, "");
    }
}

TEST_F(HotkeySelect, SoundsOfSelectionAndRefusal) {
    SoundPtr sound = tiny_sound();
    ASSERT_TRUE(sound);
    auto played_after = [&](bool ok_loaded, int amount, int flag) {
        sfx_wpnsel_ok = ok_loaded ? sound : nullptr;
        sfx_wpnsel_fail = ok_loaded ? nullptr : sound;
        team->wamount[7] = (uint8_t)amount;
        TChan::stopall();
        Tinput_hotkey::checkhotkeys(flag);
        return TChan::list.size();
    };
    EXPECT_EQ(played_after(true, 3, 1), 1u);   // selected: the ok sound
    EXPECT_EQ(played_after(false, 3, 1), 0u);  // ... and not the failure sound
    EXPECT_EQ(played_after(false, 0, 1), 1u);  // refused: the failure sound
    EXPECT_EQ(played_after(true, 0, 1), 0u);
    EXPECT_EQ(played_after(true, 3, 0), 0u);   // not our turn: silent
    EXPECT_EQ(played_after(false, 0, 0), 0u);
    TChan::stopall();
    sfx_wpnsel_ok = sfx_wpnsel_fail = nullptr;
}

TEST_F(HotkeySelect, NoTeamOrEmptyCellIsIgnored) {
    Tteam::list.clear();
    Tinput_hotkey::checkhotkeys(1);
    EXPECT_EQ(hud_rmenu, 1);
    Tteam::list = {team};
    g_weaponseti[0][1][1] = 0;
    Tinput_hotkey::checkhotkeys(1);
    EXPECT_EQ(hud_rmenu, 1);
    EXPECT_EQ(hud_wpnsel, 0);
}

TEST_F(HotkeySelect, NoKeyHitDoesNothing) {
    in_f[0] = 0;
    in_f[5] = 1;
    Tinput_hotkey::checkhotkeys(1);
    EXPECT_EQ(hud_rmenu, 1);
    EXPECT_EQ(hud_wpnsel, 0);
}

TEST_F(HotkeySelect, OnlyTheFirstBindingInTheListActs) {
    auto other = std::make_shared<Tscro>();
    other->index = 9;
    Tscro::weapon[9] = other;
    team->wamount[9] = 1;
    g_weaponseti[1][0][0] = 9;
    Tinput_hotkey::list.clear();
    Tinput_hotkey::sethotkey(2, 0, 0, 3);  // weapon 9 on F4, first in the list
    Tinput_hotkey::sethotkey(1, 1, 1, 0);  // weapon 7 on F1
    in_f[0] = in_f[3] = 1;
    Tinput_hotkey::checkhotkeys(1);
    EXPECT_EQ(hud_wpnsel, 9);
    Tscro::weapon[9] = nullptr;
    g_weaponseti[1][0][0] = 0;
}

TEST_F(Hotkeys, DrawsLabelsOfTheOpenCategoryOnDrawnPasses) {
    Tinput_hotkey::sethotkey(1, 0, 0, 0);
    Tinput_hotkey::sethotkey(1, 13, 8, 11);
    Tinput_hotkey::sethotkey(2, 3, 3, 5);
    hud_rmenu = 1;
    set_scrx = 1024, set_scry = 768;
    DrawRecord(true);
    DrawRecorded().clear();
    g_fps_render = 0;
    Tinput_hotkey::drawhotkeys();
    EXPECT_TRUE(DrawRecorded().empty());
    g_fps_render = 1;
    Tinput_hotkey::drawhotkeys();
    std::vector<DrawCall> calls = DrawRecorded();
    DrawRecord(false);
    g_fps_render = 0;
    hud_rmenu = 0;
    settings_defaults();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "F1");
    EXPECT_EQ(calls[0].y, 768 - 436);
    EXPECT_EQ(calls[0].x + TextWidth("F1"), 1024 - 630 + 39);
    EXPECT_EQ(calls[0].alpha, 0.5f);
    EXPECT_EQ(calls[1].text, "F12");
    EXPECT_EQ(calls[1].y, 768 - 436 + 42 * 8);
    EXPECT_EQ(calls[1].x + TextWidth("F12"), 1024 - 630 + 42 * 13 + 39);
    EXPECT_EQ(GetAlpha(), 1.0f);
}

}  // namespace
