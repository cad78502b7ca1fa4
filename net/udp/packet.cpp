// Reliable-UDP packet: field writers, short-read rules and header placement.
#include "net/udp/packet.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool is_header_type(int b) { return b >= 1 && b <= 4; }

// readpos may run past the end by a field's width on every short read; a
// crafted message read in a loop must still never overflow it.
constexpr int kReadposCap = INT_MAX / 4;

}  // namespace

std::shared_ptr<Tudp_p> Tudp_p::Create() { return std::make_shared<Tudp_p>(); }

int Tudp_p::size() const { return d ? (int)d->Size() : 0; }

int Tudp_p::avail() const { return size() - readpos; }

void Tudp_p::append(const void* bytes, size_t count) {
    if (!d) d = std::make_shared<Bank>();
    auto& v = d->Bytes();
    const uint8_t* b = (const uint8_t*)bytes;
    v.insert(v.end(), b, b + count);
}

int Tudp_p::wsys(int type, int value) {
    if (!d) return 0;
    uint8_t h[3] = {(uint8_t)type, (uint8_t)(value & 255), (uint8_t)((value >> 8) & 255)};
    d->Bytes().insert(d->Bytes().begin(), h, h + 3);
    return 0;
}

int Tudp_p::wlastsys(int type, int value) {
    if (!d) return 0;
    auto& v = d->Bytes();
    size_t s = v.size(), p = 0;
    while (p < s && is_header_type(v[p])) p += 3;
    if (p > s) p = s;
    uint8_t h[3] = {(uint8_t)type, (uint8_t)(value & 255), (uint8_t)((value >> 8) & 255)};
    v.insert(v.begin() + (long)p, h, h + 3);
    return 0;
}

int Tudp_p::wbyte(int value) {
    uint8_t b = (uint8_t)value;
    append(&b, 1);
    return 0;
}

int Tudp_p::wshort(int value) {
    uint8_t b[2] = {(uint8_t)(value & 255), (uint8_t)((value >> 8) & 255)};
    append(b, 2);
    return 0;
}

int Tudp_p::wint(int value) {
    uint32_t v = (uint32_t)value;
    uint8_t b[4];
    for (int i = 0; i < 4; ++i) b[i] = (uint8_t)(v >> (8 * i));
    append(b, 4);
    return 0;
}

int Tudp_p::wlong(int64_t value) {
    uint64_t v = (uint64_t)value;
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = (uint8_t)(v >> (8 * i));
    append(b, 8);
    return 0;
}

int Tudp_p::wfloat(float value) {
    uint32_t v;
    std::memcpy(&v, &value, 4);
    return wint((int)v);
}

int Tudp_p::wdouble(double value) {
    uint64_t v;
    std::memcpy(&v, &value, 8);
    return wlong((int64_t)v);
}

int Tudp_p::wsstr(const std::string& text) {
    size_t n = std::min<size_t>(text.size(), 255);
    wbyte((int)n);
    append(text.data(), n);
    return 0;
}

int Tudp_p::wstr(const std::string& text) {
    size_t n = std::min<size_t>(text.size(), 65535);
    wshort((int)n);
    append(text.data(), n);
    return 0;
}

int Tudp_p::wtstr(const std::string& text, int terminator) {
    append(text.data(), text.size());
    return wbyte(terminator);
}

int Tudp_p::wbank(const BankPtr& bank) {
    size_t n = bank ? std::min<size_t>(bank->Size(), 65535) : 0;
    wshort((int)n);
    if (n) append(bank->Buf(), n);
    return 0;
}

bool Tudp_p::take(int width) {
    readpos = std::min(readpos, kReadposCap) + width;
    return readpos >= width && readpos <= size();
}

int Tudp_p::rbyte() { return take(1) ? d->Buf()[readpos - 1] : 0; }

int Tudp_p::rbytes(int n) {
    if (n > 0) readpos = std::min(std::min(readpos, kReadposCap) + std::min(n, kReadposCap), size());
    return 0;
}

int Tudp_p::rshort() {
    if (!take(2)) return 0;
    const uint8_t* b = d->Buf() + readpos - 2;
    return b[0] | b[1] << 8;
}

int Tudp_p::rint() {
    if (!take(4)) return 0;
    const uint8_t* b = d->Buf() + readpos - 4;
    return (int)((uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24);
}

int64_t Tudp_p::rlong() {
    if (!take(8)) return 0;
    const uint8_t* b = d->Buf() + readpos - 8;
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | b[i];
    return (int64_t)v;
}

float Tudp_p::rfloat() {
    if (!take(4)) return 0.0f;
    float f;
    std::memcpy(&f, d->Buf() + readpos - 4, 4);
    return f;
}

double Tudp_p::rdouble() {
    if (!take(8)) return 0.0;
    double f;
    std::memcpy(&f, d->Buf() + readpos - 8, 8);
    return f;
}

std::string Tudp_p::rsstr() {
    if (!take(1)) return "";
    int n = d->Buf()[readpos - 1];
    if (readpos + n > size()) return "";   // the characters stay unread
    std::string s((const char*)d->Buf() + readpos, (size_t)n);
    readpos += n;
    return s;
}

std::string Tudp_p::rstr() {
    if (!take(2)) return "";
    const uint8_t* b = d->Buf() + readpos - 2;
    int n = b[0] | b[1] << 8;
    if (readpos + n > size()) return "";
    std::string s((const char*)d->Buf() + readpos, (size_t)n);
    readpos += n;
    return s;
}

std::string Tudp_p::rtstr(int terminator) {
    std::string s;
    const uint8_t t = (uint8_t)terminator;
    while (readpos >= 0 && readpos < size()) {
        uint8_t c = d->Buf()[readpos++];
        if (c == t) break;
        s.push_back((char)c);
    }
    return s;
}

BankPtr Tudp_p::rbank() {
    if (!take(2)) return nullptr;
    const uint8_t* b = d->Buf() + readpos - 2;
    int n = b[0] | b[1] << 8;
    readpos += n;
    if (readpos > size()) return nullptr;
    return std::make_shared<Bank>(d->Buf() + readpos - n, (size_t)n);
}

// The host's address as a joined machine knows it.
int g_server_ip = 0, g_server_port = 0;
