// Reliable-UDP sending: cutting long packets into parts, the send pass with
// its resend schedule, acknowledgements and the immediate send.
//
// A part holds at most udp_partlimit() bytes, so with its id and part header
// it still fits the receiver's datagram limit. A reliable packet 400 or more
// ids after the oldest unacknowledged one is held back (receivers keep only
// packets within 500 ids of the next one they deliver).
#include <algorithm>

#include "net/udp/udp_internal.h"

void udp_drop_bytes(Tudp_p& p) {
    if (p.d) p.d->Resize(0);
    p.d = nullptr;
}

bool udp_held_back(const Tudp_con& con, int id) {
    for (const auto& p : con.out) {
        if (p->id % 2 != 0 || !p->d || p->done > 1) continue;
        // The first one in opening order is the oldest.
        return udp_steps(id, p->id) * 2 >= kUdpHoldBackIds;
    }
    return false;
}

int Tudp_con::partition() {
    if (!lp || !lp->d) return 0;
    const size_t L = (size_t)udp_partlimit();
    const size_t n = lp->d->Size();
    if (n <= L) return 0;
    if (lp->id % 2 != 0) {
        lp->id = out_id;
        out_id = udp_nextid(out_id);
    }
    std::vector<uint8_t> all = std::move(lp->d->Bytes());
    lp->d->Bytes().assign(all.begin(), all.begin() + (long)L);
    lp->wlastsys(4, 1);
    int number = 2;
    for (size_t pos = L; pos < n; pos += L, ++number) {
        size_t m = std::min(L, n - pos);
        auto q = Tudp_p::Create();
        q->id = out_id;
        out_id = udp_nextid(out_id);
        out.push_back(q);
        q->d->Bytes().assign(all.begin() + (long)pos, all.begin() + (long)(pos + m));
        q->wsys(4, pos + m >= n ? 65535 : number);
    }
    lp = nullptr;
    return 0;
}

int Tudp_con::clearoutbuffer(int id) {
    for (auto it = out.begin(); it != out.end();) {
        Tudp_p& p = **it;
        // Only a transmitted packet can have been acknowledged; an id that
        // matches a packet not yet sent is a stale or forged one.
        if (p.id == id && p.done == 1) {
            p.done = 2;
            udp_drop_bytes(p);
        }
        if (p.done > 1) {
            udp_drop_bytes(p);
            if (lp == *it) lp = nullptr;
            it = out.erase(it);
        } else {
            ++it;
        }
    }
    return 0;
}

void udp_transmit(Tudp_con& con, const std::shared_ptr<Tudp_p>& p) {
    const std::vector<uint8_t> empty;
    const std::vector<uint8_t>& bytes = p->d ? p->d->Bytes() : empty;
    if (udp_tap) {
        UdpDatagram g;
        g.ip = con.ip;
        g.port = con.port;
        g.bytes.reserve(bytes.size() + 2);
        g.bytes.push_back((uint8_t)(p->id & 255));
        g.bytes.push_back((uint8_t)((p->id >> 8) & 255));
        g.bytes.insert(g.bytes.end(), bytes.begin(), bytes.end());
        udp_tap->sent.push_back(std::move(g));
    } else if (udp) {
        udp->SetRemoteIP(con.ip);
        udp->SetRemotePort(con.port);
        udp->WriteShort(p->id);
        if (!bytes.empty()) udp->Write(bytes.data(), bytes.size());
        udp->SendMsg();
    }
    if (p->done == 3) {
        udp_drop_bytes(*p);
        if (con.lp == p) con.lp = nullptr;
        con.out.remove(p);
    }
}

int Tudp_con::sendnow(const PacketPtr& p) {
    if (!p || p->id % 2 == 0) return 0;
    p->done = 3;
    // Keep the packet alive while it leaves the lists.
    PacketPtr keep = p;
    udp_transmit(*this, keep);
    return 0;
}

void udp_send_pass(int64_t now) {
    long chosen = 0;
    for (const auto& con : Tudp_con::list) {
        if (con->lp) con->partition();
        con->tmp.clear();
        bool holding = false;
        for (const auto& p : con->out) {
            if (!p->d) continue;
            if (p->id % 2 != 0) {
                p->done = 3;
            } else if (p->done == 0) {
                // Later packets have later ids: once one waits, all do.
                if (holding || udp_held_back(*con, p->id)) {
                    holding = true;
                    continue;
                }
                p->done = 1;
                p->rs_timer = (int)now;
                p->rs_attempt = 1;
                p->rs_delay = udp_s_rsdelay;
            } else if (p->done == 1) {
                // A clock behind the stamp went backwards or wrapped: resend.
                if (!(now - p->rs_timer > p->rs_delay || now < p->rs_timer)) continue;
                p->rs_timer = (int)now;
                p->rs_attempt++;
                p->rs_delay = p->rs_delay < udp_s_rsdelaym ? p->rs_delay + udp_s_rsdelay : udp_s_rsdelaym;
                if (p->rs_attempt > udp_s_rsmax) con->error = 1;
            } else {
                continue;
            }
            con->tmp.push_back(p);
            ++chosen;
        }
        con->lp = nullptr;
    }
    // One packet per connection per round, so connections take turns.
    while (chosen > 0) {
        long sent = 0;
        for (const auto& con : Tudp_con::list) {
            if (con->tmp.empty()) continue;
            auto p = con->tmp.front();
            con->tmp.pop_front();
            --chosen;
            ++sent;
            udp_transmit(*con, p);
        }
        if (sent == 0) break;
    }
}
