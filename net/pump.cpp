// Network pump: opens the game's UDP port. (The per-frame pump is still a
// stand-in.)
#include "net/pump.h"

#include "net/udp/udp.h"

int game_net_iniudp(int port, int force) {
    udp_s_sizelimit = 10000;
    udp_s_recvlimit = 5000;
    if (force == 1 && udp) Fudp_close(0);
    if (!udp) {
        Fudp_initialize();
        Fudp_port(port);
    } else if (port == 0 || port == udp->GetLocalPort()) {
        if (udp->GetLocalPort() == 0) Fudp_port(port);
    } else {
        Fudp_close(0);
        Fudp_initialize();
        Fudp_port(port);
    }
    return 0;
}

int game_net() { return 0; }
