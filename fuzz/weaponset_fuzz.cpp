// Fuzz target: random bytes as a weapon-set file (sets come from other
// players and are saved from received scripts).
//
// Properties checked: nothing crashes or reads out of bounds; a file is taken
// whole or not at all (the set is either unchanged or every slot was read, and
// a taken file saves and loads back to the same set).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/screens/console.h"
#include "frontend/weaponset.h"
#include "platform/platform.h"

#include "scratch.h"

namespace {

std::string g_dir;

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    g_dir = fuzz_scratch_dir("weaponset_fuzz");
    if (g_dir.empty()) std::abort();
}

struct Snapshot {
    std::vector<std::string> paths;
    std::vector<uint8_t> bytes;
    static Snapshot take() {
        Snapshot s;
        for (int g = 0; g < 3; ++g)
            for (int c = 0; c < 14; ++c)
                for (int r = 0; r < 9; ++r) {
                    s.paths.push_back(g_weaponset[g][c][r]);
                    for (uint8_t b : g_weaponsets[g][c][r]) s.bytes.push_back(b);
                }
        return s;
    }
    bool operator==(const Snapshot& o) const { return paths == o.paths && bytes == o.bytes; }
};

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    // A marker set, so a file that is taken is told from one that is not: a
    // path read from a file never holds a LF.
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 14; ++c)
            for (int r = 0; r < 9; ++r) {
                g_weaponset[g][c][r] = "\n";
                for (auto& b : g_weaponsets[g][c][r]) b = 0xEE;
            }
    Snapshot before = Snapshot::take();
    std::string in = g_dir + "/in.gfws", out = g_dir + "/out.gfws";
    FILE* f = std::fopen(in.c_str(), "wb");
    check(f != nullptr);
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    menu_wpns_loadset(in);
    Snapshot after = Snapshot::take();
    in_console.clear();
    if (after == before) return 0;
    // Taken: no slot kept the marker path, and no path is longer than the file.
    for (const std::string& p : after.paths) check(p.find('\n') == std::string::npos && p.size() <= size);
    menu_wpns_saveset(out);
    menu_wpns_loadset(out);
    check(Snapshot::take() == after);
    return 0;
}
