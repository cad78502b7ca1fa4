// Terrain golden hashes: generation plus texturing for every style and form
// at three sizes and seeds, texturing of a given mask without decorations and
// over existing terrain, and a few hundred carves and stamps.
//
// Peers rebuild maps from their recipe and apply the same edits; stored maps
// and replays hold only recipes and edits. These hashes were recorded from a
// known-good build: a change that alters any pixel, surface node or scenery
// sprite must be deliberate and re-record them in the same change (a failing
// case prints its new line).
//
// The art is always the drawn stand-ins of terrain_art.h (plus the committed
// built-in branch and rock images), never files of the asset root, so the
// hashes do not move when the generated art does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/settings.h"
#include "support/golden_hash.h"
#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/nodes.h"
#include "terrain/scenery_grid.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"
#include "terrain_art.h"
#include "terrain_test_util.h"

namespace {

// Every pixel (tile by tile, an empty tile as zeros), the held tile count,
// the surface nodes, every sprite field and the recipe.
uint64_t map_hash() {
    GoldenHash g;
    g.add(map_xsize);
    g.add(map_ysize);
    static const uint32_t zeros[kTileSize * kTileSize] = {};
    for (int tx = 0; tx < map_xtiles; ++tx)
        for (int ty = 0; ty < map_ytiles; ++ty) {
            const uint32_t* p = map_tile_peek(tx, ty);
            g.bytes(p ? p : zeros, sizeof zeros);
        }
    g.add(map_tiles_held());
    g.add(Tmap_tn::peak);
    for (int i = 0; i < Tmap_tn::peak; ++i) {
        g.add(Tmap_tn::a[i].x);
        g.add(Tmap_tn::a[i].y);
    }
    for (int cx = 0; cx <= Tscc::w; ++cx)
        for (int cy = 0; cy <= Tscc::h; ++cy)
            for (int front = 0; front < 2; ++front)
                for (const auto& s : front ? Tscc::map[cx][cy].listf() : Tscc::map[cx][cy].list()) {
                    g.add(cx), g.add(cy), g.add(front), g.add(s->typ), g.add(s->sub);
                    g.add(s->x), g.add(s->y), g.add(s->sx), g.add(s->sy);
                    g.add(s->r), g.add(s->g), g.add(s->b), g.add(s->a);
                    g.add(s->t), g.add(s->sway), g.add(s->swaysp);
                }
    g.bytes(map_type.data(), map_type.size());
    return g.h;
}

class TerrainGolden : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Stand-ins only: point the asset root where nothing is.
        const char* old = std::getenv("GROMBAT_ASSETS");
        std::string saved = old ? old : "";
        setenv("GROMBAT_ASSETS", "/nonexistent-golden-assets/", 1);
        map_forget_textures();
        terrain_art::load_terrain_art();
        terrain_art::load_terrain_textures();
        if (old)
            setenv("GROMBAT_ASSETS", saved.c_str(), 1);
        else
            unsetenv("GROMBAT_ASSETS");
        gfx_border_h = solid_image(100, 10, 0xFF404040u);
        gfx_border_v = solid_image(10, 100, 0xFF404040u);
        gfx_border_c = solid_image(10, 10, 0xFF202020u);
    }
    static void TearDownTestSuite() {
        terrain_art::forget_terrain_art();
        map_forget_textures();
        gfx_border_h = gfx_border_v = gfx_border_c = nullptr;
    }
    void SetUp() override { set_particles = 2; }
};

struct GenCase {
    int xsize, ysize, seed;
    uint64_t hash[5][5];   // [style][form]
};

const GenCase kGen[] = {
    {300, 300, 1,
     {
         {0xbb1b977e10c2404aull, 0xb1b9f7ddab9a9cb5ull, 0x74ed1ef31490e987ull, 0x7b1cbf04e2a92e32ull, 0x7a2ad1f5990e1ac5ull},
         {0x9616ab901e9ffe72ull, 0x46918d7865fcd6ecull, 0x4afa2296b6c621fcull, 0x71a7b58153613df0ull, 0xa2dcab6e64e21449ull},
         {0x8692e8052d167df0ull, 0x4a18111563dcb769ull, 0xfd6b22bb3da3e59eull, 0x77df7f3e40c90270ull, 0xb76136f842c32aa6ull},
         {0x38866eb2fe82dc42ull, 0xbf403c2a7c5b4be2ull, 0x825569d2a8a67124ull, 0x1091242614f9f06eull, 0x2d6270b20ca31807ull},
         {0x628ffe98bf4bb6e5ull, 0xde1eee2ada54f935ull, 0xe2c208c65f374368ull, 0x9430dd3950a1de59ull, 0x6bacdb0fed806f27ull},
     }},
    {1300, 600, 20261209,
     {
         {0x212c7dc7f6b1eda0ull, 0xbe20de07fd2f2f57ull, 0x3bae11ac017605b7ull, 0x7c3a0404c7326671ull, 0x0afb13a705d01e4cull},
         {0x8253c91c4bfe2bc0ull, 0xd7b02b7f5f7d476aull, 0x38125de2300ff7d0ull, 0x41710cf170521f24ull, 0xf351aabf2ed4185dull},
         {0xc99926740e0fd308ull, 0xb1a846df100f57fcull, 0x6576f36d3ba2febeull, 0xdd25471b2e7ed139ull, 0xe98b368eeb3850b1ull},
         {0x496878b0d1fecda7ull, 0x26430eb089805412ull, 0x3933815f3a294510ull, 0xa1896f95817c062eull, 0x5a4f8f6dde37b06aull},
         {0x5c4c8aa08b29d800ull, 0x8ed70d1838b1d077ull, 0xeec95e8c4a875eafull, 0x6cf7c6e20c8254d1ull, 0x5f8eccd98a2c85f3ull},
     }},
    {1700, 900, -5,
     {
         {0xb7b32024b422411aull, 0x6b891760da6bbe69ull, 0xafd2eb07b0c2d236ull, 0xcd7976568fc8d65cull, 0x22480bef637d3724ull},
         {0xea9d725120bbdfebull, 0x2c8c5533ffc8a1a3ull, 0x5323aaaee5d3beebull, 0xe3e5a433dc72ad32ull, 0xa2d6201d22810692ull},
         {0x0c4c071272c3369aull, 0xdc3442a016a78b71ull, 0x5fe0bd20fd3b28ceull, 0x62cb92d484ddd498ull, 0x3136ff13bf4aa00cull},
         {0x6a5fbad4d1e13672ull, 0x8523a78257490a22ull, 0x76e18d0f381954edull, 0x167bf8e6605cfed4ull, 0xc8f2319e90051063ull},
         {0xb1611c8e9f21201eull, 0xd1d86b12e1971d2cull, 0xbef0eb5e70640547ull, 0x0e40328a0a4f97e2ull, 0xdf251a3c372d280bull},
     }},
};

void print_row(const char* what, const uint64_t* h, int n) {
    std::printf("    %s {", what);
    for (int i = 0; i < n; ++i) std::printf("0x%016llxull%s", (unsigned long long)h[i], i + 1 < n ? ", " : "},\n");
}

// A deterministic sequence of edit arguments, independent of the game's
// generator (which the edits must not touch).
struct Lcg {
    uint64_t s;
    int next(int lo, int hi) {   // lo..hi inclusive
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (int)((s >> 33) % (uint64_t)(hi - lo + 1));
    }
};

// Every source alpha 0..255 and varied colours, to reach every branch of the
// stamps and tints.
ImagePtr alpha_ramp(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    SetImageHandle(img, 0, 0);
    PixmapPtr p = LockImage(img, 0, true, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, (uint32_t)((x * 7 + y * 13) % 256) << 24 | (terrain_art::mix(x * 977 + y) & 0xFFFFFFu));
    UnlockImage(img, 0);
    return img;
}

// One edit of each primitive in turn, with arguments from rng: centres all
// over and beyond the map, on and beside tile corners, radii and extents
// from 0 up to several tiles, every stamp mode, strengths from 0 past 1 and
// channel adjustments that clamp.
void random_edit(Lcg& rng, int i, const ImagePtr* images, int nimages) {
    const int X = map_xsize, Y = map_ysize;
    auto coord = [&](int size) {
        switch (rng.next(0, 3)) {
            case 0: return rng.next(0, size / 100) * 100;                       // a tile corner
            case 1: return rng.next(0, size / 100) * 100 + rng.next(-2, 1);     // beside one
            default: return rng.next(-150, size + 150);
        }
    };
    auto colour = [&] { return rng.next(0, 3) == 0 ? 0 : (int)(0xFF000000u | terrain_art::mix(rng.next(0, 99999))); };
    auto channel = [&] {
        switch (rng.next(0, 5)) {
            case 0: return rng.next(0, 255);
            case 1: return rng.next(-30, 300);
            default: return -1;
        }
    };
    const float strengths[] = {0.0f, 0.25f, 0.5f, 0.6f, 0.8f, 1.0f, 1.6f};
    const ImagePtr& img = images[rng.next(0, nimages - 1)];
    const int x = coord(X), y = coord(Y);
    switch (i % 7) {
        case 0: {   // crater: small, medium, large, sometimes an ellipse
            int r = rng.next(0, 2) == 0 ? rng.next(0, 14) : rng.next(1, 130);
            int ry = rng.next(0, 3) == 0 ? rng.next(1, 90) : r;
            map_oval(x, y, r, ry, 0);
            break;
        }
        case 1: map_oval(x, y, rng.next(1, 60), rng.next(1, 60), colour()); break;
        case 2: map_rect(x, y, rng.next(-5, 250), rng.next(-5, 250), colour()); break;
        case 3: map_image(img, x, y, rng.next(0, 2) == 0 ? 1 : 0); break;
        case 4: {
            float s = strengths[rng.next(0, 6)];
            int r = channel(), g = channel(), b = channel();
            map_alphaimage(img, x, y, s, r, g, b);
            break;
        }
        case 5: {
            float s = strengths[rng.next(0, 6)];
            int sx = rng.next(0, 120), sy = rng.next(0, 40), w = rng.next(0, 140), h = rng.next(0, 80);
            int r = channel(), g = channel(), b = channel();
            map_alphaimagerect(img, x, y, sx, sy, w, h, s, r, g, b);
            break;
        }
        default: {
            int adj[3];
            for (int& a : adj) a = rng.next(0, 2) == 0 ? 0 : rng.next(-120, 300);
            map_backimage(img, x, y, adj[0], adj[1], adj[2]);
            break;
        }
    }
}

constexpr int kEditRounds = 6;   // hashes taken every 50 edits

const uint64_t kEditsOnTerrain[kEditRounds] = {0x47672991b6949cd9ull, 0xccb53af0a1294446ull, 0x31ce0c59f090b4a3ull, 0xc9b2eb1e7ae8fa00ull, 0x0866f444b744db0cull, 0x49929218f6510aa7ull};
const uint64_t kEditsOnEmpty[kEditRounds] = {0x16982129dc7d5ecbull, 0xf803530d5d475ed5ull, 0x690974f9dd61893dull, 0x0eaa21dcaf2d86e8ull, 0xd3c785d9f4bc9ba3ull, 0x4dcf9deaa53b0912ull};

}  // namespace

TEST_F(TerrainGolden, GenerationAndTexturingOfEveryStyleAndForm) {
    for (const GenCase& c : kGen) {
        uint64_t now[5][5];
        for (int style = 0; style < 5; ++style)
            for (int form = 0; form < 5; ++form) {
                map_generate(c.xsize, c.ysize, c.seed, style, form);
                now[style][form] = map_hash();
                EXPECT_EQ(now[style][form], c.hash[style][form])
                    << c.xsize << "x" << c.ysize << " seed " << c.seed << " style " << style << " form " << form;
            }
        if (HasFailure()) {
            std::printf("    {%d, %d, %d, {\n", c.xsize, c.ysize, c.seed);
            for (auto& row : now) print_row("", row, 5);
            std::printf("    }},\n");
        }
    }
}

// Texturing a given mask: without decorations, over terrain that stays where
// the mask is empty, and with style numbers outside 0..4.
TEST_F(TerrainGolden, TexturingOfAGivenMask) {
    const int styles[] = {0, 1, 2, 3, 4, 7, -3};
    uint64_t plain[7], kept[7];
    const uint64_t kPlain[7] = {0x358ddb0d0e972fa3ull, 0xbd71e3aa11fa4b2full, 0x8a9d04a0f3013ba6ull, 0xe763a1e920d308ddull, 0xc40d2ad836ed0707ull, 0x58f87bbd42a05876ull, 0x119887fa4c2863c1ull};
    const uint64_t kKept[7] = {0x3439e027ee8648aeull, 0x807c5a40fc962543ull, 0x3f2f7f06000fd682ull, 0xa954659b631eb36cull, 0x84e7eaf843756320ull, 0x6902c8349e77d331ull, 0xc566e79bfa94da62ull};
    for (int i = 0; i < 7; ++i) {
        map_setup(14, 7, 1);
        map_type.clear();   // map_setup leaves the last recipe, which the hash includes
        SeedRnd(555 + i);
        Tmap_mask mask(map_xsize, map_ysize);
        map_generate_outline(mask, 1 + i % 2);
        map_generate_fromarray(mask, styles[i], 0, 808 + i, 1);
        plain[i] = map_hash();
        EXPECT_EQ(plain[i], kPlain[i]) << "style " << styles[i];
        // Old terrain under an empty part of the mask stays (reset 0).
        map_rect(200, 100, 500, 400, (int)0xFF335577u);
        map_oval(900, 300, 120, 80, (int)0xC0806040u);
        map_generate_fromarray(mask, styles[i], 0, 909 + i, 0);
        kept[i] = map_hash();
        EXPECT_EQ(kept[i], kKept[i]) << "style " << styles[i];
    }
    if (HasFailure()) {
        print_row("kPlain", plain, 7);
        print_row("kKept", kept, 7);
    }
}

// Three hundred edits over generated terrain, three hundred over an empty
// map (which also pins which tiles come to hold memory).
TEST_F(TerrainGolden, CarvesAndStamps) {
    ImagePtr images[] = {alpha_ramp(37, 29), alpha_ramp(230, 170), gfx_inearth[3], gfx_bottomshade, gfx_grass,
                         gfx_toplight,        gfx_branches[0],     gfx_rocks[2],    gfx_rocks[3]};
    const int n = (int)std::size(images);
    // Every vector path (tints, ellipse fill) this machine has must give the
    // same pixels.
    const int machine_tint = map_tint_path(-1), machine_carve = map_carve_path(-1);
    for (int path : {0, 1, 2}) {
        const int tint = path;
        if (map_tint_path(tint) != tint || map_carve_path(path) != path) continue;
        SCOPED_TRACE("vector path " + std::to_string(path));
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 0)
                map_generate(1300, 600, 9, 0, 1);
            else
                map_setup(20, 10, 1), map_type.clear();
            Lcg rng{pass == 0 ? 12345u : 777u};
            uint64_t now[kEditRounds];
            const uint64_t* want = pass == 0 ? kEditsOnTerrain : kEditsOnEmpty;
            for (int round = 0; round < kEditRounds; ++round) {
                for (int i = 0; i < 50; ++i) random_edit(rng, round * 50 + i, images, n);
                now[round] = map_hash();
                EXPECT_EQ(now[round], want[round]) << "pass " << pass << " after " << (round + 1) * 50 << " edits";
            }
            if (HasFailure()) print_row(pass == 0 ? "kEditsOnTerrain" : "kEditsOnEmpty", now, kEditRounds);
        }
    }
    map_tint_path(machine_tint);
    map_carve_path(machine_carve);
}
