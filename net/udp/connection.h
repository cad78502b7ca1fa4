// Reliable-UDP connection: one peer address and port with its queues of
// received and outgoing packets, id counters and the open packet that
// messages to the peer are appended to.
//
// Reliable ids step 2, 4, ..., 65534, 2 ...; an unreliable packet takes
// out_id - 1. The open packet lp is also a member of out.
#pragma once

#include <list>
#include <memory>

#include "net/udp/packet.h"

struct Tudp_con {
    using PacketPtr = std::shared_ptr<Tudp_p>;
    using Ptr = std::shared_ptr<Tudp_con>;

    int sessionid = 0;   // the conversation value of the last reset
    int ip = 0;
    int port = 0;        // 0..65535
    std::list<PacketPtr> in;    // received, ascending ids, latest arrival first among equals
    int in_id = 2;              // next reliable id to deliver
    std::list<PacketPtr> out;   // to send or awaiting acknowledgement, in opening order
    int out_id = 2;             // next reliable id to give out
    PacketPtr lp;               // the open packet, null when none
    int timeout = 0;            // seconds since the peer's last datagram
    int timeoutr = 0;
    int kill = 0;
    int error = 0;              // 1 once a reliable packet went out more than udp_s_rsmax times
    std::list<PacketPtr> tmp;   // chosen in the current send pass
    size_t in_bytes = 0;        // payload bytes held in `in`, for its cap

    static std::list<Ptr> list;   // every connection, in creation order

    Tudp_con() = default;
    Tudp_con(const Tudp_con&) = delete;
    Tudp_con& operator=(const Tudp_con&) = delete;
    ~Tudp_con();

    static Ptr Create(int ip, int port);
    static int Free(const Ptr& con);
    static Ptr Get(int ip, int port, int create);

    int reset(int value, int clear);
    // The packet to append the next message to (see the layer's notes).
    PacketPtr Createpacket(int reliable, int fresh);

    PacketPtr inbuffer(int id, const BankPtr& bank, int sys);
    int partition();
    int clearoutbuffer(int id);
    int sendnow(const PacketPtr& p);

    // Drops every packet of in and out and closes the open packet.
    void drop_all();
};
