// Reliable-UDP packets and connections (stand-in: byte writers and the
// outgoing list).
#include "net/udp/packet.h"

#include <algorithm>

void Tudp_p::wbyte(int value) { d->Bytes().push_back((uint8_t)value); }

void Tudp_p::wshort(int value) {
    wbyte(value & 255);
    wbyte((value >> 8) & 255);
}

void Tudp_p::wint(int value) {
    uint32_t v = (uint32_t)value;
    for (int i = 0; i < 4; ++i) wbyte((int)((v >> (8 * i)) & 255));
}

void Tudp_p::wbank(const BankPtr& bank) {
    size_t n = bank ? std::min<size_t>(bank->Size(), 65535) : 0;
    wshort((int)n);
    if (n) d->Bytes().insert(d->Bytes().end(), bank->Buf(), bank->Buf() + n);
}

void Tudp_p::wstr(const std::string& text) {
    size_t n = std::min<size_t>(text.size(), 65535);
    wshort((int)n);
    d->Bytes().insert(d->Bytes().end(), text.begin(), text.begin() + (long)n);
}

void Tudp_p::wsstr(const std::string& text) {
    size_t n = std::min<size_t>(text.size(), 255);
    wbyte((int)n);
    d->Bytes().insert(d->Bytes().end(), text.begin(), text.begin() + (long)n);
}

std::shared_ptr<Tudp_p> Tudp_con::Createpacket(int reliable, int fresh) {
    if (fresh == 0 && lp) {
        if (reliable == 1 && !lp->reliable) {
            lp->reliable = 1;
            lp->id = out_id;
            out_id += 2;
        }
        return lp;
    }
    auto p = std::make_shared<Tudp_p>();
    if (reliable == 1) {
        p->reliable = 1;
        p->id = out_id;
        out_id += 2;
    } else {
        p->id = 1;   // unreliable packets carry odd ids
    }
    out.push_back(p);
    lp = p;
    return p;
}

std::list<std::shared_ptr<Tudp_con>> Tudp_con::list;
int g_server_ip = 0, g_server_port = 0;

std::shared_ptr<Tudp_con> Tudp_con::Get(int ip, int port, int create) {
    for (auto& c : list)
        if (c->ip == ip && c->port == port) return c;
    if (!create) return nullptr;
    auto c = std::make_shared<Tudp_con>();
    c->ip = ip;
    c->port = port;
    list.push_back(c);
    return c;
}
