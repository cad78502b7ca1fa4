// Reliable-UDP receiving: filing, acknowledgement, in-order delivery, parts,
// the window, new conversations, the caps and the ignore list.
#include "udp_fixture.h"

namespace {

using namespace udp_test;

class UdpReceive : public UdpTest {
protected:
    std::vector<int> delivered_ids() {
        std::vector<int> ids;
        for (auto& [port, p] : deliver_all()) ids.push_back(p->id);
        return ids;
    }
    // The acknowledged ids in what left.
    std::vector<int> acks() {
        std::vector<int> ids;
        for (const auto& g : sent())
            for (size_t i = 2; i + 2 < g.bytes.size() && g.bytes[i] == 1; i += 3) ids.push_back(g.bytes[i + 1] | g.bytes[i + 2] << 8);
        return ids;
    }
};

TEST_F(UdpReceive, ReliablePacketsComeInOrderOnePerCall) {
    for (int id : {6, 4, 2}) feed(1000, datagram(id, {10, (uint8_t)id}));
    frame();
    EXPECT_EQ(acks(), (std::vector<int>{2, 4, 6}));   // each header goes in front
    std::vector<int> got;
    for (int i = 0; i < 4; ++i) {
        auto p = Fudp_process();
        got.push_back(p ? p->id : 0);
        if (p) {
            EXPECT_EQ(p->readpos, 0);
            EXPECT_EQ(p->d->Bytes(), (Bytes{10, (uint8_t)p->id}));
        }
    }
    EXPECT_EQ(got, (std::vector<int>{2, 4, 6, 0}));
    EXPECT_EQ(udp_con, nullptr);
}

TEST_F(UdpReceive, UnreliablePacketsComeOnlyInTheirPlace) {
    feed(1000, datagram(5, {10, 5}));
    feed(1000, datagram(2, {10, 2}));
    frame();
    EXPECT_EQ(delivered_ids(), (std::vector<int>{2}));
    feed(1000, datagram(4, {10, 4}));
    frame();
    EXPECT_EQ(delivered_ids(), (std::vector<int>{4, 5}));

    // After 6 was delivered, 7 is the only place left; 5 again never comes.
    feed(1000, datagram(6, {10, 6}));
    frame();
    EXPECT_EQ(delivered_ids(), (std::vector<int>{6}));
    feed(1000, datagram(5, {10, 5}));
    feed(1000, datagram(7, {10, 7}));
    feed(1000, datagram(7, {10, 8}));
    frame();
    auto got = deliver_all();
    ASSERT_EQ(got.size(), 2u);   // latest arrival first
    EXPECT_EQ(got[0].second->d->Bytes(), (Bytes{10, 8}));
    EXPECT_EQ(got[1].second->d->Bytes(), (Bytes{10, 7}));
}

TEST_F(UdpReceive, DuplicatesAreAcknowledgedAgainAndDroppedAndLateCopiesToo) {
    feed(1000, datagram(4, {10}));
    feed(1000, datagram(4, {10}));
    frame();
    EXPECT_EQ(acks(), (std::vector<int>{4, 4}));
    auto con = Tudp_con::Get(kPeerIp, 1000, 0);
    ASSERT_NE(con, nullptr);
    EXPECT_EQ(con->in.size(), 1u);
    feed(1000, datagram(2, {10}));
    frame();
    EXPECT_EQ(delivered_ids(), (std::vector<int>{2, 4}));
    sent();
    feed(1000, datagram(2, {10}));   // its acknowledgement was lost
    frame();
    EXPECT_EQ(acks(), (std::vector<int>{2}));
    EXPECT_TRUE(con->in.empty());
}

TEST_F(UdpReceive, DatagramChecks) {
    feed(1000, datagram(2, {}));   // two bytes: nothing at all
    feed(1000, {7});
    frame();
    EXPECT_TRUE(Tudp_con::list.empty());
    EXPECT_TRUE(sent().empty());

    Bytes most(udp_s_recvlimit - 2, 10);
    feed(1000, datagram(2, most));
    Bytes over(udp_s_recvlimit - 1, 10);
    feed(1000, datagram(4, over));
    frame();
    EXPECT_EQ(acks(), (std::vector<int>{2}));

    auto con = Tudp_con::Get(kPeerIp, 1000, 0);
    con->timeout = 9;
    feed(1000, datagram(1, {2, 0, 0}));   // only a header of type 2: stored nowhere
    frame();
    EXPECT_EQ(con->timeout, 0);
    EXPECT_EQ(con->in.size(), 1u);
    // A first byte of 5 or more is never taken for a header.
    feed(1000, datagram(4, {5, 1, 0}));
    frame();
    auto got = deliver_all();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].second->d->Bytes(), (Bytes{5, 1, 0}));
}

TEST_F(UdpReceive, PartsJoinAlongConsecutiveIdsAcrossTheWrap) {
    struct Case {
        int first;
        int in_id_after;
    };
    for (Case c : {Case{40, 46}, {65532, 4}}) {
        auto con = Tudp_con::Get(kPeerIp, 1000, 1);
        con->in_id = c.first;
        int id2 = udp_nextid(c.first), id3 = udp_nextid(id2);
        // A foreign part elsewhere in the window must not be taken.
        feed(1000, datagram(udp_nextid(id3), {4, 2, 0, 66}));
        feed(1000, datagram(id3, {4, 0xFF, 0xFF, 30, 31}));
        frame();
        feed(1000, datagram(c.first, {1, 9, 0, 4, 1, 0, 10, 11}));
        frame();
        EXPECT_TRUE(deliver_all().empty());
        feed(1000, datagram(id2, {4, 2, 0, 20}));
        frame();
        auto got = deliver_all();
        ASSERT_EQ(got.size(), 1u) << c.first;
        EXPECT_EQ(got[0].second->id, c.first);
        EXPECT_EQ(got[0].second->d->Bytes(), (Bytes{10, 11, 20, 30, 31}));
        EXPECT_EQ(con->in_id, c.in_id_after);
        Tudp_con::Free(con);
    }
}

TEST_F(UdpReceive, APacketFarAheadIsNeitherAcknowledgedNorStored) {
    feed(1000, datagram(1002, {10}));
    frame();
    EXPECT_TRUE(acks().empty());
    auto con = Tudp_con::Get(kPeerIp, 1000, 0);
    ASSERT_NE(con, nullptr);
    EXPECT_TRUE(con->in.empty());
    // Of a burst, only what lies within the window is kept and acknowledged.
    for (int id = 2; id < 1002; id += 2) feed(1000, datagram(id, {10}));
    frame();
    EXPECT_EQ(acks().size(), 250u);
    EXPECT_EQ(delivered_ids().size(), 250u);
    for (int id = 502; id < 1002; id += 2) feed(1000, datagram(id, {10}));
    frame();
    EXPECT_EQ(delivered_ids().size(), 250u);
    sent();
    feed(1000, datagram(1002, {10}));   // its resend
    frame();
    EXPECT_EQ(acks().back(), 1002);
    EXPECT_EQ(delivered_ids(), (std::vector<int>{1002}));
}

TEST_F(UdpReceive, WindowTest) {
    EXPECT_EQ(Fudp_window(10, 65400, 500), 1);
    EXPECT_EQ(Fudp_window(600, 2, 500), 0);
    EXPECT_EQ(Fudp_window(2, 2, 500), 1);
    EXPECT_EQ(Fudp_window(501, 2, 500), 1);
    EXPECT_EQ(Fudp_window(502, 2, 500), 0);
}

TEST_F(UdpReceive, ANewConversationRestartsIdsAndDropsTheOldQueue) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    for (int i = 0; i < 5; ++i) con->Createpacket(1, 1)->wbyte(10);
    frame();
    EXPECT_EQ(sent().size(), 5u);
    con->Createpacket(1, 1)->wbyte(10);   // 12, not yet sent

    // The peer starts afresh: [3][v] and its join message in packet 2.
    feed(1000, datagram(2, {3, 0x34, 0x12, 252, 1}));
    frame();
    auto s = sent();
    ASSERT_EQ(s.size(), 1u);   // only the acknowledgement of the new packet 2
    EXPECT_EQ(s[0].bytes, (Bytes{1, 0, 1, 2, 0}));
    EXPECT_EQ(con->sessionid, 0x1234);
    EXPECT_EQ(delivered_ids(), (std::vector<int>{2}));
    con->Createpacket(1, 0)->wbyte(252);
    frame(1000);
    s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].bytes, (Bytes{2, 0, 252}));

    // The same value again changes nothing.
    feed(1000, datagram(4, {3, 0x34, 0x12, 10}));
    frame();
    EXPECT_EQ(delivered_ids(), (std::vector<int>{4}));
}

TEST_F(UdpReceive, StartingANewConversationFromThisSide) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->Createpacket(1, 1)->wbyte(10);
    clock = 123456;
    Fudp_newconversation(kPeerIp, 1000, 0)->wbyte(251);
    EXPECT_EQ(con->sessionid, 1234);
    Fudp_update();
    auto s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].bytes, (Bytes{1, 0, 3, 0xD2, 4, 251}));
    clock = 123480;
    Fudp_newconversation(kPeerIp, 1000, 1)->wbyte(252);   // the same value: no reset
    Fudp_update();
    s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].bytes, (Bytes{2, 0, 3, 0xD2, 4, 252}));
}

TEST_F(UdpReceive, GetFindsByAddressAndSixteenBitPort) {
    EXPECT_EQ(Tudp_con::Get(kPeerIp, 1000, 0), nullptr);
    EXPECT_TRUE(Tudp_con::list.empty());
    auto a = Tudp_con::Get(kPeerIp, 1000, 1);
    auto b = Tudp_con::Get(kPeerIp, 1000 + 65536, 1);
    EXPECT_EQ(a, b);
    auto c = Tudp_con::Get(kPeerIp + 1, 1000, 1);
    EXPECT_EQ(Tudp_con::list.back(), c);
    EXPECT_EQ(a->in_id, 2);
    EXPECT_EQ(a->out_id, 2);
}

TEST_F(UdpReceive, CapsDropDatagramsUnacknowledged) {
    // Unreliable packets waiting for their place fill one connection's `in`.
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    for (int i = 0; i < 1200; ++i) feed(1000, datagram(3, {10}));
    frame();
    EXPECT_EQ(con->in.size(), kUdpInMaxPackets);
    feed(1000, datagram(4, {10}));
    frame();
    EXPECT_TRUE(acks().empty());
    EXPECT_EQ(con->in.size(), kUdpInMaxPackets);

    for (int port = 1; port <= 1100; ++port) feed(port, datagram(1, {10}));
    frame();
    EXPECT_EQ(Tudp_con::list.size(), kUdpMaxConnections);
}

TEST_F(UdpReceive, IgnoreList) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    EXPECT_EQ(Tudp_ignore::check(kPeerIp, 1000), 1);
    Tudp_ignore::add(kPeerIp, 0, 0);
    EXPECT_EQ(Tudp_ignore::check(kPeerIp, 5), 0);
    EXPECT_EQ(Tudp_con::list.size(), 1u);
    Tudp_ignore::list.clear();
    Tudp_ignore::add(kPeerIp, 1000, 2);
    EXPECT_TRUE(Tudp_con::list.empty());
    feed(1000, datagram(2, {10}));
    frame();
    EXPECT_TRUE(Tudp_con::list.empty());
    Tudp_ignore::update();
    EXPECT_EQ(Tudp_ignore::list.size(), 1u);
    Tudp_ignore::update();
    EXPECT_TRUE(Tudp_ignore::list.empty());
    Tudp_ignore::add(kPeerIp, 7, 0);
    for (int i = 0; i < 5; ++i) Tudp_ignore::update();
    EXPECT_EQ(Tudp_ignore::check(kPeerIp, 7), 0);
}

TEST_F(UdpReceive, CloseEmptiesConnectionsAndKeepsThem) {
    auto con = Tudp_con::Get(kPeerIp, 1000, 1);
    con->Createpacket(1, 0)->wbyte(10);
    feed(1000, datagram(4, {10}));
    frame();
    con->error = 1;
    Fudp_close(1);
    EXPECT_TRUE(con->in.empty());
    EXPECT_TRUE(con->out.empty());
    EXPECT_EQ(con->lp, nullptr);
    EXPECT_EQ(con->out_id, 4);
    EXPECT_EQ(con->error, 1);
    EXPECT_EQ(Tudp_con::list.size(), 1u);
    Fudp_close(0);
    EXPECT_EQ(udp, nullptr);
}

}  // namespace
