// Match statistics: timeline samples, weapon ranking, the frozen team copies
// and the three pages of the Game Over screen.
#include "match/statistics.h"

#include <algorithm>
#include <cmath>

#include "core/input.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/text.h"
#include "match/setup.h"
#include "platform/draw.h"
#include "world/player.h"
#include "world/team.h"

int Ts_weapons::uses[256];
int Ts_weapons::sorted[256];
int Ts_weapons::totaluses = 0;

std::vector<Ts_turn> Ts_turn::list;
std::string Ts_turn::teamname[8];
int Ts_turn::teamcol[8];

int menu_stats = 0, menu_stats_buildup = 0, menu_stats_flash = 0;

int Ts_weapons::clear() {
    std::fill(uses, uses + 256, 0);
    std::fill(sorted, sorted + 256, 0);
    totaluses = 0;
    return 0;
}

int Ts_weapons::finalize() {
    int scratch[256];
    totaluses = 0;
    for (int i = 0; i < 256; ++i) {
        scratch[i] = uses[i];
        totaluses += uses[i];
    }
    for (int c = 0; c < 10; ++c) {
        int best = 0;
        for (int j = 1; j < 256; ++j)
            if (scratch[j] > scratch[best]) best = j;   // ties keep the lowest index
        if (scratch[best] > 0) {
            sorted[c] = best;
            scratch[best] = 0;
        }
    }
    return 0;
}

int Ts_turn::addturndata() {
    Ts_turn s;
    s.turn = g_turn;
    s.r = g_round;
    std::fill(s.players, s.players + 8, -1);
    for (auto& t : Tteam::list) {
        const int i = t->id;
        if (i < 0 || i > 7) continue;
        teamname[i] = t->name;
        teamcol[i] = t->color;
        s.players[i] = 0;
        s.health[i] = 0;
        for (auto& p : Tplayer::list)
            if (p->health > 0 && p->team == i) {
                s.players[i]++;
                stats_add(s.health[i], p->health);
            }
    }
    list.push_back(s);
    return 0;
}

int stats_reset() {
    Ts_turn::list.clear();
    for (auto& t : Tteam::list) t->stats_dmg_caused = t->stats_dmg_suffered = t->stats_kills = t->stats_deaths = t->stats_suicides = 0;
    Tteam::statscopy.clear();
    Ts_weapons::clear();
    return 0;
}

int stats_finalize() {
    Ts_turn::addturndata();
    for (auto& t : Tteam::list) {
        Tteam::statscopy.remove_if([&](const Tteam::Ptr& c) { return c->id == t->id; });
        auto c = std::make_shared<Tteam>();
        c->copyteam(*t);
        Tteam::statscopy.push_back(c);
    }
    Ts_weapons::finalize();
    return 0;
}

int stats_raisenum(int n) { return (int)std::trunc((double)n * ((double)menu_stats_buildup / 50.0)); }

std::string stats_duration(int s) {
    auto up = [](int n) { return stats_raisenum(n); };
    if (s < 60) return s == 1 ? "1 Second" : std::to_string(up(s)) + " Seconds";
    if (s < 3600) return std::to_string(up(s / 60)) + ":" + zerofill(up(s % 60), 2) + " Minutes";
    return std::to_string(up(s / 3600)) + ":" + zerofill(up((s % 3600) / 60), 2) + ":" + zerofill(up(s % 60), 2) +
           " Hours";
}

namespace {
void flashcol(int c) {
    int v = std::min(255, c + menu_stats_flash);
    SetColor(v, v, v);
}
}  // namespace

int Ts_turn::draw() {
    const float W = (float)(set_scrx - 10), H = 162, top = 76;
    const int n = (int)list.size();
    SetAlpha(1);
    if (n >= 2 && hud_maxhealth > 0) {
        const float c = W / (float)(n - 1);
        float x = 5;
        int prev[8];
        for (int i = 0; i < 8; ++i) prev[i] = (int)(top + H - (float)list[0].health[i] / (float)hud_maxhealth * H);
        for (int k = 1; k < n; ++k) {
            const bool hover = in_mx >= x && in_mx <= x + c - 1 && in_my >= top && in_my <= top + H;
            flashcol(list[(size_t)k - 1].r % 2 ? (hover ? 25 : 0) : (hover ? 50 : 25));
            SetAlpha(0.5f);
            DrawRect(x, top, c, H);
            SetAlpha(1);
            if (k >= 2) {
                flashcol(0);
                DrawRect(x, top, 1, H);
            }
            for (int i = 0; i < 8; ++i) {
                if (list[(size_t)k].players[i] <= -1) continue;
                teamcolor(teamcol[i]);
                int nw = (int)(top + H - (float)list[(size_t)k].health[i] / (float)hud_maxhealth * H);
                float a = std::max(0.0f, H - (prev[i] - top)), b = std::max(0.0f, H - (nw - top));
                float f = H - ((float)menu_stats_buildup / 50.0f) * H;
                float a2 = std::min(H, (float)(int)std::max(f, a)), b2 = std::min(H, (float)(int)std::max(f, b));
                DrawLine(x, std::clamp(top + H - a2, top, top + H - 1), x + c - 1, std::clamp(top + H - b2, top, top + H - 1));
                prev[i] = nw;
            }
            if (hover) {
                gui_stext("Round:", 5, 28, 0, 255, 255, 255, 1);
                gui_stext(std::to_string(list[(size_t)k - 1].r), 65, 28, 0, 255, 255, 255, 1);
                gui_stext("Turn:", 5, 43, 0, 255, 255, 255, 1);
                gui_stext(std::to_string(list[(size_t)k - 1].turn), 65, 43, 0, 255, 255, 255, 1);
            }
            x += c;
        }
    }
    gui_stext("Duration:", 5, 58, 0, 255, 255, 255, 1);
    gui_stext(stats_duration(g_matchlenght / 50), 65, 58, 0, 255, 255, 255, 1);
    return 0;
}

int stats_drawstats() {
    const int w = g_gamemode_score > 0 ? 82 : 107;
    struct Col { int x, width; const char* head; int Tteam::*field; };
    std::vector<Col> cols;
    int x = set_scrx - (w + 1);
    cols.push_back({x, w, g_gamemode_score > 0 ? "Dmg suffered" : "Damage suffered", &Tteam::stats_dmg_suffered});
    x -= w + 1;
    cols.push_back({x, w, g_gamemode_score > 0 ? "Dmg caused" : "Damage caused", &Tteam::stats_dmg_caused});
    x -= 71;
    cols.push_back({x, 70, "Teamkills", &Tteam::stats_suicides});
    x -= 51;
    cols.push_back({x, 50, "Deaths", &Tteam::stats_deaths});
    x -= 41;
    cols.push_back({x, 40, "Kills", &Tteam::stats_kills});
    if (g_gamemode_score > 0) {
        x -= 51;
        cols.push_back({x, 50, "Score", &Tteam::stats_score});
    }
    flashcol(0);
    SetAlpha(0.5f);
    for (auto& c : cols)
        for (int row = 0; row < 9; ++row) DrawRect((float)c.x, row == 0 ? 76.0f : (float)(95 + 18 * (row - 1)), (float)c.width, 17);
    DrawRect(5, 76, (float)(x - 6), 17);
    SetAlpha(1);
    gui_stext("Team", 11, 78, 0, 100, 100, 100, 1);
    for (auto& c : cols) gui_stext(c.head, c.x + 6, 78, 0, 100, 100, 100, 1);
    int y = 95;
    for (auto& t : Tteam::statscopy) {
        for (auto& c : cols) {
            int best = 0;
            for (auto& o : Tteam::statscopy) best = std::max(best, (*o).*(c.field));
            const int v = (*t).*(c.field);
            const bool top = v == best && menu_stats_buildup >= 50;
            gui_stext(std::to_string(stats_raisenum(v)), c.x + 6, y + 2, 0, 255, top ? 0 : 255, top ? 0 : 255, 1);
        }
        teamcolor(t->color);
        int r = 255, g = 255, b = 255;
        GetColor(r, g, b);
        gui_stext(t->name, 11, y + 2, 0, r, g, b, 1);
        y += 18;
    }
    return 0;
}

int Ts_weapons::draw() {
    int m = 1;
    for (int c = 0; c < 10; ++c) m = std::max(m, uses[sorted[c]]);
    flashcol(0);
    SetAlpha(0.5f);
    DrawRect(5, 76, (float)(set_scrx - 10), 162);
    SetAlpha(1);
    for (int c = 0; c < 10; ++c) {
        const int cx = set_scrxh + 243 - 54 * c;
        const int u = uses[sorted[c]];
        std::string name;
        int image = 0;
        if (sorted[c] > 0 && script_weaponinfo(sorted[c], &name, &image)) {
            int h = (int)std::min(std::trunc((double)u / m * 80), std::min(1.0, menu_stats_buildup / 40.0) * 80);
            const bool hover = in_mx >= cx - 20 && in_mx <= cx + 20 && in_my >= 76 && in_my <= 238;
            if (hover) gui_tt = "usage of '" + name + "': " + std::to_string(u) + "x";
            SetColor(255, 255, 255);
            SetAlpha(0.1f);
            DrawRect((float)cx - 2, (float)(197 - h), 4, (float)(20 + h));
            SetAlpha(1);
            gui_stext(std::to_string(stats_raisenum(u)), cx, 217, 1, 255, hover ? 0 : 255, hover ? 0 : 255, 1);
        } else {
            gui_stext("-", cx, 217, 1, 100, 100, 100, 1);
        }
    }
    gui_stext("Weapons used:", 5, 58, 0, 255, 255, 255, 1);
    gui_stext(std::to_string(stats_raisenum(totaluses)), 100, 58, 0, 255, 255, 255, 1);
    return 0;
}
