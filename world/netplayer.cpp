// Net players (stand-in: the list).
#include "world/netplayer.h"

std::list<std::shared_ptr<Tnetpl>> Tnetpl::list;
