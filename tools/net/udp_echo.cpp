// Echo program: the reliable-UDP layer on a given port with the game's
// settings, pumped every 20 ms, returning each delivered packet to its sender
// as it came (reliable as reliable, unreliable as unreliable).
//
//   udp_echo [--port P] [--first-id N] [--seconds S]
//
// Port 0 takes any free port; the bound port is printed as "port N". The
// program ends by itself after S seconds (default 300).
#include <cstdio>

#include "args.h"
#include "net/pump.h"
#include "net/udp/udp.h"
#include "platform/system.h"

int main(int argc, char** argv) {
    const int port = arg_int(argc, argv, "--port", 0);
    udp_first_id = arg_int(argc, argv, "--first-id", 2);
    const int seconds = arg_int(argc, argv, "--seconds", 300);
    game_net_iniudp(port, 0);
    if (!udp || udp->GetLocalPort() == 0) {
        std::fprintf(stderr, "udp_echo: cannot bind port %d\n", port);
        return 1;
    }
    std::printf("port %d\n", udp->GetLocalPort());
    std::fflush(stdout);
    const int start = MilliSecs();
    int next = start;
    long echoed = 0;
    while ((int)((unsigned)MilliSecs() - (unsigned)start) < seconds * 1000) {
        Fudp_update();
        while (auto p = Fudp_process()) {
            auto con = udp_con;
            auto q = con->Createpacket(p->id % 2 == 0 ? 1 : 0, 1);
            q->d->Bytes() = p->d->Bytes();
            con->in.remove(p);
            ++echoed;
        }
        next += 20;
        int wait = (int)((unsigned)next - (unsigned)MilliSecs());
        if (wait > 0) Delay(wait);
    }
    std::printf("echoed %ld\n", echoed);
    return 0;
}
