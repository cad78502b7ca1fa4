// Sockets: UDP and TCP on the loopback address, address conversions, lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/socket.h"

namespace {

const int kLoopback = 0x7F000001;

// A bound UDP socket on a free port, closed with the test.
struct Udp {
    int sock = SocketCreateUDP();
    Udp() { EXPECT_TRUE(SocketBind(sock, 0)); }
    ~Udp() { SocketClose(sock); }
    int Port() const { return SocketLocalPort(sock); }
};

// Waits (bounded) for a datagram and takes it.
int Receive(int sock, std::string& out, int& ip, int& port) {
    if (SocketWaitReadable(sock, 2000) != 1) return -1;
    char buf[2048];
    int n = SocketRecvFrom(sock, buf, sizeof buf, ip, port);
    out.assign(buf, n > 0 ? (size_t)n : 0);
    return n;
}

}  // namespace

TEST(SocketAddress, TextAndIntegerForms) {
    struct Case { const char* text; int ip; };
    for (auto c : {Case{"127.0.0.1", 2130706433}, {"192.168.0.1", (int)0xC0A80001u}, {"0.0.0.0", 0},
                   {"255.255.255.255", -1}, {"10.0.0.255", 0x0A0000FF}}) {
        EXPECT_EQ(IntIP(c.text), c.ip) << c.text;
        EXPECT_EQ(DottedIP(c.ip), c.text) << c.text;
    }
    for (const char* bad : {"256.0.0.1", "1.2.3.300", "", "a.b.c.d", "1.2.3.4.5", "localhost"}) EXPECT_EQ(IntIP(bad), -1) << bad;
    // inet_addr's short forms still parse.
    EXPECT_EQ(IntIP("127.1"), kLoopback);
    EXPECT_EQ(DottedIP(0x7F000001), "127.0.0.1");
    EXPECT_EQ(DottedIP(-1), "255.255.255.255");
}

TEST(SocketLookup, NumbersLocalhostAndNamesThatCannotResolve) {
    EXPECT_EQ(HostIp("127.0.0.1"), kLoopback);
    EXPECT_EQ(HostIp("10.1.2.3"), 0x0A010203);   // a dotted text is the address itself
    std::vector<int> local = HostIps("localhost");
    EXPECT_NE(std::find(local.begin(), local.end(), kLoopback), local.end());
    // Refused before any resolver is asked, so these answer at once.
    for (const char* bad : {".invalid", "", "a..b", "has blank", "game.invalid", "INVALID"}) {
        EXPECT_EQ(HostIp(bad), 0) << bad;
        EXPECT_TRUE(HostIps(bad).empty()) << bad;
    }
}

TEST(SocketUdp, DatagramsArriveWholeWithTheirSender) {
    Udp a, b;
    ASSERT_GE(a.sock, 0);
    ASSERT_GT(a.Port(), 0);
    EXPECT_TRUE(SocketSetBuffers(a.sock, 65527, 65527));
    EXPECT_EQ(SocketLocalIP(a.sock), 0);   // the wildcard address

    int ip = 0, port = 0;
    char buf[64];
    EXPECT_EQ(SocketRecvFrom(a.sock, buf, sizeof buf, ip, port), -1);   // nothing yet
    EXPECT_EQ(SocketWaitReadable(a.sock, 0), 0);

    EXPECT_EQ(SocketSendTo(b.sock, "first", 5, kLoopback, a.Port()), 5);
    EXPECT_EQ(SocketSendTo(b.sock, "second!", 7, kLoopback, a.Port()), 7);
    std::string got;
    ASSERT_EQ(Receive(a.sock, got, ip, port), 5);
    EXPECT_EQ(got, "first");
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(port, b.Port());
    EXPECT_EQ(SocketAvailable(a.sock), 7);   // the next datagram's size
    ASSERT_EQ(Receive(a.sock, got, ip, port), 7);
    EXPECT_EQ(got, "second!");

    // A datagram longer than the buffer is cut, and the rest does not linger.
    EXPECT_EQ(SocketSendTo(b.sock, "0123456789", 10, kLoopback, a.Port()), 10);
    EXPECT_EQ(SocketSendTo(b.sock, "next", 4, kLoopback, a.Port()), 4);
    ASSERT_EQ(SocketWaitReadable(a.sock, 2000), 1);
    EXPECT_EQ(SocketRecvFrom(a.sock, buf, 4, ip, port), 4);
    EXPECT_EQ(std::string(buf, 4), "0123");
    ASSERT_EQ(Receive(a.sock, got, ip, port), 4);
    EXPECT_EQ(got, "next");
}

TEST(SocketUdp, AnEmptyDatagramIsTakenAndDoesNotHideTheNextOne) {
    Udp a, b;
    EXPECT_EQ(SocketSendTo(b.sock, "", 0, kLoopback, a.Port()), 0);
    EXPECT_EQ(SocketSendTo(b.sock, "after", 5, kLoopback, a.Port()), 5);
    ASSERT_EQ(SocketWaitReadable(a.sock, 2000), 1);
    // Waiting-byte counts cannot tell an empty datagram from none.
    EXPECT_EQ(SocketAvailable(a.sock), 0);
    int ip = 0, port = 0;
    char buf[16];
    EXPECT_EQ(SocketRecvFrom(a.sock, buf, sizeof buf, ip, port), 0);
    EXPECT_EQ(port, b.Port());
    std::string got;
    ASSERT_EQ(Receive(a.sock, got, ip, port), 5);
    EXPECT_EQ(got, "after");
    EXPECT_EQ(SocketRecvFrom(a.sock, buf, sizeof buf, ip, port), -1);
}

TEST(SocketUdp, ClosedAndMissingSocketsFailQuietly) {
    int ip = 0, port = 0;
    char buf[4];
    EXPECT_EQ(SocketRecvFrom(-1, buf, sizeof buf, ip, port), -1);
    EXPECT_EQ(SocketSendTo(-1, "x", 1, kLoopback, 9), -1);
    EXPECT_EQ(SocketAvailable(-1), -1);
    EXPECT_EQ(SocketWaitReadable(-1, 0), -1);
    EXPECT_FALSE(SocketBind(-1, 0));
    EXPECT_EQ(SocketLocalPort(-1), 0);
    int s = SocketCreateUDP();
    EXPECT_FALSE(SocketBind(s, 70000));
    EXPECT_EQ(SocketSendTo(s, "x", 1, kLoopback, -5), -1);
    SocketClose(s);
}

TEST(SocketTcp, ConnectAcceptSendReceiveAndClose) {
    int listener = SocketCreateTCP();
    ASSERT_GE(listener, 0);
    ASSERT_TRUE(SocketBind(listener, 0));
    ASSERT_TRUE(SocketListen(listener, 4));
    int lport = SocketLocalPort(listener);
    int ip = 0, port = 0;
    EXPECT_EQ(SocketAccept(listener, ip, port), -1);   // nobody yet, and no waiting

    int client = SocketCreateTCP();
    int r = SocketConnect(client, kLoopback, lport);
    ASSERT_GE(r, 0);
    if (r == 0) {
        ASSERT_EQ(SocketWaitWritable(client, 2000), 1);
    }
    EXPECT_TRUE(SocketConnected(client));

    ASSERT_EQ(SocketWaitReadable(listener, 2000), 1);
    int server = SocketAccept(listener, ip, port);
    ASSERT_GE(server, 0);
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(port, SocketLocalPort(client));
    EXPECT_EQ(SocketRemoteIP(server), kLoopback);
    EXPECT_EQ(SocketRemotePort(client), lport);
    EXPECT_EQ(SocketLocalPort(server), lport);

    char buf[64];
    EXPECT_EQ(SocketRecv(server, buf, sizeof buf), -1);   // nothing sent yet
    EXPECT_EQ(SocketSend(client, "hello", 5), 5);
    ASSERT_EQ(SocketWaitReadable(server, 2000), 1);
    EXPECT_EQ(SocketAvailable(server), 5);
    ASSERT_EQ(SocketRecv(server, buf, sizeof buf), 5);
    EXPECT_EQ(std::string(buf, 5), "hello");

    // The peer closing shows as readable with 0 bytes.
    SocketShutdown(client);
    SocketClose(client);
    ASSERT_EQ(SocketWaitReadable(server, 2000), 1);
    EXPECT_EQ(SocketAvailable(server), 0);
    EXPECT_EQ(SocketRecv(server, buf, sizeof buf), 0);
    SocketClose(server);
    SocketClose(listener);
}

TEST(SocketTcp, ConnectingToAClosedPortFails) {
    // Take a free port, then close it so nothing listens there.
    int probe = SocketCreateTCP();
    ASSERT_TRUE(SocketBind(probe, 0));
    int port = SocketLocalPort(probe);
    SocketClose(probe);

    int s = SocketCreateTCP();
    int r = SocketConnect(s, kLoopback, port);
    if (r == 0) {
        EXPECT_EQ(SocketWaitWritable(s, 2000), 1);
        EXPECT_FALSE(SocketConnected(s));
    } else {
        EXPECT_EQ(r, -1);
    }
    SocketClose(s);
    EXPECT_EQ(SocketConnect(-1, kLoopback, port), -1);
}
