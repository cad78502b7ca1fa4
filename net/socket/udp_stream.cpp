// UDP socket stream over the platform's datagram sockets.
#include "net/socket/udp_stream.h"

#include <cstring>

#include "platform/socket.h"

namespace {
constexpr int kUdpBuffer = 65527;
constexpr size_t kLargestDatagram = 65536;
}  // namespace

int TUDPStream::Init() {
    Close();
    Socket = SocketCreateUDP();
    if (Socket < 0) return 0;
    if (!SocketSetBuffers(Socket, kUdpBuffer, kUdpBuffer)) {
        Close();
        return 0;
    }
    return 1;
}

int TUDPStream::SetLocalPort(int port) {
    if (Socket < 0) return 0;
    if (!SocketBind(Socket, port & 0xFFFF)) return 0;
    LocalIP = SocketLocalIP(Socket);
    LocalPort = SocketLocalPort(Socket);
    return 1;
}

int TUDPStream::MsgWaiting() { return Socket >= 0 && SocketWaitReadable(Socket, 0) == 1 ? 1 : 0; }

int TUDPStream::RecvMsg() {
    if (Socket < 0) return 0;
    if (SocketWaitReadable(Socket, RecvTimeout) != 1) return 0;
    // recvfrom into room for the largest datagram: FIONREAD reads 0 for an
    // empty datagram, which would then never leave the queue.
    if (scratch_.size() < kLargestDatagram) scratch_.resize(kLargestDatagram);
    int ip = 0, port = 0;
    int n = SocketRecvFrom(Socket, scratch_.data(), kLargestDatagram, ip, port);
    if (n < 0) return 0;
    if (n > 0) std::memcpy(recv_space((size_t)n), scratch_.data(), (size_t)n);
    MessageIP = ip;
    MessagePort = port;
    return n;
}

int TUDPStream::SendMsg() {
    if (Socket < 0 || SendSize == 0) return 0;
    int n = 0;
    if (SocketWaitWritable(Socket, SendTimeout) == 1)
        n = SocketSendTo(Socket, send_bytes().data(), send_bytes().size(), RemoteIP, RemotePort);
    send_consume(send_bytes().size());
    return n > 0 ? n : 0;
}
