// Reliable-UDP receiving: filing datagrams with their connections
// (acknowledgement, system headers, ordered storage) and in-order delivery
// with joining of parts and the 500-id window.
//
// Datagrams come from anyone. A reliable packet too far ahead to be kept is
// neither stored nor acknowledged, so its sender resends it once the receiver
// has caught up; a copy of one already delivered is acknowledged again (its
// first acknowledgement may have been lost) but not stored.
#include <algorithm>

#include "net/udp/udp_internal.h"

namespace {

constexpr int kMaxDatagramsPerUpdate = 4096;
constexpr int kHalfCircle = 16383;
size_t g_in_total = 0;
constexpr size_t kInTotalBytes = 64u << 20;

bool is_header_type(int b) { return b >= 1 && b <= 4; }

// Bytes of leading system headers in a packet.
size_t header_run(const Tudp_p& p) {
    size_t n = p.d ? p.d->Size() : 0, h = 0;
    while (h < n && is_header_type(p.d->Buf()[h])) h += 3;
    return std::min(h, n);
}

// The packet an acknowledgement goes on: the open one, unless it will be held
// back (an acknowledgement must never wait) or its header run would reach the
// part size (a cut inside the headers would lose the message bytes).
std::shared_ptr<Tudp_p> ack_packet(Tudp_con& con) {
    if (con.lp) {
        const int L = udp_partlimit();
        int future_id = con.lp->id % 2 == 0 ? con.lp->id : (con.lp->size() > L ? con.out_id : 0);
        bool held = future_id != 0 && udp_held_back(con, future_id);
        if (!held && (int)header_run(*con.lp) + 3 < L) return con.lp;
    }
    return con.Createpacket(0, 1);
}

void acknowledge(Tudp_con& con, int id) { ack_packet(con)->wsys(1, id); }

void file_datagram(int ip, int port, const uint8_t* bytes, int size) {
    if (size < 1 || size > udp_s_recvlimit) return;
    if (Tudp_ignore::check(ip, port) == 0) return;
    if (size < 2) return;
    int id = bytes[0] | bytes[1] << 8;
    if (size == 2) return;
    auto con = Tudp_con::Get(ip, port, 0);
    if (!con) {
        if (Tudp_con::list.size() >= kUdpMaxConnections) return;
        con = Tudp_con::Create(ip, port);
    }
    con->timeout = con->kill > 0 ? con->kill : 0;
    auto bank = std::make_shared<Bank>(bytes + 2, (size_t)(size - 2));
    con->inbuffer(id, bank, is_header_type(bytes[2]) ? 1 : 0);
}

}  // namespace

int udp_steps(int a, int b) {
    const int n = 32767;
    int ia = a / 2 - 1, ib = b / 2 - 1;
    return ((ia - ib) % n + n) % n;
}

void udp_in_add(Tudp_con& con, size_t bytes) {
    con.in_bytes += bytes;
    g_in_total += bytes;
}

void udp_in_sub(Tudp_con& con, size_t bytes) {
    bytes = std::min(bytes, con.in_bytes);
    con.in_bytes -= bytes;
    g_in_total -= std::min(bytes, g_in_total);
}

bool udp_in_full(const Tudp_con& con, size_t bytes) {
    return con.in.size() >= kUdpInMaxPackets || con.in_bytes + bytes > kUdpInMaxBytes ||
           g_in_total + bytes > kInTotalBytes;
}

Tudp_con::PacketPtr Tudp_con::inbuffer(int id, const BankPtr& bank, int sys) {
    const bool reliable = id % 2 == 0;
    if (reliable) {
        for (const auto& p : in)
            if (p->id == id) {
                acknowledge(*this, id);
                return nullptr;
            }
    }
    std::vector<uint8_t>& b = bank->Bytes();
    int part = 0;
    size_t at = 0;
    if (sys == 1) {
        while (b.size() - at > 2 && is_header_type(b[at])) {
            int type = b[at], value = b[at + 1] | b[at + 2] << 8;
            at += 3;
            if (type == 1) {
                clearoutbuffer(value);
            } else if (type == 3 && value != sessionid) {
                // A new conversation numbers from 2 on both sides: our queue,
                // numbered the old way, would be taken for new data or drop
                // new data as duplicates.
                reset(value, 0);
                for (auto& p : out) udp_drop_bytes(*p);
                out.clear();
                lp = nullptr;
            } else if (type == 4) {
                part = value;
                break;
            }
        }
        b.erase(b.begin(), b.begin() + (long)at);
    }
    if (reliable) {
        if (id == 0 || id > 65534) return nullptr;
        const int ahead = udp_steps(id, in_id);
        if (ahead > kHalfCircle) {
            acknowledge(*this, id);   // delivered already
            return nullptr;
        }
        if (ahead * 2 >= kUdpWindow) return nullptr;   // too far ahead to keep
        if (b.empty()) {
            acknowledge(*this, id);
            return nullptr;
        }
        if (udp_in_full(*this, b.size())) return nullptr;
        acknowledge(*this, id);
    } else {
        // Deliverable only while in_id - 1 equals it: now or once in_id has
        // reached id + 1 within the window.
        if (id >= 65535 || b.empty()) return nullptr;
        const int ahead = udp_steps(id + 1, in_id);
        if (ahead > kHalfCircle || ahead * 2 >= kUdpWindow) return nullptr;
        if (udp_in_full(*this, b.size())) return nullptr;
    }
    auto p = Tudp_p::Create();
    p->id = id;
    p->d = bank;
    p->part = part;
    auto it = std::find_if(in.begin(), in.end(), [id](const PacketPtr& q) { return q->id >= id; });
    in.insert(it, p);
    udp_in_add(*this, b.size());
    return p;
}

void udp_receive() {
    if (udp_tap) {
        while (!udp_tap->feed.empty()) {
            UdpDatagram g = std::move(udp_tap->feed.front());
            udp_tap->feed.pop_front();
            file_datagram(g.ip, g.port, g.bytes.data(), (int)g.bytes.size());
        }
        return;
    }
    if (!udp) return;
    std::vector<uint8_t> bytes;
    for (int n = 0; n < kMaxDatagramsPerUpdate && udp->MsgWaiting(); ++n) {
        int size = udp->RecvMsg();
        if (size >= 1 && size <= udp_s_recvlimit) {
            bytes.resize((size_t)size);
            udp->Read(bytes.data(), bytes.size());
            file_datagram(udp->GetMsgIP(), udp->GetMsgPort(), bytes.data(), size);
        }
        udp->Flush();
    }
}

namespace {

// Joins the parts that start at p (part 1, id in_id) along consecutive
// reliable ids, each with the next part number, up to the last (65535).
std::shared_ptr<Tudp_p> join_parts(Tudp_con& con, const std::shared_ptr<Tudp_p>& p) {
    if (p->part != 1) return nullptr;
    std::vector<std::shared_ptr<Tudp_p>> parts{p};
    int id = p->id;
    for (int k = 2;; ++k) {
        if (k >= 65535 || parts.size() * 2 >= (size_t)kUdpWindow) return nullptr;
        id = udp_nextid(id);
        std::shared_ptr<Tudp_p> q;
        for (const auto& c : con.in)
            if (c->id == id && c->done == 0) {
                q = c;
                break;
            }
        if (!q || (q->part != k && q->part != 65535)) return nullptr;
        parts.push_back(q);
        if (q->part == 65535) break;
    }
    udp_in_sub(con, (size_t)p->size());
    for (size_t i = 1; i < parts.size(); ++i) {
        auto& q = parts[i];
        udp_in_sub(con, (size_t)q->size());
        p->d->Bytes().insert(p->d->Bytes().end(), q->d->Bytes().begin(), q->d->Bytes().end());
        udp_drop_bytes(*q);
        q->done = 1;
    }
    p->done = 1;
    for (size_t i = 0; i < parts.size(); ++i) con.in_id = udp_nextid(con.in_id);
    return p;
}

}  // namespace

std::shared_ptr<Tudp_p> Fudp_process() {
    udp_con = nullptr;
    udp_p = nullptr;
    for (const auto& con : Tudp_con::list) {
        for (auto it = con->in.begin(); it != con->in.end();) {
            auto p = *it;
            if (p->done != 0) {
                udp_drop_bytes(*p);
                it = con->in.erase(it);
                continue;
            }
            if (p->id == con->in_id - 1 || (p->id == con->in_id && p->part == 0)) {
                if (p->id == con->in_id) con->in_id = udp_nextid(con->in_id);
                p->done = 1;
                udp_in_sub(*con, (size_t)p->size());
                if (p->size() > 0) {
                    udp_con = con;
                    udp_p = p;
                    return p;
                }
            } else if (p->id == con->in_id) {
                if (auto joined = join_parts(*con, p)) {
                    udp_con = con;
                    udp_p = joined;
                    return joined;
                }
            } else if (Fudp_window(p->id, con->in_id, kUdpWindow) == 0) {
                p->done = 1;
                udp_in_sub(*con, (size_t)p->size());
                udp_drop_bytes(*p);
                it = con->in.erase(it);
                continue;
            }
            ++it;
        }
    }
    return nullptr;
}

int Fudp_window(int a, int b, int w) {
    if (std::abs(a - b) < w) return 1;
    if (a < w) return b > 65535 - (w - a) ? 1 : 0;
    if (b < w) return a > 65535 - (w - b) ? 1 : 0;
    return 0;
}
