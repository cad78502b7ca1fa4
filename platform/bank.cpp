// Bank: resizable byte buffer with bounds-checked little-endian access.
#include "platform/bank.h"

#include <algorithm>
#include <cstring>

Bank::Bank(const void* data, size_t size) : bytes_(size) {
    if (size) std::memcpy(bytes_.data(), data, size);
}

void Bank::Resize(size_t size) {
    if (size == 0) {
        std::vector<uint8_t>().swap(bytes_);
        return;
    }
    bytes_.resize(size, 0);
}

int Bank::PeekByte(size_t offset) const { return Has(offset, 1) ? bytes_[offset] : 0; }

int Bank::PeekShort(size_t offset) const {
    return Has(offset, 2) ? bytes_[offset] | (bytes_[offset + 1] << 8) : 0;
}

int32_t Bank::PeekInt(size_t offset) const {
    if (!Has(offset, 4)) return 0;
    uint32_t v = (uint32_t)bytes_[offset] | (uint32_t)bytes_[offset + 1] << 8 | (uint32_t)bytes_[offset + 2] << 16 |
                 (uint32_t)bytes_[offset + 3] << 24;
    return (int32_t)v;
}

float Bank::PeekFloat(size_t offset) const {
    uint32_t v = (uint32_t)PeekInt(offset);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

void Bank::PokeByte(size_t offset, int value) {
    if (Has(offset, 1)) bytes_[offset] = (uint8_t)value;
}

void Bank::PokeShort(size_t offset, int value) {
    if (!Has(offset, 2)) return;
    bytes_[offset] = (uint8_t)value;
    bytes_[offset + 1] = (uint8_t)(value >> 8);
}

void Bank::PokeInt(size_t offset, int32_t value) {
    if (!Has(offset, 4)) return;
    uint32_t v = (uint32_t)value;
    for (int i = 0; i < 4; i++) bytes_[offset + i] = (uint8_t)(v >> (8 * i));
}

void Bank::PokeFloat(size_t offset, float value) {
    uint32_t v;
    std::memcpy(&v, &value, 4);
    PokeInt(offset, (int32_t)v);
}

BankPtr CreateBank(size_t size) { return std::make_shared<Bank>(size); }

BankPtr CopyBank(const Bank& bank) { return std::make_shared<Bank>(bank); }

void CopyBankBytes(const Bank& src, size_t src_offset, Bank& dst, size_t dst_offset, size_t count) {
    if (src_offset >= src.Size() || dst_offset >= dst.Size()) return;
    count = std::min({count, src.Size() - src_offset, dst.Size() - dst_offset});
    std::memmove(dst.Buf() + dst_offset, src.Buf() + src_offset, count);
}
