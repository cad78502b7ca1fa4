// Reliable-UDP packets and connections: the packet a message is written into
// and the peer connection that queues it. (Stand-in: packets collect their
// bytes in an outgoing list that nothing sends yet; the layer fills this file.)
//
// Writers append little-endian values to the packet's data bank. A reliable
// packet takes the connection's next even id when it is opened.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "platform/bank.h"

struct Tudp_p {
    int id = 0;
    int reliable = 0;
    BankPtr d = std::make_shared<Bank>();   // the packet's data

    void wbyte(int value);    // low 8 bits
    void wshort(int value);   // low 16 bits, unsigned little-endian
    void wint(int value);     // signed 32-bit little-endian
    // u16 length and the bytes (at most 65535); a null bank writes length 0.
    void wbank(const BankPtr& bank);
    // u16 length and one byte per character (at most 65535 characters).
    void wstr(const std::string& text);
    // u8 length and one byte per character (at most 255 characters).
    void wsstr(const std::string& text);
};

struct Tudp_con {
    std::list<std::shared_ptr<Tudp_p>> in;    // received packets, in id order
    int in_id = 0;                            // next expected incoming id
    std::list<std::shared_ptr<Tudp_p>> out;   // packets waiting to leave
    int out_id = 0;                           // next outgoing reliable id
    int error = 0;
    std::shared_ptr<Tudp_p> lp;   // the open packet, null when closed

    // The packet the next message goes into, kept open in lp: with fresh 0
    // the open packet is reused (made reliable when asked) and a new one is
    // opened when none is open; fresh 1 always opens a new one. New packets
    // join the outgoing list.
    std::shared_ptr<Tudp_p> Createpacket(int reliable, int fresh);

    // ---- Connection lookup (stand-in: a plain list of connections).
    int ip = 0, port = 0;
    static std::list<std::shared_ptr<Tudp_con>> list;
    // The connection to ip:port; create 1 makes one when there is none.
    static std::shared_ptr<Tudp_con> Get(int ip, int port, int create);
};

// The host's address as a joined machine knows it (IPv4 as a 32-bit integer).
extern int g_server_ip, g_server_port;
