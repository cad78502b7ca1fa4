// Bank: a resizable byte buffer with little-endian peeks and pokes.
// Reads outside the bank give 0 and writes outside it are dropped, so code
// that walks bytes from files or peers can never touch memory it does not own;
// such code still checks lengths itself to report damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Bank {
public:
    Bank() = default;
    explicit Bank(size_t size) : bytes_(size, 0) {}
    Bank(const void* data, size_t size);

    size_t Size() const { return bytes_.size(); }
    // New bytes are zero; shrinking to 0 releases the memory.
    void Resize(size_t size);
    uint8_t* Buf() { return bytes_.data(); }
    const uint8_t* Buf() const { return bytes_.data(); }
    std::vector<uint8_t>& Bytes() { return bytes_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    int PeekByte(size_t offset) const;        // 0..255
    int PeekShort(size_t offset) const;       // 0..65535
    int32_t PeekInt(size_t offset) const;
    float PeekFloat(size_t offset) const;
    void PokeByte(size_t offset, int value);
    void PokeShort(size_t offset, int value);
    void PokeInt(size_t offset, int32_t value);
    void PokeFloat(size_t offset, float value);

    // True when [offset, offset + count) lies inside the bank.
    bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }

private:
    std::vector<uint8_t> bytes_;
};

using BankPtr = std::shared_ptr<Bank>;

BankPtr CreateBank(size_t size = 0);
BankPtr CopyBank(const Bank& bank);
// Copies count bytes between banks; ranges outside either bank are clipped.
void CopyBankBytes(const Bank& src, size_t src_offset, Bank& dst, size_t dst_offset, size_t count);
