// Reliable-UDP layer (stand-in until networking exists).
#include "net/udp/udp.h"

int Fudp_initialize() { return 0; }
