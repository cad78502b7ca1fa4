// Net players: the machines taking part in a match. (Stand-in: the fields the
// lobby's minimap sending reads; the game world fills this file.)
#pragma once

#include <list>
#include <memory>

#include "net/udp/packet.h"

struct Tnetpl {
    int id = 0;                      // 0 the host, 1..7 joined machines
    std::shared_ptr<Tudp_con> con;   // null without a connection
    int minimap = 0;                 // minimap parts already sent, 0..5

    static std::list<std::shared_ptr<Tnetpl>> list;
};
