// Network pump (stand-in until networking exists).
#include "net/pump.h"

int game_net_iniudp(int, int) { return 1; }
int game_net() { return 0; }
