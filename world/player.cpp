// Players (stand-in: plain deterministic motion until the game world exists).
#include "world/player.h"

#include "core/shared_state.h"
#include "world/frame_buffer.h"

std::list<std::shared_ptr<Tplayer>> Tplayer::list;

std::shared_ptr<Tplayer> Tplayer::get(int id) {
    for (auto& p : list)
        if (p->id == id) return p;
    return nullptr;
}

std::shared_ptr<Tplayer> Tplayer::add(int id, int team) {
    if (id == 0)
        for (int i = 1; i <= 255 && id == 0; ++i)
            if (!get(i)) id = i;
    if (id == 0 || get(id)) return nullptr;
    auto p = std::make_shared<Tplayer>();
    p->id = id;
    p->team = team;
    list.push_back(p);
    return p;
}

int Tplayer::update() {
    for (auto& p : list) {
        if (p->fx == 0 && p->fy == 0) continue;
        p->x += p->fx;
        p->y += p->fy;
        p->fx *= 0.5f;
        p->fy *= 0.5f;
        if (p->fx > -0.01f && p->fx < 0.01f) p->fx = 0;
        if (p->fy > -0.01f && p->fy < 0.01f) p->fy = 0;
    }
    return 0;
}

int Tplayer::attack(int) { return 0; }

int Tplayer::damage(int amount, int) {
    if (health <= 0 || amount <= 0) return 0;
    health = amount >= health ? 0 : health - amount;
    return 0;
}

int Tplayer::getstates() const {
    return (state_poisoned ? 1 : 0) | (state_confused ? 2 : 0) | (state_frozen ? 4 : 0) | (state_sleeping ? 8 : 0) |
           (state_invisible ? 16 : 0);
}

int Tplayer::setstates(int bits) {
    state_poisoned = (bits & 1) ? 1 : 0;
    state_confused = (bits & 2) ? 1 : 0;
    state_frozen = (bits & 4) ? 1 : 0;
    state_sleeping = (bits & 8) ? 1 : 0;
    state_invisible = (bits & 16) ? 1 : 0;
    return 0;
}

int Tplayer::jump1() {
    fy = -4;
    fx = 2.0f * (float)dir;
    return 0;
}

int Tplayer::jump2() {
    fy = -6;
    fx = -1.0f * (float)dir;
    return 0;
}

int Tplayer::move(int direction, int walk) {
    int want = direction == 0 ? -1 : 1;
    if (dir != want) {
        dir = want;
        wpnrot = -wpnrot;
    } else if (walk) {
        x += (float)want;
    }
    return 0;
}

int Tplayer::sync_damage(int n) {
    if (g_player != g_turn_netplayer || health <= 0 || n <= 0 || !Tfb::fits(6)) return 0;
    Tfb::wbyte(40);
    Tfb::wbyte(id);
    Tfb::wint(n);
    Tfb::copyloc(6);
    return 0;
}

int Tplayer::sync_push(float pfx, float pfy) {
    if (g_player != g_turn_netplayer || !Tfb::fits(18)) return 0;
    Tfb::wbyte(73);
    Tfb::wbyte(id);
    Tfb::wfloat(x);
    Tfb::wfloat(y);
    Tfb::wfloat(pfx);
    Tfb::wfloat(pfy);
    Tfb::copyloc(18);
    return 0;
}
