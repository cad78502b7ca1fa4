// Fuzz target: random datagrams from many senders through the reliable-UDP
// layer's receiving, sending and delivery (through its datagram tap), and
// random bytes through the packet readers.
//
// Input: one settings byte, then records [u16 port][u8 op][u16 n][n bytes]:
// op bit 0 ends the frame after the datagram (update, then deliver all), bit 1
// also writes a reply to that sender, bit 2 jumps the clock. Properties: no
// crash, no read outside a bank, and the caps on connections and on what each
// connection holds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/udp/udp.h"

namespace {

int g_clock = 0;

void check_caps() {
    if (Tudp_con::list.size() > kUdpMaxConnections) std::abort();
    for (const auto& c : Tudp_con::list)
        if (c->in.size() > kUdpInMaxPackets + 1 || c->in_bytes > kUdpInMaxBytes) std::abort();
}

void read_everything(Tudp_p& p, int seed) {
    // The readers in an order drawn from the packet's own bytes.
    for (int guard = 0; guard < 64 && p.avail() > 0; ++guard) {
        switch ((p.rbyte() + seed) % 11) {
            case 0: p.rshort(); break;
            case 1: p.rint(); break;
            case 2: p.rlong(); break;
            case 3: p.rfloat(); break;
            case 4: p.rdouble(); break;
            case 5: p.rsstr(); break;
            case 6: p.rstr(); break;
            case 7: p.rtstr(p.avail() & 255); break;
            case 8: p.rbank(); break;
            case 9: p.rbytes(p.avail() / 2); break;
            default: p.rbyte(); break;
        }
    }
}

void deliver_all() {
    for (int n = 0; n < 100000; ++n) {
        auto p = Fudp_process();
        if (!p) return;
        read_everything(*p, n);
        udp_con->in.remove(p);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static UdpTap tap;
    udp_tap = &tap;
    udp_clock = [] { return g_clock; };
    while (!Tudp_con::list.empty()) Tudp_con::Free(Tudp_con::list.front());
    tap.feed.clear();
    tap.sent.clear();
    if (size < 1) return 0;
    udp_s_sizelimit = data[0] & 1 ? 10000 : 490;
    udp_first_id = data[0] & 2 ? 65530 : 2;
    g_clock = 10000;

    // The readers on the raw input.
    Tudp_p raw;
    raw.d->Bytes().assign(data, data + size);
    read_everything(raw, data[0]);

    size_t at = 1;
    while (at + 5 <= size) {
        int port = data[at] | data[at + 1] << 8, op = data[at + 2], n = data[at + 3] | data[at + 4] << 8;
        at += 5;
        n = (int)std::min<size_t>((size_t)n, size - at);
        tap.feed.push_back({0x7F000001, port, std::vector<uint8_t>(data + at, data + at + n)});
        at += (size_t)n;
        if (op & 2) {
            auto con = Tudp_con::Get(0x7F000001, port, 1);
            auto p = con->Createpacket(op >> 3 & 1, op >> 4 & 1);
            for (int i = 0; i < (op >> 5) * 300; ++i) p->wbyte(10 + i);
        }
        if (op & 1) {
            g_clock += op & 4 ? (op & 64 ? -7000 : 6000) : 20;
            Fudp_update();
            tap.sent.clear();
            deliver_all();
            check_caps();
        }
    }
    Fudp_update();
    deliver_all();
    check_caps();
    tap.sent.clear();
    return 0;
}
