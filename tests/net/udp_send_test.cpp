// Reliable-UDP sending: ids, the open packet, acknowledgements, the resend
// schedule, hold-back and partitioning, through the tap.
#include <algorithm>

#include "udp_fixture.h"

namespace {

using namespace udp_test;

class UdpSend : public UdpTest {};

TEST_F(UdpSend, IdsStartAtOneAndTwoAndWrapToTwo) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    auto u = con->Createpacket(0, 0);
    EXPECT_EQ(u->id, 1);
    EXPECT_EQ(con->Createpacket(1, 0), u);   // the open packet turns reliable
    EXPECT_EQ(u->id, 2);
    EXPECT_EQ(con->Createpacket(1, 1)->id, 4);
    EXPECT_EQ(con->Createpacket(0, 1)->id, 5);

    con->out_id = 65534;
    EXPECT_EQ(con->Createpacket(1, 1)->id, 65534);
    EXPECT_EQ(con->Createpacket(1, 1)->id, 2);
    EXPECT_EQ(con->Createpacket(0, 1)->id, 3);
    con->out_id = 2;
    EXPECT_EQ(con->Createpacket(0, 1)->id, 1);

    // A new packet leaves the earlier one in out as it was.
    EXPECT_EQ(con->out.size(), 7u);
    EXPECT_EQ(con->out.front(), u);
}

TEST_F(UdpSend, FirstPacketsLeaveWithIdsOneAndTwo) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->Createpacket(0, 0)->wbyte(10);
    frame();
    con->Createpacket(1, 0)->wbyte(11);
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].bytes, (Bytes{1, 0, 10}));
    EXPECT_EQ(s[0].port, 1000);
    EXPECT_EQ(s[1].bytes, (Bytes{2, 0, 11}));
    EXPECT_TRUE(con->out.size() == 1 && con->out.front()->done == 1);   // awaits its acknowledgement
    EXPECT_EQ(con->lp, nullptr);
}

TEST_F(UdpSend, AcknowledgementGoesInFrontOfTheOpenPacket) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->out_id = 6;
    con->in_id = 4;
    auto p = con->Createpacket(1, 0);
    p->wbyte(251);
    p->wint(1000);
    feed(1000, datagram(4, {10}));
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].bytes, (Bytes{6, 0, 1, 4, 0, 0xFB, 0xE8, 3, 0, 0}));
}

TEST_F(UdpSend, AcknowledgementRemovesOnlyATransmittedPacket) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->Createpacket(1, 0)->wbyte(10);
    // An acknowledgement of packet 2 before it left changes nothing.
    feed(1000, datagram(1, {1, 2, 0}));
    Fudp_update();
    ASSERT_EQ(sent().size(), 1u);
    ASSERT_EQ(con->out.size(), 1u);
    feed(1000, datagram(1, {1, 2, 0}));
    frame();
    EXPECT_TRUE(con->out.empty());
    EXPECT_TRUE(sent().empty());
}

TEST_F(UdpSend, ResendScheduleAndErrorAfterTwentyTransmissions) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    auto p = con->Createpacket(1, 0);
    p->wbyte(10);
    clock = 10000;
    Fudp_update();
    EXPECT_EQ(sent().size(), 1u);
    clock = 10500;
    Fudp_update();
    EXPECT_EQ(sent().size(), 0u);   // 500 is not more than 500
    clock = 10520;
    Fudp_update();
    EXPECT_EQ(sent().size(), 1u);
    EXPECT_EQ(p->rs_delay, 1000);
    EXPECT_EQ(p->rs_attempt, 2);

    // A clock behind the stamp resends at once.
    clock = 9000;
    Fudp_update();
    EXPECT_EQ(sent().size(), 1u);
    EXPECT_EQ(p->rs_timer, 9000);
    EXPECT_EQ(p->rs_delay, 1500);

    while (p->rs_attempt < 20) {
        clock += 5001;
        Fudp_update();
    }
    EXPECT_EQ(p->rs_delay, 5000);
    EXPECT_EQ(con->error, 0);
    clock += 5001;
    Fudp_update();
    EXPECT_EQ(p->rs_attempt, 21);
    EXPECT_EQ(con->error, 1);
    EXPECT_EQ(sent().size(), 18u);   // transmissions 4..21
}

TEST_F(UdpSend, ConnectionsTakeTurns) {
    auto a = Tudp_con::Get(kPeerIp, 1000, 1);
    auto b = Tudp_con::Get(kPeerIp, 2000, 1);
    for (int i = 1; i <= 3; ++i) a->Createpacket(1, 1)->wbyte(10 + i);
    b->Createpacket(1, 1)->wbyte(20);
    frame();
    std::vector<Bytes> order;
    for (auto& g : sent()) order.push_back(g.bytes);
    EXPECT_EQ(order, (std::vector<Bytes>{{2, 0, 11}, {2, 0, 20}, {4, 0, 12}, {6, 0, 13}}));
}

TEST_F(UdpSend, UnreliablePacketsLeaveOnceAndSendnowTakesOnlyThem) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    auto u = con->Createpacket(0, 0);
    u->wbyte(10);
    con->sendnow(u);
    EXPECT_EQ(sent().size(), 1u);
    EXPECT_TRUE(con->out.empty());
    EXPECT_EQ(con->lp, nullptr);
    auto r = con->Createpacket(1, 0);
    r->wbyte(10);
    con->sendnow(r);
    con->sendnow(nullptr);
    EXPECT_EQ(sent().size(), 0u);
    con->Createpacket(0, 1)->wbyte(12);
    frame();
    frame(600);
    auto s = sent();
    ASSERT_EQ(s.size(), 3u);   // 2, 3, then only 2 again
    EXPECT_EQ(id_of(s[0]), 2);
    EXPECT_EQ(id_of(s[1]), 3);
    EXPECT_EQ(id_of(s[2]), 2);
}

TEST_F(UdpSend, PartsAtTheDefaultLimit) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    auto p = con->Createpacket(1, 0);
    for (int i = 0; i < 1000; ++i) p->wbyte(i == 0 ? 10 : i & 255);
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 3u);
    const int sizes[3] = {495, 495, 25}, ids[3] = {2, 4, 6};
    const Bytes heads[3] = {{4, 1, 0}, {4, 2, 0}, {4, 0xFF, 0xFF}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((int)s[i].bytes.size(), sizes[i]);
        EXPECT_EQ(id_of(s[i]), ids[i]);
        EXPECT_EQ(Bytes(s[i].bytes.begin() + 2, s[i].bytes.begin() + 5), heads[i]);
    }
    // A packet of exactly the limit goes whole; one byte more makes two parts.
    auto q = con->Createpacket(1, 1);
    q->d->Bytes().assign(490, 10);
    con->Createpacket(1, 1)->d->Bytes().assign(491, 10);
    frame();
    s = sent();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].bytes.size(), 492u);
    EXPECT_EQ(s[2].bytes, (Bytes{12, 0, 4, 0xFF, 0xFF, 10}));
}

TEST_F(UdpSend, GameLimitsCutOnlyWhatTheReceiverWouldRefuse) {
    udp_s_sizelimit = 10000;
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    auto p = con->Createpacket(0, 0);   // an unreliable packet this long goes as reliable parts
    for (int i = 0; i < 7000; ++i) p->wbyte(i == 0 ? 10 : i * 7 & 255);
    Bytes whole = p->d->Bytes();
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].bytes.size(), 5000u);
    EXPECT_EQ(s[1].bytes.size(), 2010u);
    relay(s, 3000);
    frame();
    auto got = deliver_all();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, 3000);
    EXPECT_EQ(got[0].second->d->Bytes(), whole);

    // However acknowledgements and messages mix, no datagram passes 5000.
    for (int len : {4990, 4995, 4996, 9999, 10001}) {
        tap.sent.clear();
        for (int id = 2; id <= 398; id += 2) feed(1000, datagram(id, {10}));
        auto q = con->Createpacket(1, 0);
        for (int i = 0; i < len; ++i) q->wbyte(10);
        frame(6000);
        for (const auto& g : sent()) EXPECT_LE(g.bytes.size(), 5000u) << len;
        deliver_all();
        Tudp_con::Free(con);
        con = Tudp_con::Get(kPeerIp, 1000, 1);
    }
}

TEST_F(UdpSend, ManyAcknowledgementsAndMessagesInOneFrameArriveIntact) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    for (int id = 2; id <= 400; id += 2) feed(1000, datagram(id, {10, (uint8_t)id}));
    Bytes messages;
    auto p = con->Createpacket(1, 0);
    for (int i = 0; i < 600; ++i) p->wbyte(i % 3 == 0 ? 10 : i & 255);
    messages = p->d->Bytes();
    frame();
    auto s = sent();
    std::vector<int> acked;
    for (const auto& g : s) {
        EXPECT_LE(g.bytes.size(), 495u);
        for (size_t i = 2; i + 2 < g.bytes.size() && g.bytes[i] == 1; i += 3) acked.push_back(g.bytes[i + 1] | g.bytes[i + 2] << 8);
    }
    std::sort(acked.begin(), acked.end());
    ASSERT_EQ(acked.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(acked[i], 2 + 2 * i);

    EXPECT_EQ(deliver_all().size(), 200u);   // the peer's packets on port 1000
    relay(s, 3000);
    frame();
    auto got = deliver_all();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].second->d->Bytes(), messages);
}

TEST_F(UdpSend, ASilentPeerGetsTwoHundredReliablePacketsAtATime) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    for (int i = 0; i < 250; ++i) con->Createpacket(1, 1)->wbyte(10);
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 200u);
    EXPECT_EQ(id_of(s.front()), 2);
    EXPECT_EQ(id_of(s.back()), 400);
    // Acknowledgements of 2..100 let the next 50 go, and acknowledgements
    // never wait behind a held packet.
    con->Createpacket(1, 1)->wbyte(10);   // 502, held
    Bytes acks;
    for (int id = 2; id <= 100; id += 2) acks.insert(acks.end(), {1, (uint8_t)(id & 255), (uint8_t)(id >> 8)});
    acks.push_back(10);
    feed(1000, datagram(2, acks));
    frame(100);
    s = sent();
    ASSERT_EQ(s.size(), 51u);   // 402..500, then the acknowledgement of 2 on a packet of its own
    EXPECT_EQ(id_of(s[0]), 402);
    EXPECT_EQ(id_of(s[49]), 500);
    EXPECT_EQ(s[50].bytes, (Bytes{0xF7, 1, 1, 2, 0}));   // unreliable 503
    EXPECT_EQ(con->out.size(), 201u);   // 102..502 wait for their acknowledgements
}

TEST_F(UdpSend, ResetEmptiesOnlyWithClear) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->Createpacket(1, 0)->wbyte(10);
    con->Createpacket(1, 1)->wbyte(10);
    con->reset(7, 0);
    con->reset(7, 0);
    EXPECT_EQ(con->out_id, 2);
    EXPECT_EQ(con->out.size(), 2u);
    con->Createpacket(1, 1);
    EXPECT_EQ(con->out_id, 4);
    con->reset(7, 0);   // the same value: nothing
    EXPECT_EQ(con->out_id, 4);
    con->reset(8, 1);
    EXPECT_TRUE(con->out.empty());
    EXPECT_EQ(con->lp, nullptr);
    EXPECT_EQ(con->sessionid, 8);
}

}  // namespace
