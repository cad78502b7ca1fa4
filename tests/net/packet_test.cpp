// Packets: the field encodings, the short-read rules and header placement.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/udp/packet.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::shared_ptr<Tudp_p> packet(const Bytes& b) {
    auto p = Tudp_p::Create();
    p->d->Bytes() = b;
    return p;
}

TEST(Packet, HeadersGoInFrontOrAfterTheLeadingRun) {
    auto p = packet({0x1E, 0x07});
    p->wsys(1, 0x1234);
    EXPECT_EQ(p->d->Bytes(), (Bytes{1, 0x34, 0x12, 0x1E, 7}));
    p->wsys(3, 9);
    EXPECT_EQ(p->d->Bytes(), (Bytes{3, 9, 0, 1, 0x34, 0x12, 0x1E, 7}));

    struct Case {
        Bytes before, after;
    };
    for (const Case& c : {Case{{1, 0x34, 0x12, 0x1E, 7}, {1, 0x34, 0x12, 4, 1, 0, 0x1E, 7}},
                          {{0x1E, 7}, {4, 1, 0, 0x1E, 7}},
                          {{}, {4, 1, 0}},
                          {{1, 0x34, 0x12}, {1, 0x34, 0x12, 4, 1, 0}},
                          {{1, 0x34}, {1, 0x34, 4, 1, 0}}}) {
        auto q = packet(c.before);
        q->readpos = 1;
        q->wlastsys(4, 1);
        EXPECT_EQ(q->d->Bytes(), c.after);
        EXPECT_EQ(q->readpos, 1);
    }
    Tudp_p bankless;
    bankless.d = nullptr;
    bankless.wsys(1, 2);
    bankless.wlastsys(1, 2);
    EXPECT_EQ(bankless.d, nullptr);
    EXPECT_EQ(bankless.size(), 0);
}

TEST(Packet, WritersPutLittleEndianFields) {
    auto p = Tudp_p::Create();
    p->wbyte(0x1FF);
    p->wshort(70000);
    p->wint(-2);
    p->wlong(0x0102030405060708LL);
    p->wfloat(1.0f);
    p->wdouble(-2.0);
    p->wsstr("ab");
    p->wstr("c");
    p->wtstr("de", 0);
    p->wbank(nullptr);
    auto b = std::make_shared<Bank>();
    b->Bytes() = {9, 8};
    p->wbank(b);
    Bytes want{0xFF, 0x70, 0x11, 0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0x80, 0x3F,
               0, 0, 0, 0, 0, 0, 0, 0xC0, 2, 'a', 'b', 1, 0, 'c', 'd', 'e', 0, 0, 0, 2, 0, 9, 8};
    EXPECT_EQ(p->d->Bytes(), want);

    // Reading it all back gives the values, and nothing is left.
    EXPECT_EQ(p->rbyte(), 255);
    EXPECT_EQ(p->rshort(), 4464);
    EXPECT_EQ(p->rint(), -2);
    EXPECT_EQ(p->rlong(), 0x0102030405060708LL);
    EXPECT_EQ(p->rfloat(), 1.0f);
    EXPECT_EQ(p->rdouble(), -2.0);
    EXPECT_EQ(p->rsstr(), "ab");
    EXPECT_EQ(p->rstr(), "c");
    EXPECT_EQ(p->rtstr(0), "de");
    auto empty = p->rbank();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Size(), 0u);
    auto back = p->rbank();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Bytes(), (Bytes{9, 8}));
    EXPECT_EQ(p->avail(), 0);
}

TEST(Packet, OverlongTextAndBanksAreCutToTheirCount) {
    auto p = Tudp_p::Create();
    p->wsstr(std::string(300, 'x'));
    ASSERT_EQ(p->size(), 256);
    EXPECT_EQ(p->d->Bytes()[0], 0xFF);
    EXPECT_EQ(p->rsstr(), std::string(255, 'x'));

    auto q = Tudp_p::Create();
    q->wstr(std::string(70000, 'y'));
    auto big = std::make_shared<Bank>(70000);
    q->wbank(big);
    EXPECT_EQ(q->size(), 2 * (2 + 65535));
    EXPECT_EQ(q->rstr().size(), 65535u);
    EXPECT_EQ(q->rbank()->Size(), 65535u);
}

TEST(Packet, ShortReadsFollowTheTable) {
    struct Case {
        const char* what;
        Bytes bytes;
        int readpos;   // after the read
    };
    // Fixed-width readers give 0 and stay advanced past the end.
    auto p = packet({});
    EXPECT_EQ(p->rbyte(), 0);
    EXPECT_EQ(p->avail(), -1);
    EXPECT_EQ(packet({0xFF, 0xFF})->rshort(), 65535);
    EXPECT_EQ(packet({0xFF, 0xFF, 0xFF, 0xFF})->rint(), -1);
    auto f = packet({1, 2, 3});
    EXPECT_EQ(f->rfloat(), 0.0f);
    EXPECT_EQ(f->readpos, 4);
    auto l = packet({1, 2, 3});
    EXPECT_EQ(l->rlong(), 0);
    EXPECT_EQ(l->readpos, 8);

    auto s = packet({5, 0x61, 0x62});
    EXPECT_EQ(s->rsstr(), "");
    EXPECT_EQ(s->readpos, 1);
    EXPECT_EQ(s->avail(), 2);
    auto s2 = packet({2, 0, 0x61, 0x62});
    EXPECT_EQ(s2->rstr(), "ab");
    EXPECT_EQ(s2->readpos, 4);
    auto s3 = packet({3, 0, 0x61});
    EXPECT_EQ(s3->rstr(), "");
    EXPECT_EQ(s3->readpos, 2);
    auto s4 = packet({});
    EXPECT_EQ(s4->rstr(), "");
    EXPECT_EQ(s4->readpos, 2);

    auto t = packet({0x61, 0x62});
    EXPECT_EQ(t->rtstr(0), "ab");
    EXPECT_EQ(t->readpos, 2);
    auto t2 = packet({0x61, 0, 0x62});
    EXPECT_EQ(t2->rtstr(0), "a");
    EXPECT_EQ(t2->readpos, 2);

    auto b = packet({5, 0, 0x61});
    EXPECT_EQ(b->rbank(), nullptr);
    EXPECT_EQ(b->readpos, 7);
    auto b2 = packet({0});
    EXPECT_EQ(b2->rbank(), nullptr);
    EXPECT_EQ(b2->readpos, 2);

    auto k = packet({1, 2, 3});
    EXPECT_EQ(k->rbytes(2), 0);
    EXPECT_EQ(k->readpos, 2);
    k->rbytes(100);
    EXPECT_EQ(k->readpos, 3);
}

TEST(Packet, ReadersNeverRunAwayOnRepeatedShortReads) {
    auto p = packet({0xFF, 0xFF});
    for (int i = 0; i < 100000; ++i) {
        p->rbytes(1 << 30);
        p->rbank();
        p->rlong();
    }
    EXPECT_GT(p->readpos, 2);
    EXPECT_LT(p->avail(), 0);
    EXPECT_EQ(p->rsstr(), "");
    EXPECT_EQ(p->rtstr(0), "");
}

TEST(Packet, TextIsOneBytePerCharacter) {
    auto p = Tudp_p::Create();
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back((char)c);
    p->wstr(all);
    EXPECT_EQ(p->rstr(), all);
}

}  // namespace
