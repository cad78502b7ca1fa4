// Reliable-UDP tests: a fixture that runs the layer through the datagram tap
// with an injected clock, one Fudp_update per simulated 20-ms frame.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "net/udp/udp.h"

namespace udp_test {

using Bytes = std::vector<uint8_t>;
constexpr int kPeerIp = 0x7F000001;

inline void reset_layer() {
    while (!Tudp_con::list.empty()) Tudp_con::Free(Tudp_con::list.front());
    Tudp_ignore::list.clear();
    udp_s_rsdelay = 500;
    udp_s_rsdelaym = 5000;
    udp_s_rsmax = 20;
    udp_s_sizelimit = 490;
    udp_s_recvlimit = 5000;
    udp_first_id = 2;
    udp_con = nullptr;
    udp_p = nullptr;
}

class UdpTest : public ::testing::Test {
protected:
    UdpTap tap;
    int clock = 10000;

    void SetUp() override {
        reset_layer();
        udp_tap = &tap;
        udp_clock = [this] { return clock; };
    }
    void TearDown() override {
        reset_layer();
        udp_tap = nullptr;
        udp_clock = nullptr;
    }

    void feed(int port, const Bytes& bytes) { tap.feed.push_back({kPeerIp, port, bytes}); }
    // A datagram: the id, then the payload.
    static Bytes datagram(int id, const Bytes& payload) {
        Bytes b{(uint8_t)(id & 255), (uint8_t)(id >> 8)};
        b.insert(b.end(), payload.begin(), payload.end());
        return b;
    }
    void frame(int ms = 20) {
        clock += ms;
        Fudp_update();
    }
    // Takes what left so far.
    std::vector<UdpDatagram> sent() {
        std::vector<UdpDatagram> s;
        s.swap(tap.sent);
        return s;
    }
    static int id_of(const UdpDatagram& g) { return g.bytes[0] | g.bytes[1] << 8; }
    // Every packet deliverable now, as (connection port, packet).
    std::vector<std::pair<int, std::shared_ptr<Tudp_p>>> deliver_all() {
        std::vector<std::pair<int, std::shared_ptr<Tudp_p>>> got;
        while (auto p = Fudp_process()) {
            got.push_back({udp_con->port, p});
            udp_con->in.remove(p);
        }
        return got;
    }
    // Sends what left back in as if from another peer port.
    void relay(const std::vector<UdpDatagram>& grams, int as_port) {
        for (const auto& g : grams) feed(as_port, g.bytes);
    }
};

}  // namespace udp_test
