// Fuzz target: random bytes as compressed banks (map files, replays, files
// from peers) and as content to compress.
//
// Properties checked: nothing crashes; a size field beyond 1032 times the
// stream is refused; what inflates has exactly the stated size and survives
// compressing and inflating again; any content survives a round trip.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/bank_codec.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool same(const Bank& a, const Bank& b) {
    return a.Size() == b.Size() && (a.Size() == 0 || std::memcmp(a.Buf(), b.Buf(), a.Size()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bank bytes(data, size);
    BankPtr inflated = UncompressBank(bytes);
    if (inflated) {
        const uint64_t stated = (uint32_t)bytes.PeekInt(0);
        check(stated <= 1032 * (uint64_t)(size - 4));
        check(inflated->Size() == stated);
        BankPtr again = UncompressBank(*CompressBank(*inflated));
        check(again && same(*again, *inflated));
    }
    BankPtr round = UncompressBank(*CompressBank(bytes));
    check(round && same(*round, bytes));
    return 0;
}
