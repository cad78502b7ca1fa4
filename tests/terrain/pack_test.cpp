// Map pack: the layout of each type, round trips through map files, refused
// and damaged packs, and the limits on lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "core/text.h"
#include "map_state.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/test_files.h"
#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/mapfile.h"
#include "terrain/pack.h"

namespace {

class Pack : public MapTest {};

void put32(std::vector<uint8_t>& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)((uint32_t)v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, int v) {
    b.push_back((uint8_t)(v & 255));
    b.push_back((uint8_t)((v >> 8) & 255));
}
// Header of a pack of the type and size.
std::vector<uint8_t> header(int type, int w, int h) {
    std::vector<uint8_t> b{(uint8_t)type};
    put16(b, w);
    put16(b, h);
    return b;
}
void no_spawns_default_background(std::vector<uint8_t>& b) {
    put32(b, 0);
    b.insert(b.end(), {0, 0, 0, 7});
}

void add_spawns_and_background() {
    Tmap_spawn::add(10, 20, "{Mine}");
    Tmap_spawn::add(30, 40, "{Node:exit}");
    Tmap_spawn::add(-5, 1000000, "crate.wood:7");
    map_bg_path = "gfx/backgrounds/nowhere.png";
    map_bg_transparency = 3;
    map_bg_render = 2;
    map_bg_align = 4;
}

TEST_F(Pack, GeneratedMapIsItsRecipe) {
    map_generate(3000, 1000, 12345, 2, 4);
    map_compress();
    std::vector<uint8_t> want{0x03, 0xB8, 0x0B, 0xE8, 0x03, 0x39, 0x30, 0x00, 0x00, 0x02,
                              0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07};
    EXPECT_EQ(pack_bytes(), want);
    EXPECT_TRUE(console_has("packing & compressing map..."));
}

// Builds a map of each type; the second value is what a rebuilt pixel must be.
struct Kind {
    const char* name;
    void (*build)();
    uint32_t (*rebuilt)(uint32_t original);
};

void build_generated() { map_generate(700, 400, 99, 0, 1); }
void build_shapes() {
    map_setup(6, 4, 1);
    map_type = "000|77|1";
    Tmap_shape::add(254, 10, 200, 300, 150);
    Tmap_shape::add(255, 350, 50, 120, 80);
    auto t = Tmap_shape::add(253, 50, 50, 150, 60);
    t->x3 = 100;
    t->y3 = 180;
    Tmap_shape::add(26, 400, 300, 30, 20);
    Tmap_shape::perform();
}
void build_image() {
    map_setup(3, 4, 1);
    map_type = "001|maps/some picture.png";
    map_rect(0, 300, 299, 99, (int)0xFF123456u);
    map_rect(10, 10, 5, 5, (int)0xFFFF00FFu);     // opaque magenta: becomes empty
    map_rect(50, 50, 10, 3, (int)0x40ABCDEFu);    // partly transparent: becomes opaque
    map_rect(299, 399, 0, 0, (int)0x01000000u);   // nearly empty black: opaque black
}
void build_mask() {
    map_setup(4, 3, 1);
    map_type = "002|5|3";
    map_rect(0, 200, 399, 99, (int)0xFF808080u);
    map_oval(200, 120, 40, 30, (int)0x20FFFFFFu);
}
uint32_t same(uint32_t v) { return v; }
uint32_t image_rule(uint32_t v) {
    if ((v >> 24) == 0 || (v & 0xFFFFFFu) == 0xFF00FFu) return 0;
    return v | 0xFF000000u;
}
uint32_t solidity(uint32_t v) { return (v >> 24) > 0 ? 1 : 0; }

TEST_F(Pack, EveryTypeRoundTripsThroughAMapFile) {
    ScratchDir dir;
    const Kind kinds[] = {{"generated", build_generated, same},
                          {"shapes", build_shapes, same},
                          {"image", build_image, image_rule},
                          {"mask", build_mask, solidity}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        Tmap_spawn::list.clear();
        k.build();
        add_spawns_and_background();
        MapState before = MapState::now();
        const std::string file = dir / (std::string(k.name) + ".gfm");
        ASSERT_EQ(map_save(file), 1);
        std::vector<uint8_t> packed = pack_bytes();
        ASSERT_FALSE(packed.empty());

        map_generate(300, 300, 1, 0, 5);   // something else in between
        ASSERT_EQ(map_load(file), 1);
        MapState after = MapState::now();
        EXPECT_EQ(after.spawns, before.spawns);
        EXPECT_EQ(after.bg, before.bg);
        ASSERT_EQ(after.xsize, before.xsize);
        ASSERT_EQ(after.ysize, before.ysize);
        bool mask = k.rebuilt == solidity;
        size_t wrong = 0;
        for (size_t i = 0; i < before.pixels.size(); ++i) {
            uint32_t want = k.rebuilt(before.pixels[i]), got = mask ? solidity(after.pixels[i]) : after.pixels[i];
            wrong += want != got;
        }
        EXPECT_EQ(wrong, 0u);
        if (k.rebuilt == image_rule)
            EXPECT_EQ(after.type, "001");
        else
            EXPECT_EQ(after.type, before.type);

        map_compress();
        EXPECT_EQ(pack_bytes(), packed);   // a rebuilt map packs to the same bytes
    }
}

TEST_F(Pack, ImageBodyOrderIsTileColumnTileRowThenColumnByColumn) {
    map_setup(3, 3, 1);
    map_type = "001";
    map_rect(1, 0, 0, 0, (int)0xFF010203u);     // local x 1, y 0 of tile 0,0: record 100
    map_rect(0, 100, 0, 0, (int)0xFF040506u);   // tile (0,1): records from 10000
    map_compress();
    std::vector<uint8_t> b = pack_bytes();
    ASSERT_EQ(b.size(), 5u + 3u * 90000u + 4u + 4u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 5, b.begin() + 8), (std::vector<uint8_t>{255, 0, 255}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 5 + 300, b.begin() + 5 + 303), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 5 + 30000, b.begin() + 5 + 30003), (std::vector<uint8_t>{4, 5, 6}));
}

TEST_F(Pack, MaskBitsStartAtBitZeroOfByteTen) {
    map_setup(3, 3, 1);
    map_type = "002|-4|1";
    map_rect(0, 0, 0, 0, (int)0x01000000u);
    map_rect(0, 9, 0, 0, (int)0xFF000000u);   // pixel 9 of the order: bit 1 of byte 11
    map_compress();
    std::vector<uint8_t> b = pack_bytes();
    ASSERT_EQ(b.size(), 10u + 90000u / 8 + 8u);
    EXPECT_EQ(b[5], 0xFC);   // seed -4
    EXPECT_EQ(b[9], 1);      // style
    EXPECT_EQ(b[10], 0x01);
    EXPECT_EQ(b[11], 0x02);
}

TEST_F(Pack, ShapeEntriesAndTheReservedEntry) {
    map_setup(3, 3, 1);
    map_type = "000|9|2";
    Tmap_shape::add(12, 1, 2, 30, 40);           // tile: 9 bytes
    Tmap_shape::add(252, 1, 1, 1, 1);            // never written
    Tmap_shape::add(254, -1, -2, 3, 4);          // 17 bytes
    auto t = Tmap_shape::add(253, 5, 6, 7, 8);   // 25 bytes
    t->x3 = 9;
    t->y3 = 10;
    map_compress();
    std::vector<uint8_t> b = pack_bytes();
    ASSERT_EQ(b.size(), 14u + 9 + 17 + 25 + 8);
    EXPECT_EQ(b[5], 3);   // the count of what was written
    EXPECT_EQ(b[14], 12);
    EXPECT_EQ(b[23], 254);
    EXPECT_EQ(b[40], 253);

    // A pack from elsewhere with a 252 entry: skipped by its length, counted.
    std::vector<uint8_t> raw = header(0, 300, 300);
    put32(raw, 2);
    put32(raw, 9);
    raw.push_back(2);
    raw.push_back(252);
    put32(raw, 3);
    raw.insert(raw.end(), {7, 7, 7});
    raw.push_back(254);
    for (int v : {10, 20, 5, 3}) put32(raw, v);
    no_spawns_default_background(raw);
    map_bank = compressed(raw);
    ASSERT_EQ(map_uncompress(), 1);
    ASSERT_EQ(Tmap_shape::list.size(), 1u);
    EXPECT_EQ(Tmap_shape::list.front()->id, 254);
    EXPECT_EQ(map_type, "000|9|2");
}

TEST_F(Pack, PackMayEndAfterTheBodyOrAfterTheSpawns) {
    std::vector<uint8_t> raw = header(3, 300, 300);
    put32(raw, 1);
    raw.insert(raw.end(), {0, 5});
    Tmap_spawn::add(1, 1, "{Mine}");
    map_bg_path = "old.png";
    map_bank = compressed(raw);
    ASSERT_EQ(map_uncompress(), 1);
    EXPECT_TRUE(Tmap_spawn::list.empty());
    EXPECT_EQ(map_bg_path, "");
    EXPECT_EQ(map_bg_align, 7);

    put32(raw, 1);
    put16(raw, 6);
    for (char c : std::string("{Fire}")) raw.push_back((uint8_t)c);
    put32(raw, -7);
    put32(raw, 8);
    map_bank = compressed(raw);
    ASSERT_EQ(map_uncompress(), 1);
    ASSERT_EQ(Tmap_spawn::list.size(), 1u);
    EXPECT_EQ(Tmap_spawn::list.front()->id, "{Fire}");
    EXPECT_EQ(Tmap_spawn::list.front()->x, -7);
    EXPECT_EQ(Tmap_spawn::list.front()->w, 2);
    EXPECT_EQ(Tmap_spawn::list.front()->xo, 1);
    EXPECT_EQ(map_bg_align, 7);
}

TEST_F(Pack, TimingAcrossTheClockWrap) {
    // The millisecond clock wraps after 24.8 days; the timing lines wrap with it.
    int now = INT_MAX - 5;
    SetClockSource([&now] { return now = (int)((unsigned)now + 4u); });
    map_generate(1300, 600, 5, 0, 3);
    map_compress();
    EXPECT_TRUE(console_has("done! (4 ms, 0kb)"));
    now = INT_MAX - 5;
    map_uncompress();
    SetClockSource(nullptr);
    EXPECT_TRUE(console_has("done! (4 ms)"));
}

TEST_F(Pack, NoBankNothingChanges) {
    map_generate(400, 300, 3, 0, 0);
    MapState before = MapState::now();
    EXPECT_EQ(map_uncompress(), 0);
    EXPECT_TRUE(MapState::now() == before);
}

// Damaged packs: refused whole, the map as it was.
TEST_F(Pack, DamagedPacksChangeNothing) {
    auto type0 = [](int count) {
        std::vector<uint8_t> b = header(0, 300, 300);
        put32(b, count);
        put32(b, 1);
        b.push_back(0);
        return b;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> raw;
        const char* shown;   // the type in the notice
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, "-1"});
    cases.push_back({"unknown type", {9, 0x2C, 1, 0x2C, 1}, "9"});
    cases.push_back({"header cut", {3, 0x2C, 1}, "3"});
    {
        auto b = header(3, 299, 300);
        put32(b, 1);
        b.insert(b.end(), {0, 0});
        cases.push_back({"too narrow", b, "3"});
        b[1] = 0x31, b[2] = 0x75;   // 30001
        cases.push_back({"too wide", b, "3"});
    }
    cases.push_back({"negative shape count", type0(-1), "0"});
    {
        auto b = type0(INT_MAX);
        b.push_back(254);
        for (int v : {1, 2, 3, 4}) put32(b, v);
        cases.push_back({"shape count beyond the data", b, "0"});
    }
    {
        auto b = type0(1);
        b.push_back(252);
        put32(b, 1000000);
        cases.push_back({"252 skip beyond the data", b, "0"});
        auto c = type0(1);
        c.push_back(252);
        put32(c, -5);
        cases.push_back({"252 negative skip", c, "0"});
        auto d = type0(1);
        d.push_back(253);
        for (int v : {1, 2, 3, 4, 5}) put32(d, v);
        cases.push_back({"triangle cut short", d, "0"});
    }
    {
        auto b = header(1, 300, 300);
        b.resize(b.size() + 3 * 90000 - 1, 255);
        cases.push_back({"pixels cut short", b, "1"});
        auto c = header(2, 300, 300);
        put32(c, 1);
        c.push_back(0);
        c.resize(c.size() + 90000 / 8 - 1, 0xFF);
        cases.push_back({"mask cut short", c, "2"});
    }
    auto type3 = [] {
        auto b = header(3, 300, 300);
        put32(b, 1);
        b.insert(b.end(), {0, 0});
        return b;
    };
    {
        auto b = type3();
        put32(b, INT_MAX);
        put16(b, 0);
        put32(b, 0);
        put32(b, 0);
        cases.push_back({"spawn count beyond the data", b, "3"});
        auto c = type3();
        put32(c, -1);
        c.insert(c.end(), {0, 0, 0, 7});
        cases.push_back({"negative spawn count", c, "3"});
        auto d = type3();
        put32(d, 1);
        put16(d, 60000);
        d.insert(d.end(), {'{', 'M', '}'});
        cases.push_back({"spawn id beyond the data", d, "3"});
        auto e = type3();
        put32(e, 0);
        e.insert(e.end(), {200, 'a', 'b', 0, 0, 7});
        cases.push_back({"background path beyond the data", e, "3"});
        auto f = type3();
        no_spawns_default_background(f);
        f.push_back(1);
        cases.push_back({"bytes after the background", f, "3"});
    }

    // Beyond the caps, each entry otherwise sound.
    {
        auto b = type0(100001);
        for (int i = 0; i < 100001; ++i) {
            b.push_back(3);
            put32(b, 0);
            put32(b, 0);
        }
        cases.push_back({"100001 shape entries", b, "0"});
        auto r = header(0, 30000, 30000);
        put32(r, 8948);
        put32(r, 1);
        r.push_back(0);
        for (int i = 0; i < 8948; ++i) {   // 8948 x 30000 rows > 2^28
            r.push_back(254);
            for (int v : {0, 0, 29999, 29999}) put32(r, v);
        }
        no_spawns_default_background(r);
        cases.push_back({"shapes over 2^28 rows", r, "0"});
        auto c = type3();
        put32(c, 100001);
        for (int i = 0; i < 100001; ++i) {
            put16(c, 0);
            put32(c, 1);
            put32(c, 1);
        }
        cases.push_back({"100001 spawn entries", c, "3"});
        auto d = type3();
        put32(d, 1025);
        for (int i = 0; i < 1025; ++i) {   // 1025 x 65535 bytes > 64 MB
            put16(d, 65535);
            d.resize(d.size() + 65535, 'a');
            put32(d, 1);
            put32(d, 1);
        }
        cases.push_back({"spawn ids over 64 MB", d, "3"});
    }

    map_generate(500, 300, 21, 0, 0);
    add_spawns_and_background();
    map_compress();
    BankPtr good = map_bank;
    const MapState before = MapState::now();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        in_console.clear();
        map_bank = compressed(c.raw);
        EXPECT_EQ(map_uncompress(1), 0);
        EXPECT_TRUE(console_has(std::string("Wrong Map Format / Damaged Data (") + c.shown + ")"));
        EXPECT_TRUE(MapState::now() == before);
    }

    // Not a compressed pack at all, and a size field claiming 4 GB.
    std::vector<uint8_t> garbage(64, 0x5A);
    map_bank = std::make_shared<Bank>(garbage.data(), garbage.size());
    EXPECT_EQ(map_uncompress(), 0);
    BankPtr huge = CopyBank(*good);
    for (int i = 0; i < 4; ++i) huge->PokeByte(i, 0xFF);
    map_bank = huge;
    EXPECT_EQ(map_uncompress(), 0);
    EXPECT_TRUE(MapState::now() == before);

    map_bank = good;   // the sound pack still rebuilds the same map
    EXPECT_EQ(map_uncompress(), 1);
    EXPECT_TRUE(MapState::now() == before);
}

TEST_F(Pack, CapsHoldAtTheirLimitAndTheGameNeverPacksBeyond) {
    // At the caps a pack loads.
    map_setup(3, 3, 1);
    map_type = "000|1|0";
    for (int i = 0; i < 100000; ++i) Tmap_shape::add(3, i % 300, 0, 0, 0);
    for (int i = 0; i < 100000; ++i) Tmap_spawn::add(i % 300, 5, "{Mine}");
    map_compress();
    ASSERT_NE(map_bank, nullptr);
    BankPtr full = map_bank;
    map_generate(300, 300, 1, 0, 0);
    map_bank = full;
    EXPECT_EQ(map_uncompress(), 1);
    EXPECT_EQ(Tmap_shape::list.size(), 100000u);
    EXPECT_EQ(Tmap_spawn::list.size(), 100000u);

    // One more of each, or shapes covering too many rows: nothing is packed.
    struct Case {
        const char* what;
        std::function<void()> grow;
    };
    for (const Case& c : {Case{"shapes", [] { Tmap_shape::add(3, 0, 0, 0, 0); }},
                          {"spawns", [] { Tmap_spawn::add(0, 0, "{Mine}"); }},
                          {"rows", [] {
                               Tmap_shape::list.clear();
                               map_setup(300, 300, 0);
                               for (int i = 0; i < 8948; ++i) Tmap_shape::add(254, 0, 0, 29999, 29999);
                           }}}) {
        SCOPED_TRACE(c.what);
        map_setup(3, 3, 0);
        map_type = "000|1|0";
        c.grow();
        map_bank = full;
        in_console.clear();
        map_compress();
        EXPECT_EQ(map_bank, nullptr);
        Tmap_shape::list.resize(std::min<size_t>(Tmap_shape::list.size(), 100000));
        Tmap_spawn::list.resize(std::min<size_t>(Tmap_spawn::list.size(), 100000));
    }
}

TEST_F(Pack, UnknownMapTypeIsRefusedBeforeTheBankIsTouched) {
    map_generate(300, 300, 1, 0, 0);
    map_compress();
    BankPtr old = map_bank;
    const std::vector<uint8_t> old_bytes = old->Bytes();
    for (const char* type : {"7|1|2", "-1", "12|x"}) {
        SCOPED_TRACE(type);
        in_console.clear();
        map_type = type;
        map_bank = old;
        map_compress();
        EXPECT_EQ(map_bank, nullptr);
        EXPECT_TRUE(console_has(std::string("Wrong Map Format / Damaged Data (") + type + ")"));
        EXPECT_EQ(old->Bytes(), old_bytes);   // whoever else holds it keeps it whole
    }
    ScratchDir dir;
    EXPECT_EQ(map_save(dir / "x.gfm"), 0);
    EXPECT_EQ(FileType(dir / "x.gfm"), FILETYPE_NONE);
}

TEST_F(Pack, LongPathAndIdAreCutSoLengthsAndBytesAgree) {
    map_generate(300, 300, 1, 0, 0);
    map_bg_path = std::string(300, 'p');
    Tmap_spawn::add(1, 2, std::string(70000, 's'));
    EXPECT_EQ(Tmap_spawn::size(), 4 + 65535 + 10);
    map_compress();
    BankPtr raw = UncompressBank(*map_bank);
    ASSERT_TRUE(raw);
    Tmap_pack p;
    EXPECT_EQ(map_pack_read(*raw, p), "");
    ASSERT_EQ(p.spawns.size(), 1u);
    EXPECT_EQ(p.spawns[0].id, std::string(65535, 's'));
    EXPECT_EQ(p.spawns[0].x, 1);
    EXPECT_EQ(p.bg_path, std::string(255, 'p'));
    EXPECT_EQ(raw->Size(), 11u + 4 + 65535 + 10 + 4 + 255);
}

TEST_F(Pack, ForeignPacksLoadTheirBackgroundInTheForeignMode) {
    ScratchDir dir;
    auto pic = CreatePixmap(4, 4);
    ASSERT_TRUE(SavePixmapPNG(*pic, dir / "bg.png"));
    map_generate(300, 300, 1, 0, 0);
    map_bg_path = dir / "bg.png";   // absolute
    map_compress();

    ASSERT_EQ(map_uncompress(0), 1);
    EXPECT_NE(map_bg, nullptr);
    ASSERT_EQ(map_uncompress(1), 1);
    EXPECT_EQ(map_bg, nullptr);
    EXPECT_EQ(map_bg_path, dir / "bg.png");   // kept for packing on

    for (const char* bad : {"../x.png", "gfx/../../x.png", "/etc/x.png", "c:x.png"}) {
        map_bg_path = bad;
        map_compress();
        ASSERT_EQ(map_uncompress(1), 1);
        EXPECT_EQ(map_bg, nullptr) << bad;
        EXPECT_EQ(map_bg_path, bad);
    }
}

TEST_F(Pack, TextToIntegerAndFields) {
    struct Case {
        const char* text;
        int value;
    };
    for (auto c : {Case{"003|1|2", 3}, {"  -12x", -12}, {"+7", 7}, {"", 0}, {"abc", 0}, {"4294967297", 1}})
        EXPECT_EQ(text_toint_wrapping(c.text), c.value) << c.text;
    EXPECT_EQ(text_split("000|5|", "|"), (std::vector<std::string>{"000", "5", ""}));
    EXPECT_EQ(text_split("001", "|"), (std::vector<std::string>{"001"}));
}

}  // namespace
