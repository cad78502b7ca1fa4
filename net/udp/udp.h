// Reliable-UDP layer: module settings, the one socket stream, the update step
// (receive, then send what is due), in-order delivery and the ignore list.
//
// The layer never blocks and has no thread: the pump calls Fudp_update once a
// frame, then Fudp_process until it gives null. Limits keep the cost of
// foreign datagrams bounded: at most kUdpMaxConnections connections are made
// by arrivals, and each connection's `in` holds at most kUdpInMaxPackets
// packets or kUdpInMaxBytes bytes; a datagram beyond a cap is dropped
// unacknowledged, so its sender resends it later.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <vector>

#include "net/socket/udp_stream.h"
#include "net/udp/connection.h"

extern int udp_s_rsdelay;     // 500 ms: first resend delay and its step
extern int udp_s_rsdelaym;    // 5000 ms: longest resend delay
extern int udp_s_rsmax;       // 20 transmissions before `error`
extern int udp_s_sizelimit;   // 490 bytes: longer open packets are cut into parts
extern int udp_s_recvlimit;   // 5000 bytes: longest datagram accepted, id included

extern std::shared_ptr<TUDPStream> udp;   // null while closed
extern std::shared_ptr<Tudp_con> udp_con;  // the last delivery's connection
extern std::shared_ptr<Tudp_p> udp_p;      // the last delivered packet

constexpr size_t kUdpMaxConnections = 1024;
constexpr size_t kUdpInMaxPackets = 1000;
constexpr size_t kUdpInMaxBytes = 8u << 20;
// Reliable packets this many ids or more after the oldest unacknowledged one
// wait in `out`: the receiver keeps only packets within 500 ids.
constexpr int kUdpHoldBackIds = 400;
constexpr int kUdpWindow = 500;

int Fudp_initialize();
int Fudp_port(int port);
int Fudp_close(int keep);
int Fudp_update();
std::shared_ptr<Tudp_p> Fudp_process();
int Fudp_window(int a, int b, int w);
// Starts talking to a peer afresh (a join request, a server-list ping): both
// sides number from 2 again. Takes the connection, resets it to the clock / 100
// with clearing, opens the packet (reliable for a join request, unreliable for
// pings) and puts the new-conversation header in front; the caller appends
// its message.
std::shared_ptr<Tudp_p> Fudp_newconversation(int ip, int port, int reliable);

// The largest part: a part header and the id must still fit the receive limit.
int udp_partlimit();
// Steps an id counter: +2, and past 65535 back to 2.
int udp_nextid(int id);

struct Tudp_ignore {
    int ip = 0;
    int port = 0;      // 0 every port of ip
    int timeout = 0;   // calls of update left; 0 never expires

    static std::list<std::shared_ptr<Tudp_ignore>> list;
    static int add(int ip, int port, int timeout);
    static int check(int ip, int port);   // 0 when ignored, else 1
    static int update();
};

// Test seams. The clock is read once per Fudp_update. With a tap installed
// the layer neither reads nor writes the socket: it takes datagrams from
// `feed` and appends what it transmits to `sent`. udp_first_id sets where a
// new connection's counters start (2 in the game).
struct UdpDatagram {
    int ip = 0;
    int port = 0;
    std::vector<uint8_t> bytes;
};
struct UdpTap {
    std::deque<UdpDatagram> feed;
    std::vector<UdpDatagram> sent;
};
extern std::function<int()> udp_clock;
extern UdpTap* udp_tap;
extern int udp_first_id;
