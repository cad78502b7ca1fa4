// Large compressed banks for tests and benchmarks, deflated as they are made:
// a pack of hundreds of megabytes (or the 2.7 GB of the largest image map)
// costs only its compressed size in memory.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

inline void put16(std::vector<uint8_t>& b, int v) {
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}

inline void put32(std::vector<uint8_t>& b, int64_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)((uint64_t)v >> (8 * i)));
}

// A compressed bank (u32 size, zlib stream) of head, count copies of entry,
// then tail.
inline std::vector<uint8_t> streamed_pack(const std::vector<uint8_t>& head, const std::vector<uint8_t>& entry,
                                          int64_t count, const std::vector<uint8_t>& tail) {
    const uint64_t total = head.size() + entry.size() * (uint64_t)count + tail.size();
    std::vector<uint8_t> block;
    for (int i = 0; i < 65536; ++i) block.insert(block.end(), entry.begin(), entry.end());
    std::vector<uint8_t> out(4);
    for (int i = 0; i < 4; ++i) out[i] = (uint8_t)(total >> (8 * i));
    z_stream zs{};
    deflateInit(&zs, 9);
    std::vector<uint8_t> chunk(1 << 20);
    auto feed = [&](const uint8_t* data, size_t n, int flush) {
        zs.next_in = const_cast<Bytef*>(data);
        zs.avail_in = (uInt)n;
        do {
            zs.next_out = chunk.data();
            zs.avail_out = (uInt)chunk.size();
            deflate(&zs, flush);
            out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - zs.avail_out));
        } while (zs.avail_out == 0);
    };
    feed(head.data(), head.size(), Z_NO_FLUSH);
    for (int64_t left = count; left > 0; left -= 65536)
        feed(block.data(), (size_t)std::min<int64_t>(left, 65536) * entry.size(), Z_NO_FLUSH);
    feed(tail.data(), tail.size(), Z_FINISH);
    deflateEnd(&zs);
    return out;
}
