// Reliable-UDP layer: settings, the socket's life (open, bind, close), the
// update step and the ignore list.
#include "net/udp/udp.h"

#include <algorithm>

#include "net/udp/udp_internal.h"
#include "platform/system.h"

int udp_s_rsdelay = 500;
int udp_s_rsdelaym = 5000;
int udp_s_rsmax = 20;
int udp_s_sizelimit = 490;
int udp_s_recvlimit = 5000;

std::shared_ptr<TUDPStream> udp;
std::shared_ptr<Tudp_con> udp_con;
std::shared_ptr<Tudp_p> udp_p;

std::function<int()> udp_clock;
UdpTap* udp_tap = nullptr;
int udp_first_id = 2;

std::list<std::shared_ptr<Tudp_ignore>> Tudp_ignore::list;

int udp_nextid(int id) {
    id += 2;
    return id > 65535 ? 2 : id;
}

int udp_partlimit() {
    // The datagram of a part is its id (2), the part header (3) and the part.
    return std::max(1, std::min(udp_s_sizelimit, udp_s_recvlimit - 5));
}

int Fudp_initialize() {
    udp = std::make_shared<TUDPStream>();
    udp->Init();
    return 0;
}

int Fudp_port(int port) {
    if (udp) udp->SetLocalPort(port & 0xFFFF);
    return 0;
}

int Fudp_close(int keep) {
    if (keep == 0 && udp) {
        udp->Close();
        udp = nullptr;
    }
    for (const auto& con : Tudp_con::list) con->drop_all();
    return 0;
}

int Fudp_update() {
    if (!udp && !udp_tap) return 0;
    const int64_t now = udp_clock ? udp_clock() : MilliSecs();
    udp_receive();
    udp_send_pass(now);
    return 0;
}

std::shared_ptr<Tudp_p> Fudp_newconversation(int ip, int port, int reliable) {
    auto con = Tudp_con::Get(ip, port, 1);
    const int v = (udp_clock ? udp_clock() : MilliSecs()) / 100;
    con->reset(v, 1);
    auto p = con->Createpacket(reliable, 0);
    p->wsys(3, v & 0xFFFF);
    return p;
}

int Tudp_ignore::add(int ip, int port, int timeout) {
    port &= 0xFFFF;
    for (const auto& e : list) {
        if (e->ip != ip || (e->port != port && e->port != 0)) continue;
        if (timeout == 0) e->timeout = 0;
        if (e->timeout < timeout) e->timeout = timeout;
        return 0;
    }
    auto e = std::make_shared<Tudp_ignore>();
    e->ip = ip;
    e->port = port;
    e->timeout = timeout;
    list.push_back(e);
    if (port != 0) Tudp_con::Free(Tudp_con::Get(ip, port, 0));
    return 0;
}

int Tudp_ignore::check(int ip, int port) {
    for (const auto& e : list)
        if (e->ip == ip && (e->port == (port & 0xFFFF) || e->port == 0)) return 0;
    return 1;
}

int Tudp_ignore::update() {
    for (auto it = list.begin(); it != list.end();) {
        if ((*it)->timeout > 0 && --(*it)->timeout < 1) {
            it = list.erase(it);
            continue;
        }
        ++it;
    }
    return 0;
}
