// TCP socket stream over the platform's (non-blocking) stream sockets.
#include "net/socket/tcp_stream.h"

#include "platform/socket.h"

namespace {
constexpr int kTcpBuffer = 65535;
// The platform's connect is non-blocking; this stands for its own limit.
constexpr int kConnectWaitMs = 30000;
}  // namespace

int TTCPStream::Init() {
    Close();
    Socket = SocketCreateTCP();
    if (Socket < 0) return 0;
    if (!SocketSetBuffers(Socket, kTcpBuffer, kTcpBuffer)) {
        Close();
        return 0;
    }
    return 1;
}

int TTCPStream::SetLocalPort(int port) {
    if (Socket < 0) return 0;
    if (!SocketBind(Socket, port & 0xFFFF)) return 0;
    LocalIP = SocketLocalIP(Socket);
    LocalPort = SocketLocalPort(Socket);
    return 1;
}

int TTCPStream::Connect() {
    if (Socket < 0) return 0;
    int r = SocketConnect(Socket, RemoteIP, RemotePort);
    if (r == 0 && SocketWaitWritable(Socket, kConnectWaitMs) == 1 && SocketConnected(Socket)) r = 1;
    if (r != 1) return 0;
    LocalIP = SocketLocalIP(Socket);
    LocalPort = SocketLocalPort(Socket);
    return 1;
}

int TTCPStream::Listen(int backlog) { return Socket >= 0 && SocketListen(Socket, backlog) ? 1 : 0; }

std::shared_ptr<TTCPStream> TTCPStream::Accept() {
    if (Socket < 0) return nullptr;
    if (SocketWaitReadable(Socket, AcceptTimeout) != 1) return nullptr;
    int ip = 0, port = 0;
    int s = SocketAccept(Socket, ip, port);
    if (s < 0) return nullptr;
    auto c = std::make_shared<TTCPStream>();
    c->Socket = s;
    c->RemoteIP = ip;
    c->RemotePort = port;
    c->LocalIP = SocketLocalIP(s);
    c->LocalPort = SocketLocalPort(s);
    if (c->LocalPort == 0) {
        c->Close();
        return nullptr;
    }
    return c;
}

int TTCPStream::RecvMsg() {
    if (Socket < 0) return 0;
    if (SocketWaitReadable(Socket, RecvTimeout) != 1) return 0;
    int n = RecvAvail();
    if (n <= 0) return 0;
    uint8_t* at = recv_space((size_t)n);
    int got = SocketRecv(Socket, at, (size_t)n);
    recv_commit(got > 0 ? (size_t)got : 0, (size_t)n);
    return got > 0 ? got : 0;
}

int TTCPStream::SendMsg() {
    if (Socket < 0 || SendSize == 0) return 0;
    if (SocketWaitWritable(Socket, SendTimeout) != 1) return 0;
    int n = SocketSend(Socket, send_bytes().data(), send_bytes().size());
    if (n <= 0) return 0;
    send_consume((size_t)n);
    return n;
}

int TTCPStream::GetState() {
    if (Socket < 0) return -1;
    int r = SocketWaitReadable(Socket, 0);
    if (r < 0) {
        Close();
        return -1;
    }
    if (r == 0) return 1;
    int n = RecvAvail();
    if (n < 0) {
        Close();
        return -1;
    }
    if (n == 0) {
        Close();
        return 0;
    }
    return 1;
}
