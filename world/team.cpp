// Teams: the team list, ids, the turn-order pick and the team queries.
#include "world/team.h"

#include <algorithm>
#include <climits>

#include "core/random.h"
#include "core/shared_state.h"
#include "platform/system.h"
#include "world/player.h"

std::list<Tteam::Ptr> Tteam::list;
std::list<Tteam::Ptr> Tteam::statscopy;
int Tteam::random = 0;

void stats_add(int& counter, int64_t amount) {
    counter = (int)std::clamp<int64_t>((int64_t)counter + amount, INT_MIN, INT_MAX);
}

Tteam::Ptr Tteam::add(int id, int netplayer, const std::string& name, int color, int players, int extra) {
    if (id >= 0 && id <= 7)
        list.remove_if([&](const Ptr& t) { return t->id == id; });
    auto t = std::make_shared<Tteam>();
    t->id = 255;
    list.push_back(t);
    if (id < 0 || id >= 8) {   // callers never pass a negative id; treat one as automatic
        id = 8;
        for (int k = 0; k <= 7 && id == 8; ++k)
            if (!get(k)) id = k;
    }
    t->id = id;
    if (t->id >= 8) {
        Notify("FATAL ERROR:\nFAILED TO ASSIGN ID TO TEAM", true);
        End(1);
    }
    t->netplayer = netplayer;
    t->name = name;
    t->color = std::clamp(color, 0, 7);
    t->players = std::clamp(players, 1, 6);
    t->extra = std::clamp(extra, 0, 9);
    return t;
}

Tteam::Ptr Tteam::get(int id) {
    for (auto& t : list)
        if (t->id == id) return t;
    return nullptr;
}

Tteam::Ptr Tteam::weaponmenuteam() {
    auto turn = get(g_turn_team);
    if (g_replay == 1) return turn;
    if (turn && turn->netplayer == g_player) return turn;
    if (turn)
        for (auto& t : list)
            if (t != turn && t->netplayer == g_player && t->color == turn->color) return turn;
    for (auto& t : list)
        if (t->netplayer == g_player) return t;
    return nullptr;
}

int Tteam::randomid() {
    if (random == -1) {
        int r = Rand(0, (int)list.size() - 1), i = 0;
        for (auto& t : list)
            if (i++ == r) {
                random = t->id;
                return random;
            }
        return 0;
    }
    if (list.empty()) return -1;
    // Listed teams carry ids 0..7, so at most eight steps find one.
    for (int step = 0; step < 8; ++step) {
        random = random + 1 > 7 ? 0 : random + 1;
        if (get(random)) return random;
    }
    return -1;
}

int Tteam::sort() {
    std::list<Ptr> sorted;
    for (int k = 0; k <= 7; ++k)
        if (auto t = get(k)) sorted.push_back(t);
    list = std::move(sorted);
    return 0;
}

int Tteam::netplayerteams(int netplayer) {
    int n = 0;
    for (auto& t : list)
        if (t->netplayer == netplayer) ++n;
    return n;
}

int Tteam::livingplayers() const {
    int n = 0;
    for (auto& p : Tplayer::list)
        if (p->team == id && p->health > 0) ++n;
    return n;
}

int Tteam::needspawnplayers() const {
    int n = 0;
    for (auto& p : Tplayer::list)
        if (p->team == id && p->health == 0 && p->x == -5000.0f && p->y == -5000.0f) ++n;
    return n;
}

int Tteam::copyteam(const Tteam& source) {
    id = source.id;
    netplayer = source.netplayer;
    name = source.name;
    color = source.color;
    stats_dmg_caused = source.stats_dmg_caused;
    stats_dmg_suffered = source.stats_dmg_suffered;
    stats_kills = source.stats_kills;
    stats_deaths = source.stats_deaths;
    stats_suicides = source.stats_suicides;
    stats_score = source.stats_score;
    return 0;
}
