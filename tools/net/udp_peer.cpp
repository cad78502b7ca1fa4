// Test peer: drives the reliable-UDP layer against another machine and checks
// what comes back. Ends by itself; exit 0 when everything checked out.
//
//   udp_peer --to PORT [--port P] [--mode echo|stream] [--count N]
//            [--first-id N] [--seconds S]
//
// echo: sends N messages to an echo program (reliable ones in packets of
//   their own with an unreliable packet after each, every 25th reliable
//   message larger than a part) and checks the echoes: every reliable one
//   once and in order, every unreliable one in its place (after exactly the
//   reliable messages written before it). Done when all reliable echoes are in
//   and all its own packets are acknowledged.
// stream: sends one reliable message per frame for N frames and checks the
//   other peer's stream likewise; done when both streams are complete.
//
// Message: [10][u8 kind 0 reliable, 1 unreliable, 2 done][int seq]
//          [int reliable messages written before it][u16 n][n pattern bytes]
#include <cstdio>
#include <string>

#include "args.h"
#include "net/pump.h"
#include "net/udp/udp.h"
#include "platform/system.h"

namespace {

constexpr int kLoopback = 0x7F000001;

uint8_t pattern(int seq, int i) { return (uint8_t)(seq * 7 + i * 13 + (i >> 8)); }

void write_message(Tudp_p& p, int kind, int seq, int before, int n) {
    p.wbyte(10);
    p.wbyte(kind);
    p.wint(seq);
    p.wint(before);
    p.wshort(n);
    for (int i = 0; i < n; ++i) p.wbyte(pattern(seq, i));
}

struct Checker {
    int next_reliable = 0;
    long unreliable = 0;
    int done_seen = 0;
    std::string error;

    void read(Tudp_p& p) {
        while (p.readpos < p.size() && error.empty()) {
            int id = p.rbyte(), kind = p.rbyte(), seq = p.rint(), before = p.rint(), n = p.rshort();
            if (id != 10 || p.avail() < n) {
                error = "a damaged message";
                return;
            }
            for (int i = 0; i < n; ++i)
                if (p.rbyte() != pattern(seq, i)) error = "damaged bytes in message " + std::to_string(seq);
            if (kind == 0) {
                if (seq != next_reliable)
                    error = "reliable " + std::to_string(seq) + " came when " + std::to_string(next_reliable) + " was due";
                ++next_reliable;
            } else if (kind == 1) {
                if (before != next_reliable)
                    error = "unreliable " + std::to_string(seq) + " out of place: after " + std::to_string(next_reliable) +
                            " reliable, written after " + std::to_string(before);
                ++unreliable;
            } else {
                done_seen = 1;
            }
        }
    }
};

bool all_acknowledged(const Tudp_con& con) {
    for (const auto& p : con.out)
        if (p->d && p->id % 2 == 0) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int to = arg_int(argc, argv, "--to", 0);
    const std::string mode = arg_str(argc, argv, "--mode", "echo");
    const int count = arg_int(argc, argv, "--count", 2000);
    const int seconds = arg_int(argc, argv, "--seconds", 120);
    udp_first_id = arg_int(argc, argv, "--first-id", 2);
    game_net_iniudp(arg_int(argc, argv, "--port", 0), 0);
    if (!udp || udp->GetLocalPort() == 0 || to <= 0) {
        std::fprintf(stderr, "udp_peer: cannot bind, or no --to port\n");
        return 2;
    }
    auto con = Tudp_con::Get(kLoopback, to, 1);
    Checker check;
    int written = 0, reliable_written = 0, frames = 0, done_frame = -1, done_sent = 0;
    const int start = MilliSecs();
    int next = start;
    auto elapsed = [&] { return (int)((unsigned)MilliSecs() - (unsigned)start); };
    while (elapsed() < seconds * 1000) {
        Fudp_update();
        while (auto p = Fudp_process()) {
            if (udp_con == con) check.read(*p);
            udp_con->in.remove(p);
        }
        if (!check.error.empty()) break;
        if (mode == "echo") {
            if (written < count) {
                auto r = con->Createpacket(1, 1);
                for (int i = 0; i < 8 && written < count; ++i, ++written) {
                    int n = reliable_written % 25 == 24 ? 6000 + reliable_written : 20 + written % 50;
                    write_message(*r, 0, reliable_written++, 0, n);
                }
                if (written < count) {
                    auto u = con->Createpacket(0, 1);
                    for (int i = 0; i < 4 && written < count; ++i, ++written) write_message(*u, 1, written, reliable_written, 30);
                }
            } else if (check.next_reliable == reliable_written && all_acknowledged(*con) && done_frame < 0) {
                done_frame = frames;
            }
        } else {
            if (frames < count) {
                write_message(*con->Createpacket(1, 0), 0, reliable_written++, 0, 8 + frames % 40);
            } else if (check.next_reliable == count && !done_sent) {
                write_message(*con->Createpacket(1, 0), 2, 0, 0, 0);
                done_sent = 1;
            } else if (done_sent && check.done_seen && all_acknowledged(*con) && done_frame < 0) {
                done_frame = frames;
            }
        }
        // A second of pumping after the end acknowledges the other side's
        // last resends.
        if (done_frame >= 0 && frames - done_frame >= 50) break;
        ++frames;
        next += 20;
        int wait = (int)((unsigned)next - (unsigned)MilliSecs());
        if (wait > 0) Delay(wait);
    }
    std::printf("reliable %d of %d, unreliable %ld, error %d, %d ms\n", check.next_reliable, reliable_written,
                check.unreliable, con->error, elapsed());
    if (!check.error.empty()) {
        std::printf("FAILED: %s\n", check.error.c_str());
        return 1;
    }
    if (done_frame < 0) {
        std::printf("FAILED: not finished in time\n");
        return 1;
    }
    return 0;
}
