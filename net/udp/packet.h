// Reliable-UDP packet: a growable byte buffer with a read position, the typed
// little-endian field writers and readers every message is built from, and the
// per-packet bookkeeping of the layer (id, send state, part, resend timers).
//
// Readers never touch a byte outside the bank: a short read gives 0, 0.0, ""
// or no bank and leaves readpos as the wire rules say (past the end for the
// fixed-width fields, so avail() turns negative). Text is one byte per
// character. A text or bank longer than its length field can count is cut to
// the limit (255 or 65535) so the count always matches what follows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/bank.h"

struct Tudp_p {
    int id = 0;          // even ids reliable, odd ids unreliable
    BankPtr d = std::make_shared<Bank>();   // headers then messages; null once dropped
    int readpos = 0;
    // Sending side: 0 not yet sent, 1 sent and awaiting acknowledgement,
    // 2 acknowledged, 3 unreliable and sent. Receiving side: 0 waiting,
    // 1 delivered.
    int done = 0;
    int part = 0;        // 0 whole, 1.. n-1 parts, 65535 the last part
    int rs_timer = 0;    // clock of the latest transmission
    int rs_delay = 0;    // ms that must pass after rs_timer before a resend
    int rs_attempt = 0;  // transmissions so far

    static std::shared_ptr<Tudp_p> Create();

    int size() const;
    int avail() const;

    // System headers: wsys puts one in front of everything, wlastsys after the
    // headers already at the front. Both leave a bankless packet alone.
    int wsys(int type, int value);
    int wlastsys(int type, int value);

    int wbyte(int value);     // low 8 bits
    int wshort(int value);    // low 16 bits, unsigned
    int wint(int value);      // signed 32-bit
    int wlong(int64_t value);
    int wfloat(float value);
    int wdouble(double value);
    int wsstr(const std::string& text);    // u8 count, at most 255 characters
    int wstr(const std::string& text);     // u16 count, at most 65535 characters
    int wtstr(const std::string& text, int terminator);
    int wbank(const BankPtr& bank);        // u16 count, at most 65535 bytes; null as empty

    int rbyte();
    int rbytes(int n);        // skips n bytes, result 0
    int rshort();
    int rint();
    int64_t rlong();
    float rfloat();
    double rdouble();
    std::string rsstr();
    std::string rstr();
    std::string rtstr(int terminator);
    BankPtr rbank();          // null on a short read; an empty bank for count 0

private:
    // Advances readpos by width; true when the field lies inside the bank.
    bool take(int width);
    void append(const void* bytes, size_t count);
};

// Senders reach the connection type through this header.
#include "net/udp/connection.h"

// The host's address as a joined machine knows it (IPv4 as a 32-bit integer).
extern int g_server_ip, g_server_port;
