// Reliable-UDP connection: creating, finding, resetting and freeing
// connections, and opening the packet the next message goes into.
#include "net/udp/connection.h"

#include "net/udp/udp_internal.h"

std::list<Tudp_con::Ptr> Tudp_con::list;

// What a connection still holds stops counting toward the layer's total.
Tudp_con::~Tudp_con() { udp_in_sub(*this, in_bytes); }

Tudp_con::Ptr Tudp_con::Create(int ip, int port) {
    auto c = std::make_shared<Tudp_con>();
    c->ip = ip;
    c->port = port & 0xFFFF;
    c->in_id = udp_first_id;
    c->out_id = udp_first_id;
    list.push_back(c);
    return c;
}

int Tudp_con::Free(const Ptr& con) {
    if (!con) return 0;
    con->drop_all();
    list.remove(con);
    return 0;
}

Tudp_con::Ptr Tudp_con::Get(int ip, int port, int create) {
    // Ports are stored as 16 bits; so are they compared, or a caller passing a
    // wider value would make a new connection on every call.
    for (const Ptr& c : list)
        if (c->ip == ip && c->port == (port & 0xFFFF)) return c;
    return create == 1 ? Create(ip, port) : nullptr;
}

void Tudp_con::drop_all() {
    for (auto& p : in) udp_drop_bytes(*p);
    in.clear();
    udp_in_sub(*this, in_bytes);
    for (auto& p : out) udp_drop_bytes(*p);
    out.clear();
    tmp.clear();
    lp = nullptr;
}

int Tudp_con::reset(int value, int clear) {
    if (value == sessionid) return 0;
    if (clear == 1) drop_all();
    in_id = 2;
    out_id = 2;
    sessionid = value;
    return 0;
}

Tudp_con::PacketPtr Tudp_con::Createpacket(int reliable, int fresh) {
    if (lp) partition();
    if (!lp || fresh == 1) {
        auto p = Tudp_p::Create();
        if (reliable == 1) {
            p->id = out_id;
            out_id = udp_nextid(out_id);
        } else {
            p->id = out_id - 1;
        }
        out.push_back(p);
        lp = p;
        return p;
    }
    // An open unreliable packet turns reliable with everything already in it.
    if (reliable == 1 && lp->id % 2 != 0) {
        lp->id = out_id;
        out_id = udp_nextid(out_id);
    }
    return lp;
}
