// Compressed banks and the bank checksum: layouts, round trips, damaged input
// and the worked checksum values.
#include "core/bank_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Allocation watch: records the largest single request made while armed, so a
// test can prove that a hostile size field does not turn into an allocation.
namespace {
std::atomic<bool> g_watch{false};
std::atomic<size_t> g_largest{0};

void* watched_alloc(size_t size) {
    if (g_watch.load(std::memory_order_relaxed)) {
        size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(size_t size) { return watched_alloc(size); }
void* operator new[](size_t size) { return watched_alloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

Bank text_bank(const std::string& s) { return Bank(s.data(), s.size()); }

std::vector<uint8_t> bytes_of(const Bank& b) { return b.Bytes(); }

// A compressed bank with a chosen size field over a chosen zlib stream.
Bank with_header(uint32_t size, const std::vector<uint8_t>& stream) {
    Bank b(4 + stream.size());
    b.PokeInt(0, (int32_t)size);
    if (!stream.empty()) std::memcpy(b.Buf() + 4, stream.data(), stream.size());
    return b;
}

std::vector<uint8_t> zlib_stream_of(const Bank& content) {
    BankPtr c = CompressBank(content);
    return std::vector<uint8_t>(c->Buf() + 4, c->Buf() + c->Size());
}

// Content that compresses but is not trivial.
Bank patterned(size_t n, uint32_t seed) {
    Bank b(n);
    uint32_t x = seed;
    for (size_t i = 0; i < n; i++) {
        x = x * 1103515245u + 12345u;
        b.Buf()[i] = (uint8_t)((x >> 24) & ((i / 4096) % 2 ? 0x0f : 0xff));
    }
    return b;
}

}  // namespace

TEST(BankCodec, EmptyBankPacksToTwelveBytes) {
    BankPtr c = CompressBank(Bank());
    ASSERT_TRUE(c);
    ASSERT_EQ(c->Size(), 12u);
    EXPECT_EQ(c->PeekInt(0), 0);
    // The zlib stream of no data at the default level.
    const std::vector<uint8_t> empty_stream = {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(std::vector<uint8_t>(c->Buf() + 4, c->Buf() + 12), empty_stream);
    BankPtr u = UncompressBank(*c);
    ASSERT_TRUE(u);  // an empty bank is valid content, not a failure
    EXPECT_EQ(u->Size(), 0u);
}

TEST(BankCodec, SizeHeaderIsLittleEndian) {
    BankPtr c = CompressBank(Bank(300));
    const std::vector<uint8_t> header = {0x2C, 0x01, 0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(c->Buf(), c->Buf() + 4), header);
}

TEST(BankCodec, StreamIsZlibCompressAtDefaultLevel) {
    Bank content = patterned(50000, 3);
    std::vector<uint8_t> expect(compressBound(content.Size()));
    uLongf len = expect.size();
    ASSERT_EQ(compress(expect.data(), &len, content.Buf(), content.Size()), Z_OK);
    expect.resize(len);
    EXPECT_EQ(zlib_stream_of(content), expect);
}

TEST(BankCodec, RoundTrips) {
    struct Case {
        const char* what;
        Bank content;
    };
    const Case cases[] = {
        {"one byte", text_bank("x")},
        {"text", text_bank("The quick brown fox jumps over the lazy dog")},
        {"zeros", Bank(100000)},
        {"patterned", patterned(300001, 9)},
        {"incompressible",
         [] {
             Bank b(70000);
             uint64_t x = 88172645463325252ull;
             for (size_t i = 0; i < b.Size(); i++) {
                 x ^= x << 13, x ^= x >> 7, x ^= x << 17;
                 b.Buf()[i] = (uint8_t)x;
             }
             return b;
         }()},
    };
    for (const Case& c : cases) {
        BankPtr packed = CompressBank(c.content);
        BankPtr back = UncompressBank(*packed);
        ASSERT_TRUE(back) << c.what;
        EXPECT_EQ(bytes_of(*back), bytes_of(c.content)) << c.what;
    }
}

TEST(BankCodec, RoundTripAboveSixteenMegabytes) {
    // The size field carries all 32 bits: 0x01000123 needs its top byte.
    // Mostly runs, with marks that make a lost or shifted block show.
    Bank content(0x01000123);
    for (size_t i = 0; i < content.Size(); i += 4093) content.Buf()[i] = (uint8_t)(i >> 12);
    content.Buf()[content.Size() - 1] = 0xEE;
    BankPtr packed = CompressBank(content);
    EXPECT_EQ(packed->PeekByte(3), 0x01);
    BankPtr back = UncompressBank(*packed);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Bytes() == content.Bytes());
}

TEST(BankCodec, DamagedBanksAreRefused) {
    const Bank content = patterned(20000, 1);
    const std::vector<uint8_t> stream = zlib_stream_of(content);
    const uint32_t n = (uint32_t)content.Size();
    std::vector<uint8_t> flipped = stream;
    flipped[stream.size() / 2] ^= 0x55;
    std::vector<uint8_t> bad_trailer = stream;
    bad_trailer.back() ^= 1;
    std::vector<uint8_t> garbage(500);
    for (size_t i = 0; i < garbage.size(); i++) garbage[i] = (uint8_t)(i * 37 + 11);

    struct Case {
        const char* what;
        Bank bank;
    };
    const Case cases[] = {
        {"empty bank", Bank()},
        {"three bytes", Bank(3)},
        {"size field only", with_header(0, {})},
        {"truncated stream", with_header(n, std::vector<uint8_t>(stream.begin(), stream.end() - 40))},
        {"stream without trailer", with_header(n, std::vector<uint8_t>(stream.begin(), stream.end() - 4))},
        {"size field too large", with_header(n + 1, stream)},
        {"size field too small", with_header(n - 1, stream)},
        {"size field zero", with_header(0, stream)},
        {"corrupted data", with_header(n, flipped)},
        {"wrong checksum", with_header(n, bad_trailer)},
        {"garbage", with_header(n, garbage)},
    };
    for (const Case& c : cases) EXPECT_EQ(UncompressBank(c.bank), nullptr) << c.what;
}

TEST(BankCodec, HugeSizeFieldWithTinyBodyAllocatesLittle) {
    const std::vector<uint8_t> stream = zlib_stream_of(text_bank("tiny"));
    for (uint32_t claimed : {0xFFFFFFFFu, 0x80000000u, 3000000000u}) {
        Bank hostile = with_header(claimed, stream);
        g_largest = 0;
        g_watch = true;
        BankPtr out = UncompressBank(hostile);
        g_watch = false;
        EXPECT_EQ(out, nullptr) << claimed;
        EXPECT_LT(g_largest.load(), (size_t)1 << 20) << claimed;
    }
}

TEST(BankCodec, SizeFieldAboveDeflatesCeilingIsRefusedUnallocated) {
    // Zeros pack about as tightly as deflate can: near 1030 to 1.
    const Bank zeros(4 << 20);
    const std::vector<uint8_t> stream = zlib_stream_of(zeros);
    ASSERT_GT(zeros.Size(), 1000 * stream.size());
    const uint32_t ceiling = (uint32_t)(1032 * stream.size());
    struct Case {
        uint32_t claimed;
        size_t largest_at_least, largest_below;
    };
    for (Case c : {Case{ceiling + 1, 0, 1 << 20}, {ceiling, ceiling, ceiling + 1}}) {
        Bank hostile = with_header(c.claimed, stream);
        g_largest = 0;
        g_watch = true;
        BankPtr out = UncompressBank(hostile);
        g_watch = false;
        EXPECT_EQ(out, nullptr) << c.claimed;
        EXPECT_GE(g_largest.load(), c.largest_at_least) << c.claimed;
        EXPECT_LT(g_largest.load(), c.largest_below) << c.claimed;
    }
    // The true size: one allocation of exactly the content, nothing larger.
    g_largest = 0;
    g_watch = true;
    BankPtr out = UncompressBank(with_header((uint32_t)zeros.Size(), stream));
    g_watch = false;
    ASSERT_TRUE(out);
    EXPECT_EQ(out->Size(), zeros.Size());
    EXPECT_EQ(g_largest.load(), zeros.Size());
}

TEST(BankCodec, TrailingBytesAfterTheStreamAreIgnored) {
    // The bank ends where the stream ends; extra bytes were never read.
    Bank content = text_bank("map pack");
    BankPtr packed = CompressBank(content);
    packed->Resize(packed->Size() + 3);
    BankPtr back = UncompressBank(*packed);
    ASSERT_TRUE(back);
    EXPECT_EQ(bytes_of(*back), bytes_of(content));
}

TEST(BankChecksum, WorkedValues) {
    struct Case {
        const char* what;
        Bank bank;
        uint32_t sum;
    };
    Bank ones(1024);
    std::memset(ones.Buf(), 1, ones.Size());
    const Case cases[] = {
        {"empty", Bank(), 0x03020100u},
        {"abc", text_bank("abc"), 0x03656361u},
        {"abcdefgh", text_bank("abcdefgh"), 0xCFCCC9C6u},
        {"256 zeros", Bank(256), 0x03020100u},
        {"1024 ones", ones, 0x03020100u},
    };
    for (const Case& c : cases) EXPECT_EQ((uint32_t)checksum_bank(c.bank), c.sum) << c.what;
    EXPECT_LT(checksum_bank(text_bank("abcdefgh")), 0);  // held as a signed value
}

TEST(BankChecksum, MatchesByteByByteLanesAtEverySizeAndOffset) {
    // Sizes around the wide-word widths, over several contents.
    Bank source = patterned(4096, 77);
    for (size_t offset : {0u, 1u, 3u, 5u}) {
        for (size_t n : {1u, 7u, 8u, 15u, 16u, 17u, 63u, 64u, 65u, 127u, 200u, 1000u, 4000u}) {
            Bank b(source.Buf() + offset, n);
            uint8_t lane[4] = {0, 1, 2, 3};
            for (size_t i = 0; i < n; i++) lane[i % 4] = (uint8_t)(lane[i % 4] + b.Buf()[i]);
            uint32_t expect = lane[0] | lane[1] << 8 | lane[2] << 16 | (uint32_t)lane[3] << 24;
            EXPECT_EQ((uint32_t)checksum_bank(b), expect) << "offset " << offset << " size " << n;
        }
    }
}

TEST(BankChecksum, SwappingBytesFourApartIsNotSeen) {
    Bank a = text_bank("grombat-map-0001");
    Bank b = a;
    std::swap(b.Buf()[2], b.Buf()[6]);
    EXPECT_NE(bytes_of(a), bytes_of(b));
    EXPECT_EQ(checksum_bank(a), checksum_bank(b));
    std::swap(b.Buf()[2], b.Buf()[3]);
    EXPECT_NE(checksum_bank(a), checksum_bank(b));
}
