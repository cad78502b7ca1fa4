// Script resource tables: ids and growth, mission paths, where files load
// from on each kind of machine, built-in ids and the transfer lookups.
#include "core/resources.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/temp_files.h"
#include "match/game.h"
#include "match/mission.h"
#include "match/replay.h"
#include "net/resource_lookup.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "scripting/script_files.h"
#include "support/media_bytes.h"
#include "support/temp_dir.h"

namespace {

// A PNG of one opaque row whose header claims w x h (CRC made right).
BankPtr claiming_png(int w, int h) {
    BankPtr png = png_bytes(1, 1);
    if (!png) return nullptr;
    for (int i = 0; i < 4; ++i) {
        png->PokeByte((size_t)(16 + i), (w >> (24 - 8 * i)) & 255);
        png->PokeByte((size_t)(20 + i), (h >> (24 - 8 * i)) & 255);
    }
    uint32_t crc = (uint32_t)crc32(0, png->Buf() + 12, 17);
    for (int i = 0; i < 4; ++i) png->PokeByte((size_t)(29 + i), (int)(crc >> (24 - 8 * i)) & 255);
    return png;
}

// True when the header reads as an image within the script limits.
bool probes_passed(const BankPtr& png) {
    int w = 0, h = 0;
    return ProbePixmapSize(png->Buf(), png->Size(), w, h) && w <= kResMaxImageSide && h <= kResMaxImageSide &&
           (int64_t)w * h <= kResMaxImagePixels;
}

class Resources : public ::testing::Test {
   protected:
    void SetUp() override {
        Tres::clear();
        Tres::gfx.assign(300, nullptr);
        Tres::sfx.assign(300, nullptr);
        Tscr::script.assign(300, nullptr);
        Ttemp::freeall();
        Tmission::selected = nullptr;
        g_server = 1;
        set_saveres = 0;
        g_replay = 0;
        g_replay_missingres.clear();
        ASSERT_TRUE(dir.ok());
    }
    void TearDown() override {
        Tres::clear();
        Ttemp::freeall();
        Tmission::selected = nullptr;
        g_server = 0;
    }
    TempDir dir{"gfx", "sfx"};
};

TEST_F(Resources, IdsStartAt1AndRepeatForTheSamePath) {
    EXPECT_EQ(Tres::loadgfx("a.png"), 1);
    EXPECT_EQ(Tres::loadgfx("b.png"), 2);
    EXPECT_EQ(Tres::loadgfx("a.png"), 1);
    EXPECT_EQ(Tres::loadgfx("A.png"), 3) << "paths compare exactly";
    EXPECT_EQ(Tres::loadsfx("a.png"), 1) << "each table counts on its own";
    EXPECT_EQ(Tres::countarray(Tres::gfx), 3);
    EXPECT_EQ(Tres::countarray(Tres::sfx), 1);
}

TEST_F(Resources, TablesGrowBy50AndKeepTheirLengthThroughClear) {
    for (int i = 1; i <= 299; i++) ASSERT_EQ(Tres::loadgfx("img" + std::to_string(i) + ".png"), i);
    EXPECT_EQ(Tres::gfx.size(), 300u);
    EXPECT_EQ(Tres::loadgfx("img300.png"), 300);
    EXPECT_EQ(Tres::gfx.size(), 350u);
    EXPECT_EQ(Tres::loadgfx("img301.png"), 301);
    EXPECT_EQ(Tres::loadgfx("img7.png"), 7);
    EXPECT_EQ(Tres::countarray(Tres::gfx), 301);

    Tres::clear();
    EXPECT_EQ(Tres::gfx.size(), 350u);
    EXPECT_EQ(Tres::countarray(Tres::gfx), 0);
    EXPECT_EQ(Tres::loadgfx("img300.png"), 1);
}

TEST_F(Resources, AFreedSlotIsReusedFirst) {
    Tres::loadgfx("a.png");
    Tres::loadgfx("b.png");
    Tres::loadgfx("c.png");
    Tres::gfx[2] = nullptr;
    EXPECT_EQ(Tres::loadgfx("d.png"), 2);
    EXPECT_EQ(Tres::loadgfx("c.png"), 3);
}

TEST_F(Resources, MissionPathsPointIntoTheMissionFolder) {
    ASSERT_TRUE(CreateDir("missions/m01", true));
    ASSERT_TRUE(save_png("missions/m01/shot.png", 7, 5));
    auto mission = std::make_shared<Tmission>();
    mission->folder = "m01";

    struct Case {
        bool selected;
        const char* given;
        const char* stored;
        bool loads;
    };
    for (auto c : {Case{true, "$MISSION/shot.png", "../missions/m01/shot.png", true},
                   {true, "$mission/shot.png", "../missions/m01/shot.png", true},
                   {true, "$Mission/shot.png", "$Mission/shot.png", false},
                   {false, "$MISSION/shot.png", "$MISSION/shot.png", false}}) {
        Tres::clear();
        Tmission::selected = c.selected ? mission : nullptr;
        int id = Tres::loadgfx(c.given);
        ASSERT_EQ(id, 1);
        EXPECT_EQ(Tres::gfx[1]->path, c.stored) << c.given;
        EXPECT_EQ(ImageWidth(Tres::getimage(1)), c.loads ? 7 : 0) << c.given;
    }
}

TEST_F(Resources, ImagesAndSoundsLoadFromDisk) {
    ASSERT_TRUE(save_png("gfx/rocket.png", 12, 9));
    ASSERT_TRUE(save_wav("sfx/boom.wav", 500));
    int gfx_id = Tres::loadgfx("rocket.png");
    int sfx_id = Tres::loadsfx("boom.wav");
    EXPECT_EQ(ImageWidth(Tres::getimage(gfx_id)), 12);
    EXPECT_EQ(ImageHeight(Tres::getimage(gfx_id)), 9);
    ASSERT_TRUE(Tres::slot(Tres::sfx, sfx_id));
    EXPECT_TRUE(Tres::slot(Tres::sfx, sfx_id)->sound);

    // A failed load is remembered: the same path gives the same id without retrying.
    int missing = Tres::loadgfx("later.png");
    ASSERT_TRUE(save_png("gfx/later.png", 3, 3));
    EXPECT_EQ(Tres::loadgfx("later.png"), missing);
    EXPECT_EQ(Tres::getimage(missing), nullptr);
}

TEST_F(Resources, AJoiningMachineLoadsReceivedFilesFirst) {
    // The disk holds an older 4x4 version; the host sent a 10x6 one.
    ASSERT_TRUE(save_png("gfx/shell.png", 4, 4));
    BankPtr received = png_bytes(10, 6);
    ASSERT_TRUE(received);
    Ttemp::add("gfx/shell.png", *received, 0);
    Ttemp::add("sfx/hit.wav", *make_wav(300), 0);
    Ttemp::add("gfx/junk.png", *std::make_shared<Bank>("not an image", 12), 0);

    struct Case {
        int server, saveres, width;
    };
    for (auto c : {Case{0, 0, 10}, {0, 1, 4}, {1, 0, 4}}) {
        Tres::clear();
        g_server = c.server;
        set_saveres = c.saveres;
        EXPECT_EQ(ImageWidth(Tres::getimage(Tres::loadgfx("shell.png"))), c.width)
            << "server " << c.server << " saveres " << c.saveres;
    }

    Tres::clear();
    g_server = 0;
    set_saveres = 0;
    int sound = Tres::loadsfx("hit.wav");
    EXPECT_TRUE(Tres::sfx[sound]->sound) << "no such file on disk: it came from the cache";
    // Damaged received bytes load nothing and harm nothing.
    EXPECT_EQ(Tres::getimage(Tres::loadgfx("junk.png")), nullptr);
}

TEST_F(Resources, ImagesAndSoundsBeyondTheLimitsLoadNowhere) {
    // Sizes at and past the limits, on disk and received alike.
    struct Case {
        int w, h;
        bool loads;
    };
    for (auto c : {Case{8192, 2, true}, {8193, 1, false}, {1, 8193, false}, {4096, 4096, true}, {4097, 4096, false}}) {
        const std::string name = std::to_string(c.w) + "x" + std::to_string(c.h) + ".png";
        // Large ones as a header only: the size is judged before any pixel.
        BankPtr png = c.w * c.h > 100000 ? claiming_png(c.w, c.h) : png_bytes(c.w, c.h);
        ASSERT_TRUE(png);
        ASSERT_TRUE(SaveBank(*png, "gfx/disk" + name));
        Ttemp::add("gfx/sent" + name, *png, 0);
        for (int server : {1, 0}) {
            g_server = server;
            const std::string path = (server ? "disk" : "sent") + name;
            const int id = Tres::loadgfx(path);
            if (c.w * c.h > 100000) {
                // A header that passes the limits goes on to the decoder, which finds no pixels.
                EXPECT_EQ(Tres::getimage(id), nullptr);
                EXPECT_EQ(probes_passed(png), c.loads) << path;
            } else {
                EXPECT_EQ(Tres::getimage(id) != nullptr, c.loads) << path;
            }
        }
    }
    // Sounds up to ten minutes; at 1000 frames a second a minute more is cheap.
    for (auto [seconds, loads] : {std::pair{600, true}, {601, false}}) {
        std::vector<int16_t> wave((size_t)seconds * 1000, 100);
        const std::string name = "long" + std::to_string(seconds);
        ASSERT_TRUE(SaveBank(*EncodeSoundWav(wave, 1, 1000), "sfx/" + name + ".wav"));
        Ttemp::add("sfx/" + name + ".ogg", *EncodeSoundOgg(wave, 1, 1000, 0.0f), 0);
        g_server = 1;
        EXPECT_EQ(Tres::sfx[Tres::loadsfx(name + ".wav")]->sound != nullptr, loads) << name;
        g_server = 0;
        EXPECT_EQ(Tres::sfx[Tres::loadsfx(name + ".ogg")]->sound != nullptr, loads) << name;
    }
}

TEST_F(Resources, AReplayNotesItsMissingImages) {
    g_replay = 1;
    Tres::loadgfx("a.png");
    Tres::loadsfx("quiet.wav");
    Tres::loadgfx("b.png");
    Tres::loadgfx("a.png");
    EXPECT_EQ(g_replay_missingres, ", a.png, b.png");
}

TEST_F(Resources, GetimageChecksEveryId) {
    ImagePtr fire = CreateImage(2, 2), flare1 = CreateImage(2, 2), flare2 = CreateImage(2, 2),
             crater25 = CreateImage(2, 2), crater100 = CreateImage(2, 2);
    gfx_fire = fire;
    gfx_flare[1] = flare1;
    gfx_flare[2] = flare2;
    gfx_crater25 = crater25;
    gfx_crater100 = crater100;
    for (int i = 0; i < 3; i++) gfx_blood50[i] = CreateImage(i + 1, 1);
    ASSERT_TRUE(save_png("gfx/x.png", 1, 1));
    int id = Tres::loadgfx("x.png");

    EXPECT_EQ(Tres::getimage(0), nullptr);
    EXPECT_TRUE(Tres::getimage(id));
    EXPECT_EQ(Tres::getimage(id + 1), nullptr);
    EXPECT_EQ(Tres::getimage(299), nullptr);
    EXPECT_EQ(Tres::getimage(300), nullptr);
    EXPECT_EQ(Tres::getimage(1 << 30), nullptr);
    EXPECT_EQ(Tres::getimage(-12), fire);
    EXPECT_EQ(Tres::getimage(-14), flare1);
    EXPECT_EQ(Tres::getimage(-11), crater25);
    EXPECT_EQ(Tres::getimage(-1), crater100);
    EXPECT_EQ(Tres::getimage(-15), flare2);
    EXPECT_EQ(Tres::getimage(-16), nullptr);
    EXPECT_EQ(Tres::getimage(-(1 << 30)), nullptr);
    EXPECT_EQ(Tres::slot(Tres::gfx, -1), nullptr);
    EXPECT_EQ(Tres::slot(Tres::gfx, 300), nullptr);

    // A blood stain takes its shape from the shared sequence.
    SeedRnd(4242);
    int first = Rand(0, 2), second = Rand(0, 2);
    SeedRnd(4242);
    EXPECT_EQ(Tres::getimage(-5), gfx_blood50[first]);
    EXPECT_EQ(Tres::getimage(-5), gfx_blood50[second]);
    gfx_fire = nullptr;
    gfx_flare[1] = gfx_flare[2] = nullptr;
    gfx_crater25 = gfx_crater100 = nullptr;
    for (auto& b : gfx_blood50) b = nullptr;
}

TEST_F(Resources, TransferLookupsTakeTheFirstMatchingName) {
    ASSERT_TRUE(SaveBank(Bank(37), "scripts.lua"));
    Tres::loadgfx("a.png");
    Tres::loadsfx("b.wav");
    BankPtr packed = CreateBank(5);
    Tres::sfx[1]->compr = packed;
    Tres::sfx[1]->crc32 = 321;
    Tres::sfx[1]->size = 900;
    auto script = std::make_shared<Tscr>();
    script->path = "gfx/a.png";  // shadowed by the image of that name
    script->compr = CreateBank(3);
    script->crc32 = 55;
    script->size = 66;
    Tscr::script[0] = script;
    auto other = std::make_shared<Tscr>();
    other->path = "scripts/w.lua";
    other->crc32 = 8;
    other->size = 9;
    Tscr::script[4] = other;

    struct Case {
        const char* name;
        bool bank;
        int crc, size;
    };
    for (auto c : {Case{"gfx/a.png", false, 0, 0},
                   {"sfx/b.wav", true, 321, 900},
                   {"scripts/w.lua", false, 8, 9},
                   {"scripts.lua", false, 0, 37},
                   {"nothing.png", false, 0, -1},
                   {"a.png", false, 0, -1}}) {
        EXPECT_EQ(getresbank(c.name) != nullptr, c.bank) << c.name;
        EXPECT_EQ(getrescrc32(c.name), c.crc) << c.name;
        EXPECT_EQ(getressize(c.name), c.size) << c.name;
    }
    EXPECT_EQ(getresbank("sfx/b.wav"), packed);

    // Clearing releases the compressed copies at once.
    Tres::clear();
    EXPECT_EQ(packed->Size(), 0u);
    EXPECT_EQ(getresbank("sfx/b.wav"), nullptr);
    EXPECT_EQ(getrescrc32("gfx/a.png"), 55) << "the script entry now answers";
}

}  // namespace
