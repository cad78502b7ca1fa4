// Net players: the list, ids and the lobby operations.
#include "world/netplayer.h"

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "core/text.h"
#include "terrain/pack.h"
#include "terrain/tiles.h"
#include "world/team.h"

#include <algorithm>
#include <iterator>

std::list<std::shared_ptr<Tnetpl>> Tnetpl::list;
int g_filedatarecv = 0, g_filedatatotal = 0, g_filemapsize = 0;

namespace {

std::shared_ptr<Tudp_con> host_con() { return Tudp_con::Get(g_server_ip, g_server_port, 1); }

// The open reliable packet of a connection with the lobby header written.
std::shared_ptr<Tudp_p> lobby_packet(const std::shared_ptr<Tudp_con>& con, int sub) {
    auto p = con->Createpacket(1, 0);
    p->wbyte(240);
    p->wbyte(sub);
    return p;
}

// Replay chat record 90 or 91 while a match is recorded.
void record_chat(int code, int sender, const std::string& text) {
    if (menu != 2 || g_replay != 0 || set_record != 1) return;
    if (!g_replay_cbuffer) g_replay_cbuffer = CreateBank(0);
    auto& b = g_replay_cbuffer->Bytes();
    size_t n = std::min<size_t>(text.size(), 65535);
    b.push_back((uint8_t)code);
    b.push_back((uint8_t)sender);
    b.push_back((uint8_t)(n & 255));
    b.push_back((uint8_t)(n >> 8));
    b.insert(b.end(), text.begin(), text.begin() + (long)n);
}

// The sender's alliance for team chat: the lowest colour among its teams, -1 none.
int alliance_of(int sender) {
    auto np = Tnetpl::get(sender);
    if (!np) return -1;
    for (int a = 0; a < 8; ++a)
        if (np->hasalliance(a)) return a;
    return -1;
}

}  // namespace

std::shared_ptr<Tnetpl> Tnetpl::add(int id, const std::string& name, const std::shared_ptr<Tudp_con>& con) {
    if (id < 8 && get(id)) {
        gui_addcon("net player " + std::to_string(id) + " already exists: refused");
        return nullptr;
    }
    if (id >= 8) {
        for (int i = 0; i < 8 && id >= 8; ++i)
            if (!get(i)) id = i;
    }
    if (id >= 8 || id < 0) {
        gui_addcon("no free net player id: refused");
        return nullptr;
    }
    auto np = std::make_shared<Tnetpl>();
    np->id = id;
    np->name = trimname(name, 30);
    np->con = con;
    list.push_back(np);
    return np;
}

int Tnetpl::getfreeslotid() {
    for (int i = 0; i < 8; ++i)
        if (gui_slot[i] == 1 && !get(i)) return i;
    return 255;
}

std::shared_ptr<Tnetpl> Tnetpl::get(int id) {
    for (auto& np : list)
        if (np->id == id) return np;
    return nullptr;
}

int Tnetpl::chat(int sender, const std::string& text, int send) {
    if (g_server == 1 || send == 0) {
        if (sender == 255) {
            gui_lobby_addline(text);
        } else if (auto np = get(sender)) {
            gui_lobby_addline(np->name + ": " + text);
        }
        if (menu == 2) hud_chat_add(sender, text, 10, "");
        if (sender != 255) record_chat(90, sender, text);
    }
    if (g_server != 1 && send == 1) {
        lobby_packet(host_con(), 1)->wstr(text);
    } else {
        for (auto& np : list)
            if (np->con) {
                auto p = lobby_packet(np->con, 1);
                p->wbyte(sender);
                p->wstr(text);
            }
    }
    return 0;
}

int Tnetpl::teamchat(int sender, const std::string& text, int send) {
    int a = alliance_of(sender);
    if (a < 0) return 0;
    if (g_server == 1 || send == 0) {
        auto local = get(g_player);
        if (local && local->hasalliance(a)) {
            if (auto np = get(sender)) gui_lobby_addline(np->name + " (Team): " + text);
            if (menu == 2) hud_chat_add(sender, text, 10, " (Team)");
            record_chat(91, sender, text);
        }
    }
    if (g_server != 1 && send == 1) {
        lobby_packet(host_con(), 3)->wstr(text);
    } else {
        for (auto& np : list)
            if (np->con && np->hasalliance(a)) {
                auto p = lobby_packet(np->con, 3);
                p->wbyte(sender);
                p->wstr(text);
            }
    }
    return 0;
}

int Tnetpl::gfnotify(int sender, int send) {
    if (g_server == 1 || send == 0) {
        if (g_server == 1 && gui_in_lobby_notify > 5) return 0;
        if (auto np = get(sender)) {
            gui_lobby_addline("*** " + np->name + " sent an audio signal ***");
            play(sfx_v_notify, 1.0f);
            gui_in_lobby_notify = 255;
            if (in_suspended == 1 && in_flashmode < 50) in_flashmode = 50;
        }
    }
    if (g_server != 1 && send == 1) {
        lobby_packet(host_con(), 2);
    } else {
        for (auto& np : list)
            if (np->con) lobby_packet(np->con, 2)->wbyte(sender);
    }
    return 0;
}

int Tnetpl::getlobbyready(int id) {
    auto np = get(id);
    return np ? np->ready : 0;
}

int Tnetpl::lobbyready(int id, int ready, int send) {
    auto np = get(id);
    if (!np) return 0;
    if (g_server == 1 || send == 0) np->ready = ready;
    if (g_server != 1 && send == 1) {
        lobby_packet(host_con(), 30)->wbyte(ready);
    } else {
        for (auto& other : list)
            if (other->con) {
                auto p = lobby_packet(other->con, 30);
                p->wbyte(id);
                p->wbyte(ready);
            }
    }
    if (g_server != 1) return 0;
    for (auto& other : list)
        if (other->ready != 1) return 0;
    if (Tteam::list.empty()) {
        chat(255, "*** You cannot start without any teams! ***", 1);
        lobbyready(0, 0, 1);
        return 0;
    }
    // The map pack goes to every joined machine: pack it first, and refuse the
    // start while there is nothing to send.
    map_compress();
    if (!map_bank) {
        chat(255, "*** The map could not be packed! Not starting. ***", 1);
        lobbyready(0, 0, 1);
        return 0;
    }
    chat(255, "*** All players ready! Starting game! ***", 1);
    for (auto& other : list) {
        other->transferstate = 0;
        other->progress = 0;
        other->transferinfo.clear();
        other->filecurrent.clear();
        other->transfer = 0;
        other->filetransfer = 0;
        other->filelist.clear();
        other->filelistpos = 0;
    }
    g_filedatarecv = g_filedatatotal = g_filemapsize = 0;
    for (auto& other : list)
        if (other->con) lobby_packet(other->con, 100);
    game_resetstart();
    menu_setsub(32);
    return 0;
}

int Tnetpl::lobbysendsettings() {
    if (g_server != 1) return 0;
    auto name_of = [](const std::vector<std::string>& names, int i) {
        return i >= 0 && (size_t)i < names.size() ? names[(size_t)i] : std::string();
    };
    for (auto& np : list) {
        if (!np->con) continue;
        auto p = lobby_packet(np->con, 23);
        for (int i = 0; i < 22; ++i) p->wint(setfreeze[i].empty() ? set[i] : text_toint_saturating(setfreeze[i]));
        p->wsstr(name_of(g_gamemodes, set[19]));
        p->wsstr(name_of(g_gameenders, set[18]));
    }
    return 0;
}

int Tnetpl::activeteams() const {
    int n = 0;
    for (auto& t : Tteam::list)
        if (t->netplayer == id) n += t->livingplayers();
    return n;
}

int Tnetpl::needspawnteams() const {
    int n = 0;
    for (auto& t : Tteam::list)
        if (t->netplayer == id) n += t->needspawnplayers();
    return n;
}

int Tnetpl::reset() {
    for (auto& np : list) {
        np->ready = 0;
        np->turnready = 0;
        np->progress = 0;
        np->transfer = 0;
        np->frameout.clear();
    }
    return 0;
}

int Tnetpl::randomid() {
    int r = Rand(0, (int)list.size() - 1);
    if (list.empty()) return 0;
    auto it = list.begin();
    std::advance(it, std::clamp(r, 0, (int)list.size() - 1));
    return (*it)->id;
}

int Tnetpl::hasalliance(int a) const {
    for (auto& t : Tteam::list)
        if (t->netplayer == id && t->color == a) return 1;
    return 0;
}
