// Socket module on loopback: addresses and lookup, the UDP stream (empty
// datagrams, refused sends) and the TCP stream.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/pump.h"
#include "net/socket/network.h"
#include "net/socket/tcp_stream.h"
#include "net/socket/udp_stream.h"
#include "net/udp/udp.h"
#include "platform/socket.h"

namespace {

constexpr int kLoopback = 0x7F000001;

std::shared_ptr<TUDPStream> bound_udp() {
    auto s = std::make_shared<TUDPStream>();
    EXPECT_EQ(s->Init(), 1);
    EXPECT_EQ(s->SetLocalPort(0), 1);
    EXPECT_NE(s->GetLocalPort(), 0);
    return s;
}

void send_to(TUDPStream& from, const TUDPStream& to, const std::vector<uint8_t>& bytes) {
    from.SetRemoteIP(kLoopback);
    from.SetRemotePort(to.GetLocalPort());
    if (!bytes.empty()) from.Write(bytes.data(), bytes.size());
}

TEST(Network, AddressesAndLookup) {
    EXPECT_EQ(TNetwork::StringIP(0x7F000001), "127.0.0.1");
    EXPECT_EQ(TNetwork::StringIP(0), "0.0.0.0");
    EXPECT_EQ(TNetwork::StringIP(-1), "255.255.255.255");
    EXPECT_EQ(TNetwork::StringIP((int)0xC0A80001u), "192.168.0.1");
    EXPECT_EQ(TNetwork::IntIP("127.0.0.1"), 2130706433);
    EXPECT_EQ(TNetwork::IntIP("1.2.3.256"), -1);
    EXPECT_EQ(TNetwork::IntIP("junk"), -1);
    EXPECT_EQ(TNetwork::GetHostIP("nosuch.invalid"), 0);
    EXPECT_TRUE(TNetwork::GetHostIPs("nosuch.invalid").empty());
    EXPECT_EQ(TNetwork::GetHostIP("127.0.0.1"), TNetwork::IntIP("127.0.0.1"));
}

TEST(UdpStream, WithoutASocket) {
    TUDPStream s;
    EXPECT_EQ(s.RecvMsg(), 0);
    EXPECT_EQ(s.RecvAvail(), -1);
    EXPECT_EQ(s.SetLocalPort(0), 0);
    s.WriteByte(1);
    EXPECT_EQ(s.SendMsg(), 0);
}

// Waits until a datagram (or data) is there to take.
bool arrives(const TNetStream& s) { return SocketWaitReadable(s.Socket, 2000) == 1; }

TEST(UdpStream, DatagramsOneAtATimeAnEmptyOneIncluded) {
    auto a = bound_udp(), b = bound_udp();
    EXPECT_EQ(b->RecvMsg(), 0);   // nothing waiting: at once
    EXPECT_EQ(b->GetMsgPort(), 0);

    send_to(*a, *b, std::vector<uint8_t>(10, 1));
    a->Flush();
    EXPECT_EQ(a->SendMsg(), 0);   // nothing left to send after a flush

    // An empty datagram, which FIONREAD cannot tell from none, then two more.
    ASSERT_EQ(SocketSendTo(a->Socket, nullptr, 0, kLoopback, b->GetLocalPort()), 0);
    send_to(*a, *b, std::vector<uint8_t>(300, 7));
    EXPECT_EQ(a->SendMsg(), 300);
    EXPECT_EQ(a->SendSize, 0);
    send_to(*a, *b, {1, 2, 3});
    EXPECT_EQ(a->SendMsg(), 3);

    ASSERT_TRUE(arrives(*b));
    EXPECT_EQ(b->MsgWaiting(), 1);
    EXPECT_EQ(b->RecvMsg(), 0);   // the empty one is consumed
    ASSERT_TRUE(arrives(*b));
    EXPECT_EQ(b->RecvMsg(), 300);
    EXPECT_EQ(b->GetMsgIP(), kLoopback);
    EXPECT_EQ(b->GetMsgPort(), a->GetLocalPort());
    EXPECT_EQ(b->RecvSize, 300);
    std::vector<uint8_t> buf(300);
    EXPECT_EQ(b->Read(buf.data(), 300), 300u);
    EXPECT_EQ(buf, std::vector<uint8_t>(300, 7));
    ASSERT_TRUE(arrives(*b));
    EXPECT_EQ(b->RecvMsg(), 3);
    EXPECT_EQ(b->Read(buf.data(), 5), 3u);
    EXPECT_EQ(b->Eof(), true);
    EXPECT_EQ(b->MsgWaiting(), 0);
}

TEST(UdpStream, ARefusedSendLeavesNothingForTheNextDatagram) {
    auto a = bound_udp(), b = bound_udp();
    a->SetRemoteIP(-1);   // 255.255.255.255 without broadcast permission
    a->SetRemotePort(b->GetLocalPort());
    a->Write("refused", 7);
    EXPECT_EQ(a->SendMsg(), 0);
    EXPECT_EQ(a->SendSize, 0);
    send_to(*a, *b, {9, 9});
    EXPECT_EQ(a->SendMsg(), 2);
    ASSERT_TRUE(arrives(*b));
    EXPECT_EQ(b->RecvMsg(), 2);
}

TEST(TcpStream, AcceptTransferAndClose) {
    TTCPStream none;
    EXPECT_EQ(none.Connect(), 0);
    EXPECT_EQ(none.GetState(), -1);
    EXPECT_EQ(none.Accept(), nullptr);

    auto server = std::make_shared<TTCPStream>();
    ASSERT_EQ(server->Init(), 1);
    ASSERT_EQ(server->SetLocalPort(0), 1);
    ASSERT_EQ(server->Listen(4), 1);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(server->Accept(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(200));

    auto client = std::make_shared<TTCPStream>();
    ASSERT_EQ(client->Init(), 1);
    client->SetRemoteIP(kLoopback);
    client->SetRemotePort(server->GetLocalPort());
    ASSERT_EQ(client->Connect(), 1);
    server->SetTimeouts(0, 0, 2000);
    auto conn = server->Accept();
    ASSERT_NE(conn, nullptr);
    EXPECT_EQ(conn->GetRemoteIP(), kLoopback);
    EXPECT_EQ(conn->GetRemotePort(), client->GetLocalPort());
    EXPECT_EQ(conn->GetLocalPort(), server->GetLocalPort());
    EXPECT_EQ(conn->GetState(), 1);

    std::vector<uint8_t> data(100000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 31 + i / 251);
    std::vector<uint8_t> got;
    size_t written = 0;
    int sends = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.size() < data.size() && std::chrono::steady_clock::now() < deadline) {
        // Written in four pieces, each sent before the next is written.
        if (client->SendSize == 0 && written < data.size()) {
            client->Write(data.data() + written, 25000);
            written += 25000;
        }
        if (client->SendSize > 0 && client->SendMsg() > 0) ++sends;
        conn->RecvMsg();
        std::vector<uint8_t> buf(conn->RecvSize);
        if (!buf.empty()) conn->Read(buf.data(), buf.size());
        got.insert(got.end(), buf.begin(), buf.end());
    }
    EXPECT_GE(sends, 4);
    EXPECT_EQ(got, data);

    client->Close();
    int state = 1;
    while (state == 1 && std::chrono::steady_clock::now() < deadline) {
        SocketWaitReadable(conn->Socket, 100);
        state = conn->GetState();
    }
    EXPECT_EQ(state, 0);
    EXPECT_EQ(conn->Socket, -1);
    EXPECT_EQ(conn->GetState(), -1);
}

TEST(GameSocket, OpensBindsAndReopensOnlyForAnotherPort) {
    game_net_iniudp(0, 0);
    ASSERT_NE(udp, nullptr);
    EXPECT_EQ(udp_s_sizelimit, 10000);
    EXPECT_EQ(udp_s_recvlimit, 5000);
    auto first = udp;
    int port = udp->GetLocalPort();
    EXPECT_NE(port, 0);
    game_net_iniudp(0, 0);
    EXPECT_EQ(udp, first);
    game_net_iniudp(port, 0);
    EXPECT_EQ(udp, first);
    game_net_iniudp(0, 1);
    EXPECT_NE(udp, first);
    EXPECT_NE(udp->GetLocalPort(), 0);
    Fudp_close(0);
    EXPECT_EQ(udp, nullptr);
    Fudp_close(0);
    udp_s_sizelimit = 490;
}

}  // namespace
