// A small stable hash (64-bit FNV-1a) for golden values: recorded once from a
// known-good build and compared on every run, so a change that alters output
// that peers or stored maps rely on fails loudly.
#pragma once

#include <cstdint>
#include <cstring>

struct GoldenHash {
    uint64_t h = 14695981039346656037ull;

    void bytes(const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    template <class T>
    void add(const T& v) {
        bytes(&v, sizeof v);
    }
};
