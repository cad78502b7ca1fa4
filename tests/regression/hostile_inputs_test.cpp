// Hostile inputs of a few kilobytes that once froze the game, exhausted its
// memory or left a map half built. Each goes through the loaders in a child
// process with its address space and CPU time limited: it must be refused
// there, leave the previous map as it was and end the child normally.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/bank_codec.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/temp_files.h"
#include "match/game.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "support/temp_dir.h"
#include "terrain/background.h"
#include "terrain/generate.h"
#include "terrain/map_state.h"
#include "terrain/mapfile.h"
#include "terrain/pack.h"
#include "tests/support/streamed_pack.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint64_t kMB = 1 << 20;

uint64_t mapped_now() {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    statm >> pages;
    return pages * (uint64_t)sysconf(_SC_PAGESIZE);
}

// Runs body in a child process whose address space may grow by extra bytes
// beyond what is mapped now (or is capped at limit bytes when limit is set)
// and which may use cpu seconds of CPU (and three times that on the clock).
// body's result, or 128 + the signal that ended the child.
int in_child(uint64_t extra, int cpu, const std::function<int()>& body, uint64_t limit = 0) {
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        rlimit as{};
        as.rlim_cur = as.rlim_max = limit ? limit : mapped_now() + extra;
        rlimit time{};
        time.rlim_cur = time.rlim_max = (rlim_t)cpu;
        if (setrlimit(RLIMIT_AS, &as) != 0 || setrlimit(RLIMIT_CPU, &time) != 0) _exit(90);
        alarm((unsigned)(3 * cpu));
        int result = body();
        std::fflush(nullptr);
        _exit(result);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

BankPtr streamed_bank(const Bytes& head, const Bytes& entry, int64_t count, const Bytes& tail) {
    Bytes out = streamed_pack(head, entry, count, tail);
    return std::make_shared<Bank>(out.data(), out.size());
}

Bytes map_head(int type, int w, int h) {
    Bytes b{(uint8_t)type};
    put16(b, w);
    put16(b, h);
    return b;
}

Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class Hostile : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        repeated_scans = read_file(GROMBAT_SOURCE_DIR "/tests/regression/repeated_scans.jpg");
        dir = std::make_unique<TempDir>();
        // The previous map: a generated one with a spawn entry, packed.
        map_generate(500, 400, 4, 0, 0);
        Tmap_spawn::add(5, 5, "{Mine}");
        map_compress();
        ASSERT_NE(map_bank, nullptr);
        previous = MapState::now();
    }
    void TearDown() override {
        dir.reset();
        MapTest::TearDown();
    }

    // Writes the file and loads it as a map in a limited child: 0 when it
    // was refused and everything stayed as it was.
    int refused_as_map(const std::string& name, const Bank& bytes, uint64_t extra = 512 * kMB, int cpu = 10) {
        if (!SaveBank(bytes, name)) return -2;
        return in_child(extra, cpu, [&] {
            int r = map_load(name);
            if (r == 1) return 1;
            if (!(MapState::now() == previous)) return 2;
            return 0;
        });
    }

    Bytes repeated_scans;
    std::unique_ptr<TempDir> dir;
    MapState previous;
};

TEST_F(Hostile, OversizedMapPacksAreRefusedInBoundedTimeAndMemory) {
    struct Case {
        const char* what;
        BankPtr pack;
    };
    Bytes tile{0};
    put32(tile, 100), put32(tile, 100);
    Bytes spawn;
    put16(spawn, 0), put32(spawn, 7), put32(spawn, 7);
    Bytes full_rect{254};
    for (int v : {0, 0, 29999, 29999}) put32(full_rect, v);

    Bytes shapes = map_head(0, 30000, 30000);
    put32(shapes, 2000000), put32(shapes, 1), shapes.push_back(0);
    Bytes recipe = map_head(3, 30000, 30000);
    put32(recipe, 1), recipe.push_back(0), recipe.push_back(0);
    Bytes many_spawns = recipe, more_spawns = recipe;
    put32(many_spawns, 10000000);
    put32(more_spawns, 30000000);
    Bytes rects = map_head(0, 30000, 30000);
    put32(rects, 10000), put32(rects, 1), rects.push_back(0);
    const Bytes none;

    // A stream of 3.4 MB stating 3.5 GB: within deflate's reach, beyond any map.
    Bytes huge(3400000, 0x55);
    for (int i = 0; i < 4; ++i) huge[i] = (uint8_t)((uint64_t)3500000000u >> (8 * i));
    // A valid stream of one byte that states 4 GB.
    BankPtr liar = CompressBank(Bank(Bytes{3}.data(), 1));
    liar->PokeInt(0, (int32_t)0xFFFFFFF0u);

    for (const Case& c : {Case{"2 million tile entries", streamed_bank(shapes, tile, 2000000, none)},
                          {"10 million spawn entries", streamed_bank(many_spawns, spawn, 10000000, none)},
                          {"30 million spawn entries", streamed_bank(more_spawns, spawn, 30000000, none)},
                          {"10000 full-height rectangles", streamed_bank(rects, full_rect, 10000, none)},
                          {"a size field beyond any map", std::make_shared<Bank>(huge.data(), huge.size())},
                          {"a size field beyond deflate", liar}}) {
        EXPECT_LT(c.pack->Size(), 4000000u) << c.what;
        EXPECT_EQ(refused_as_map("hostile.gfm", *c.pack), 0) << c.what;
        // The same straight through the inflater and the reader.
        EXPECT_EQ(in_child(512 * kMB, 10,
                           [&] {
                               BankPtr raw = UncompressBank(*c.pack);
                               Tmap_pack p;
                               return raw && map_pack_read(*raw, p).empty() ? 1 : 0;
                           }),
                  0)
            << c.what;
    }
}

TEST_F(Hostile, ImagesAreRefusedBeforeTheCostlyPart) {
    ASSERT_GT(repeated_scans.size(), 1000u);
    // A progressive JPEG repeating one scan 1500 times.
    Bank scans(repeated_scans.data(), repeated_scans.size());
    EXPECT_EQ(refused_as_map("scans.jpg", scans), 0);
    EXPECT_EQ(in_child(512 * kMB, 10, [&] { return LoadPixmapFromMemory(scans.Buf(), scans.Size()) ? 1 : 0; }), 0);
    ASSERT_TRUE(SaveBank(scans, "bg.jpg"));
    map_bg_path = "bg.jpg";
    EXPECT_EQ(in_child(512 * kMB, 10, [&] { return map_bg_load(1), map_bg ? 1 : 0; }), 0);
    map_bg_path = "";

    // One stray byte between two segments: the size still comes from the
    // decoder's header read, so a too wide picture is refused undecoded.
    TPixmap wide(30001, 300);
    ClearPixels(wide, 0xFF808080u);
    ASSERT_TRUE(SavePixmapJPEG(wide, "wide.jpg"));
    Bytes jpg = read_file("wide.jpg");
    ASSERT_GT(jpg.size(), 6u);
    const size_t app0_end = 4 + (size_t)(jpg[4] << 8 | jpg[5]);
    jpg.insert(jpg.begin() + (long)app0_end, 0x00);
    int w = 0, h = 0;
    ASSERT_TRUE(ProbePixmapSize(jpg.data(), jpg.size(), w, h));
    EXPECT_EQ(w, 30001);
    EXPECT_EQ(h, 300);
    Bank stray(jpg.data(), jpg.size());
    ASSERT_TRUE(SaveBank(stray, "stray.jpg"));
    EXPECT_EQ(in_child(512 * kMB, 10, [&] { return map_load("stray.jpg") == -2 && MapState::now() == previous ? 0 : 1; }),
              0);
}

TEST_F(Hostile, ScriptImagesAndSoundsFromAHostStayWithinTheLimits) {
    // A PNG header claiming 32768 x 32768 (CRC right, a stub of image data),
    // and an Ogg of 23 minutes, both as received from a host.
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int i = 0; i < 2; ++i) png.insert(png.end(), {0, 0, 0x80, 0});
    png.insert(png.end(), {8, 6, 0, 0, 0});
    const uint32_t crc = (uint32_t)crc32(0, png.data() + 12, 17);
    for (int i = 3; i >= 0; --i) png.push_back((uint8_t)(crc >> (8 * i)));
    Bytes idat{0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01};
    png.insert(png.end(), {0, 0, 0, (uint8_t)idat.size(), 'I', 'D', 'A', 'T'});
    png.insert(png.end(), idat.begin(), idat.end());
    png.insert(png.end(), {0, 0, 0, 0});
    Ttemp::add("gfx/huge.png", Bank(png.data(), png.size()), 0);
    std::vector<int16_t> wave((size_t)23 * 60 * 1000, 0);
    BankPtr ogg = EncodeSoundOgg(wave, 1, 1000, 0.0f);
    ASSERT_TRUE(ogg);
    Ttemp::add("sfx/long.ogg", *ogg, 0);
    g_server = 0;
    set_saveres = 0;
    EXPECT_EQ(in_child(512 * kMB, 10,
                       [] {
                           int image = Tres::loadgfx("huge.png"), sound = Tres::loadsfx("long.ogg");
                           return !Tres::getimage(image) && !Tres::sfx[(size_t)sound]->sound ? 0 : 1;
                       }),
              0);
    Ttemp::freeall();
    g_server = 0;
}

TEST_F(Hostile, TilesThatCannotBeMadeFailTheBuildAndBringBackThePreviousMap) {
    // An image map whose content fits in the memory left but whose tiles do
    // not: the build fails half-way, never leaving a map with holes.
    BankPtr pack = streamed_bank(map_head(1, 3000, 3000), Bytes{0x80, 0x60, 0x40}, (int64_t)3000 * 3000, Bytes{});
    ASSERT_TRUE(SaveBank(*pack, "tiles.gfm"));
    const int result = in_child(48 * kMB, 20, [&] {
        in_console.clear();
        int r = map_load("tiles.gfm");
        if (r == 1) return map_tiles_held() == 900 ? 10 : 11;
        if (!(MapState::now() == previous)) return 2;
        return console_has("previous map rebuilt from its pack") ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(Hostile, SolidLargestMaskUnderOneGigabyteLoadsWholeOrNotAtAll) {
    Bytes mask = map_head(2, 30000, 30000);
    put32(mask, 7), mask.push_back(1);
    BankPtr pack = streamed_bank(mask, Bytes{0xFF}, (int64_t)30000 * 30000 / 8, Bytes{});
    ASSERT_TRUE(SaveBank(*pack, "solid.gfm"));
    ASSERT_LT(mapped_now(), 700 * kMB);
    const int result = in_child(0, 60, [&] {
        in_console.clear();
        int r = map_load("solid.gfm");
        if (r == 1) return map_xsize == 30000 && map_ysize == 30000 && map_tiles_held() == 90000 ? 10 : 11;
        if (!(MapState::now() == previous)) return 2;
        return console_has("previous map rebuilt from its pack") ? 0 : 3;
    }, 1024 * kMB);
    EXPECT_TRUE(result == 0 || result == 10) << result;
}

}  // namespace
