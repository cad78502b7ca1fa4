// Compressed banks (4-byte size + zlib stream) and the four-lane bank checksum.
#include "core/bank_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// zlib counts bytes in 32-bit fields; feed it at most this much at a time.
constexpr size_t kZChunk = 1u << 30;
// No deflate stream inflates to more than 1032 times its length (a 258-byte
// match costs at least two bits); the game's own packs reach 1029:1.
constexpr uint64_t kDeflateCeiling = 1032;

}  // namespace

BankPtr CompressBank(const Bank& bank) {
    const size_t n = bank.Size();
    // n + n/10 + 32 is always above compressBound(n).
    auto out = std::make_shared<Bank>(4 + n + n / 10 + 32);
    uLongf packed = (uLongf)(out->Size() - 4);
    if (compress(out->Buf() + 4, &packed, bank.Buf(), (uLong)n) != Z_OK) packed = 0;
    out->PokeByte(0, (int)(n & 255));
    out->PokeByte(1, (int)((n >> 8) & 255));
    out->PokeByte(2, (int)((n >> 16) & 255));
    out->PokeByte(3, (int)((n >> 24) & 255));
    out->Resize(4 + packed);
    // Compressed banks are often kept for the whole run (script files and
    // resources held for sending); drop the unused room.
    out->Bytes().shrink_to_fit();
    return out;
}

BankPtr UncompressBank(const Bank& bank) {
    if (bank.Size() < 4) return nullptr;
    const size_t want = (size_t)(uint32_t)bank.PeekInt(0);
    // A size no stream of this length can reach is damage: refused before
    // anything is allocated for it.
    if ((uint64_t)want > kDeflateCeiling * (uint64_t)(bank.Size() - 4)) return nullptr;

    BankPtr result;
    try {
        // Allocated once at the stated size: the peak is the content plus the
        // input, never a doubling buffer.
        result = std::make_shared<Bank>(want);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK) return nullptr;

    uint8_t* out = result->Buf();
    const uint8_t* in = bank.Buf() + 4;
    size_t in_left = bank.Size() - 4;
    size_t produced = 0;
    uint8_t spill = 0;  // room for one byte past the stated size, to catch overlong content
    bool ok = false;
    for (;;) {
        if (zs.avail_in == 0 && in_left > 0) {
            size_t chunk = std::min(in_left, kZChunk);
            zs.next_in = const_cast<Bytef*>(in);
            zs.avail_in = (uInt)chunk;
            in += chunk;
            in_left -= chunk;
        }
        const bool spilling = produced == want;
        if (spilling) {
            zs.next_out = &spill;
            zs.avail_out = 1;
        } else {
            zs.next_out = out + produced;
            zs.avail_out = (uInt)std::min(want - produced, (size_t)UINT_MAX);
        }
        const uInt before = zs.avail_out;
        int ret = inflate(&zs, Z_NO_FLUSH);
        const size_t wrote = before - zs.avail_out;
        if (spilling && wrote > 0) break;  // more content than the size field states
        produced += wrote;
        if (ret == Z_STREAM_END) {
            ok = produced == want;
            break;
        }
        // Anything but progress is damage; Z_BUF_ERROR here means the input
        // ran out before the stream ended.
        if (ret != Z_OK) break;
    }
    inflateEnd(&zs);
    if (!ok) return nullptr;
    return result;
}

int32_t checksum_bank(const Bank& bank) {
    const uint8_t* p = bank.Buf();
    const size_t n = bank.Size();
    size_t i = 0;
    // Byte-wise sums wrap modulo 256 on their own, which is exactly the lane
    // arithmetic: keep 16 (or 8) byte sums, where sum j collects the bytes at
    // positions j modulo the width, and fold them into the four lanes at the end.
    uint8_t sums[16] = {0};
#if defined(__SSE2__)
    __m128i a0 = _mm_setzero_si128(), a1 = a0, a2 = a0, a3 = a0;
    for (; i + 64 <= n; i += 64) {
        a0 = _mm_add_epi8(a0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        a1 = _mm_add_epi8(a1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16)));
        a2 = _mm_add_epi8(a2, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 32)));
        a3 = _mm_add_epi8(a3, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 48)));
    }
    for (; i + 16 <= n; i += 16) a0 = _mm_add_epi8(a0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    __m128i all = _mm_add_epi8(_mm_add_epi8(a0, a1), _mm_add_epi8(a2, a3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), all);
#else
    // Byte-wise addition in 64-bit words: add the low 7 bits of each byte,
    // then put the top bits back with XOR so no carry crosses a byte.
    constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
    uint64_t acc = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        acc = ((acc & kLow7) + (v & kLow7)) ^ ((acc ^ v) & ~kLow7);
    }
    for (int k = 0; k < 8; k++) sums[k] = (uint8_t)(acc >> (8 * k));  // little-endian byte k
#endif
    uint8_t lane[4] = {0, 1, 2, 3};
    for (int j = 0; j < 16; j++) lane[j & 3] = (uint8_t)(lane[j & 3] + sums[j]);
    // The tail starts at a multiple of the width, so its lanes line up.
    for (; i < n; i++) lane[i & 3] = (uint8_t)(lane[i & 3] + p[i]);
    uint32_t v = (uint32_t)lane[0] | (uint32_t)lane[1] << 8 | (uint32_t)lane[2] << 16 | (uint32_t)lane[3] << 24;
    return (int32_t)v;
}
