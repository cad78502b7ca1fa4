// Compressed banks and the bank checksum: how every file the game sends to
// peers or keeps for later is packed and identified.
//
// Compressed-bank layout: bytes 0-3 hold the uncompressed size as an unsigned
// 32-bit little-endian number, then one zlib stream (2-byte header, deflate
// data, Adler-32 trailer) of the whole content; nothing else.
//
// The bank checksum is not a CRC although the fields holding it are named
// `crc32`: four byte lanes start at 0, 1, 2, 3, byte i is added to lane
// i mod 4 modulo 256, and lane 0 is the lowest byte of the result.
#pragma once

#include <cstdint>

#include "platform/bank.h"

// A new bank in the compressed-bank layout holding all of `bank`.
BankPtr CompressBank(const Bank& bank);

// The content of a compressed bank, or null when the bank is damaged: shorter
// than its size field, a stream zlib rejects or that ends early, or content
// whose length differs from the size field, or a size field above 1032 times
// the stream's length (more than deflate can reach). Within that bound the
// result is allocated once at the stated size: the peak is the content plus
// the input. An empty result is valid (the content of an empty file); failure,
// out of memory included, is only ever null.
BankPtr UncompressBank(const Bank& bank);

// The bank checksum of the whole bank, as a signed 32-bit value.
int32_t checksum_bank(const Bank& bank);
