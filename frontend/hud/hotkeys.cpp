// Weapon hotkeys: binding, drawing, selecting by F-key, and the hotkey file.
#include "frontend/hud/hotkeys.h"

#include <string>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "frontend/hud/hud.h"
#include "frontend/weaponset.h"
#include "match/game.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "world/team.h"

std::list<std::shared_ptr<Tinput_hotkey>> Tinput_hotkey::list;

namespace {

// The weapon menu: 3 categories of 14 columns by 9 rows; keys F1..F12.
constexpr int kWeaponCategories = 3, kWeaponColumns = 14, kWeaponRows = 9, kKeys = 12;

bool addresses_cell(int menu, int x, int y, int key) {
    return menu >= 1 && menu <= kWeaponCategories && x >= 0 && x < kWeaponColumns && y >= 0 && y < kWeaponRows &&
           key >= 0 && key < kKeys;
}

bool same_cell(const Tinput_hotkey& h, int menu, int x, int y) { return h.menu == menu && h.x == x && h.y == y; }

void refuse(const char* message) {
    play(sfx_wpnsel_fail, 1);
    Thud_msg::add(message, 255, 0, 0, -1);
}

}  // namespace

int Tinput_hotkey::sethotkey(int menu, int x, int y, int key) {
    if (!addresses_cell(menu, x, y, key)) return 0;
    list.remove_if([&](const auto& h) { return h->hotkey == key && !same_cell(*h, menu, x, y); });
    bool found = false;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (!same_cell(**it, menu, x, y)) continue;
        found = true;
        if ((*it)->hotkey == key)
            list.erase(it);
        else
            (*it)->hotkey = key;
        break;
    }
    if (!found) {
        auto h = std::make_shared<Tinput_hotkey>();
        h->menu = menu, h->x = x, h->y = y, h->hotkey = key;
        list.push_back(h);
    }
    savekeys();
    return 0;
}

int Tinput_hotkey::drawhotkeys() {
    if (g_fps_render != 1) return 0;
    for (const auto& h : list) {
        if (h->menu != hud_rmenu) continue;
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetRotation(0);
        SetScale(1, 1);
        SetAlpha(0.5f);
        SetImageFont(font_small);
        std::string label = "F" + std::to_string(h->hotkey + 1);
        int right = set_scrx - 630 + 42 * h->x + 39;
        DrawText(label, float(right - TextWidth(label)), float(set_scry - 436 + 42 * h->y));
    }
    SetAlpha(1);
    return 0;
}

int Tinput_hotkey::checkhotkeys(int flag) {
    std::shared_ptr<Tinput_hotkey> hit;
    for (const auto& h : list)
        if (addresses_cell(h->menu, h->x, h->y, h->hotkey) && in_f[h->hotkey]) {
            hit = h;
            break;
        }
    if (!hit) return 0;
    std::shared_ptr<Tteam> team = Tteam::weaponmenuteam();
    if (!team) return 0;
    int index = g_weaponseti[hit->menu - 1][hit->x][hit->y];
    std::shared_ptr<Tscro> weapon = index < (int)Tscro::weapon.size() ? Tscro::weapon[index] : nullptr;
    if (!weapon) return 0;
    // Another player's turn, or the attack is under way: no choosing, no sound.
    if (flag != 1 || g_turn_state != 1 || g_wpn_attacked == 1) {
        hud_rmenu = 0;
        return 0;
    }
    bool has = team->wamount[index] > 0;
    bool locked = team->wlocked[index] != 0;
    if (g_round >= weapon->firstuse && has && !locked) {
        if (lua_allowweaponswitch == 1) {
            hud_wpnsel = weapon->index;
            play(sfx_wpnsel_ok, 1);
        } else {
            refuse("Weapon switching is currently not allowed!");
        }
    } else if (!has) {
        refuse("You do not have this weapon!");
    } else if (locked) {
        refuse("Weapon is currently locked!");
    } else {
        refuse("Weapon not available in this round!");
    }
    hud_rmenu = 0;
    return 0;
}

int Tinput_hotkey::savekeys() {
    Bank bank(list.size() * 4);
    size_t at = 0;
    for (const auto& h : list) {
        bank.PokeByte(at++, h->menu);
        bank.PokeByte(at++, h->x);
        bank.PokeByte(at++, h->y);
        bank.PokeByte(at++, h->hotkey);
    }
    SaveBank(bank, kHotkeysFile);
    return 0;
}

int Tinput_hotkey::loadkeys() {
    BankPtr bank = LoadBank(kHotkeysFile);
    if (!bank) return 0;
    list.clear();
    for (size_t at = 0; bank->Has(at, 4); at += 4) {
        int menu = bank->PeekByte(at), x = bank->PeekByte(at + 1), y = bank->PeekByte(at + 2);
        int key = bank->PeekByte(at + 3);
        if (!addresses_cell(menu, x, y, key)) continue;
        // A hand-edited file may repeat a key or a cell: the first record wins.
        bool taken = false;
        for (const auto& h : list)
            if (h->hotkey == key || same_cell(*h, menu, x, y)) taken = true;
        if (taken) continue;
        auto h = std::make_shared<Tinput_hotkey>();
        h->menu = menu, h->x = x, h->y = y, h->hotkey = key;
        list.push_back(h);
    }
    return 0;
}
