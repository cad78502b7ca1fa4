// Lossy UDP proxy on 127.0.0.1 for testing the reliable-UDP layer: datagrams
// from the first client go to the target port and the target's go back to
// that client, each dropped, duplicated, delayed or reordered by a seeded
// generator, and all dropped during an outage. Ends by itself.
//
//   udp_proxy --target PORT [--listen P] [--seed N] [--loss PCT] [--dup PCT]
//             [--reorder PCT] [--delay MS] [--outage-from MS]
//             [--outage-for MS] [--seconds S]
//
// The listening port is printed as "port N". Times count from start-up.
#include <cstdio>
#include <map>
#include <random>
#include <vector>

#include "args.h"
#include "platform/socket.h"
#include "platform/system.h"

namespace {

constexpr int kLoopback = 0x7F000001;

struct Pending {
    int port;
    std::vector<uint8_t> bytes;
};

}  // namespace

int main(int argc, char** argv) {
    const int target = arg_int(argc, argv, "--target", 0);
    const int loss = arg_int(argc, argv, "--loss", 20);
    const int dup = arg_int(argc, argv, "--dup", 5);
    const int reorder = arg_int(argc, argv, "--reorder", 10);
    const int delay = arg_int(argc, argv, "--delay", 5);
    const int outage_from = arg_int(argc, argv, "--outage-from", 0);
    const int outage_for = arg_int(argc, argv, "--outage-for", 0);
    const int seconds = arg_int(argc, argv, "--seconds", 120);
    std::mt19937 rng((unsigned)arg_int(argc, argv, "--seed", 1));
    auto chance = [&](int pct) { return (int)(rng() % 100) < pct; };

    int sock = SocketCreateUDP();
    SocketSetBuffers(sock, 1 << 20, 1 << 20);
    if (sock < 0 || target <= 0 || !SocketBind(sock, arg_int(argc, argv, "--listen", 0))) {
        std::fprintf(stderr, "udp_proxy: cannot bind, or no --target port\n");
        return 2;
    }
    std::printf("port %d\n", SocketLocalPort(sock));
    std::fflush(stdout);

    const int start = MilliSecs();
    auto now = [&] { return (int)((unsigned)MilliSecs() - (unsigned)start); };
    int client = 0;
    long passed = 0, dropped = 0;
    std::multimap<int, Pending> queue;   // by due time
    std::vector<uint8_t> buf(65536);
    while (now() < seconds * 1000) {
        int wait = queue.empty() ? 20 : std::max(0, std::min(20, queue.begin()->first - now()));
        SocketWaitReadable(sock, wait);
        for (int n = 0; n < 1000; ++n) {
            int ip = 0, port = 0;
            int size = SocketRecvFrom(sock, buf.data(), buf.size(), ip, port);
            if (size < 0) break;
            if (ip != kLoopback) continue;
            int to;
            if (port == target) {
                to = client;
            } else {
                client = port;
                to = target;
            }
            int t = now();
            if (to == 0 || (t >= outage_from && t < outage_from + outage_for) || chance(loss)) {
                ++dropped;
                continue;
            }
            int copies = chance(dup) ? 2 : 1;
            for (int c = 0; c < copies; ++c) {
                int due = t + delay + (chance(reorder) ? (int)(rng() % 60) : 0);
                queue.insert({due, Pending{to, std::vector<uint8_t>(buf.begin(), buf.begin() + size)}});
            }
        }
        while (!queue.empty() && queue.begin()->first <= now()) {
            const Pending& p = queue.begin()->second;
            SocketSendTo(sock, p.bytes.data(), p.bytes.size(), kLoopback, p.port);
            ++passed;
            queue.erase(queue.begin());
        }
    }
    std::printf("passed %ld, dropped %ld\n", passed, dropped);
    SocketClose(sock);
    return 0;
}
