// Minimap: scale and placement, the picture and its mask, and the five parts
// of message 241.
#include <gtest/gtest.h>

#include "map_state.h"
#include "terrain/edit.h"
#include "terrain/minimap.h"
#include "net/udp/udp.h"
#include "world/netplayer.h"

namespace {

class Minimap : public MapTest {};

// The game sends with its own packet size limit; at the layer's default the
// 1005-byte parts would be cut further when the next packet opens.
struct GameSizeLimit {
    int saved = udp_s_sizelimit;
    GameSizeLimit() { udp_s_sizelimit = 10000; }
    ~GameSizeLimit() { udp_s_sizelimit = saved; }
};

// Solid cells of the mask as a count, and the extents.
long solid_cells() {
    long n = 0;
    for (unsigned char c : map_mini_array.cells) n += c;
    return n;
}

TEST_F(Minimap, WideAndTallMapsSitInTheTopLeftCorner) {
    struct Case {
        int xt, yt;
        int rw, rh;
    };
    // 3000 x 1000: scale 0.0933, the terrain ends at y 93.3; 1000 x 3000:
    // scale 0.0433, it ends at x 43.3.
    for (auto c : {Case{30, 10, 279, 93}, {10, 30, 43, 129}, {3, 3, 129, 129}}) {
        map_setup(c.xt, c.yt, 1);
        map_rect(0, 0, map_xsize - 1, map_ysize - 1, (int)0xFF101010u);
        map_createminimap();
        EXPECT_EQ(map_mini_sw, c.xt * 100);
        EXPECT_EQ(map_mini_sh, c.yt * 100);
        EXPECT_EQ(map_mini_rw, c.rw) << c.xt << "x" << c.yt;
        EXPECT_EQ(map_mini_rh, c.rh) << c.xt << "x" << c.yt;
        EXPECT_EQ(solid_cells(), (long)(c.rw + 1) * (c.rh + 1));
    }
}

TEST_F(Minimap, PictureIsGreyByRowAndTransparentWhereEmpty) {
    map_setup(28, 13, 1);                            // scale exactly 0.1
    map_rect(0, 500, 2799, 299, (int)0xFF804020u);   // rows 500..799: cells 50..79
    map_rect(1500, 1290, 0, 0, (int)0x05FFFFFFu);    // a faint pixel still shows
    map_rect(100, 100, 0, 0, (int)0xFFFF00FFu);      // the mask colour does not
    map_createminimap();
    ASSERT_NE(map_mini, nullptr);
    ASSERT_EQ(map_mini->width, 280);
    ASSERT_EQ(map_mini->height, 130);
    const TPixmap& p = *map_mini->frames[0];
    EXPECT_EQ(p.ReadPixel(0, 50), 0xFFCDCDCDu);     // 255 - 50
    EXPECT_EQ(p.ReadPixel(279, 79), 0xFFB0B0B0u);   // 255 - 79
    EXPECT_EQ(p.ReadPixel(0, 49) >> 24, 0u);
    EXPECT_EQ(p.ReadPixel(0, 80) >> 24, 0u);
    EXPECT_EQ(p.ReadPixel(150, 129), 0xFF7E7E7Eu);   // bottom row: 126
    EXPECT_EQ(map_mini_array[10][10], 0);
    EXPECT_EQ(map_mini_rw, 279);
    EXPECT_EQ(map_mini_rh, 129);
}

TEST_F(Minimap, EmptyMapHasNoSolidCell) {
    map_setup(5, 5, 1);
    map_createminimap();
    EXPECT_EQ(solid_cells(), 0);
    EXPECT_EQ(map_mini_rw, 0);
    EXPECT_EQ(map_mini_rh, 0);
}

TEST_F(Minimap, FivePartsCoverEveryCellOnce) {
    map_setup(28, 13, 1);
    map_rect(0, 0, 0, 0, (int)0xFF000000u);         // cell (0, 0)
    map_rect(2799, 1299, 0, 0, (int)0xFF000000u);   // cell (279, 129)
    map_rect(0, 290, 0, 0, (int)0xFF000000u);       // cell (0, 29) = number 8120
    map_createminimap();

    GameSizeLimit limit;
    Tudp_con con;
    for (int part = 0; part < 5; ++part) map_sendmini(&con, part);
    ASSERT_EQ(con.out.size(), 6u);   // the header's packet, then one per part
    std::vector<std::vector<uint8_t>> packets;
    for (auto& p : con.out) {
        EXPECT_EQ(p->id % 2, 0);
        packets.push_back(p->d->Bytes());
    }
    std::vector<uint8_t> head{241, 2, 0xF0, 0x0A, 0, 0, 0x14, 0x05, 0, 0, 0x17, 0x01, 0x81, 0};
    EXPECT_EQ(packets[0], head);   // 2800, 1300, 279, 129
    long bits = 0;
    for (int part = 0; part < 5; ++part) {
        const std::vector<uint8_t>& m = packets[1 + part];
        size_t n = part == 4 ? 550 : 1000;
        ASSERT_EQ(m.size(), 5 + n);
        EXPECT_EQ(m[0], 241);
        EXPECT_EQ(m[1], 1);
        EXPECT_EQ(m[2], part);
        EXPECT_EQ(m[3] | m[4] << 8, (int)n);
        for (size_t k = 5; k < m.size(); ++k) bits += __builtin_popcount(m[k]);
    }
    EXPECT_EQ(bits, 3);
    EXPECT_EQ(packets[1][5], 0x01);         // part 0, byte 0, bit 0
    EXPECT_EQ(packets[2][5 + 15], 0x01);    // part 1, byte 15, bit 0
    EXPECT_EQ(packets[5][5 + 549], 0x80);   // part 4, byte 549, bit 7
}

TEST_F(Minimap, HeaderJoinsTheOpenPacketAndNoConnectionWritesNothing) {
    map_setup(3, 3, 1);
    map_createminimap();
    Tudp_con con;
    auto open = con.Createpacket(0, 1);
    open->wbyte(99);
    map_sendmini(&con, 0);
    ASSERT_EQ(con.out.size(), 2u);
    EXPECT_EQ(con.out.front(), open);
    EXPECT_EQ(open->d->Size(), 15u);
    EXPECT_EQ(open->id % 2, 0);
    EXPECT_EQ(map_sendmini(nullptr, 0), 0);

    // The lobby's driver keeps a count per net player.
    auto pl = std::make_shared<Tnetpl>();
    pl->id = 1;
    pl->con = std::make_shared<Tudp_con>();
    map_sendmini(pl->con.get(), pl->minimap++);
    EXPECT_EQ(pl->minimap, 1);
    EXPECT_EQ(pl->con->out.size(), 2u);
}

}  // namespace
