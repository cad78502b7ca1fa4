// UDP socket stream: one RecvMsg takes one datagram and records its sender;
// one SendMsg sends the buffered bytes as one datagram to the remote address.
//
// A datagram either leaves whole or not at all, so SendMsg always empties the
// send buffer: bytes of a refused send never ride on the next datagram.
#pragma once

#include "net/socket/net_stream.h"

class TUDPStream : public TNetStream {
public:
    int LocalIP = 0;
    int LocalPort = 0;
    int RemotePort = 0;
    int RemoteIP = 0;
    int MessageIP = 0;
    int MessagePort = 0;
    int RecvTimeout = 0;   // ms; 0 polls, negative waits without limit
    int SendTimeout = 0;

    // Opens an unbound IPv4 datagram socket with 65527-byte buffers.
    int Init() override;
    // Takes one datagram, an empty one included, into the receive buffer;
    // its length, or 0 when none waits (or it was empty).
    int RecvMsg() override;
    // 1 when a datagram (possibly empty) waits: FIONREAD cannot tell an empty
    // datagram from none.
    int MsgWaiting();
    int SendMsg() override;
    int SetLocalPort(int port);
    int GetLocalPort() const { return LocalPort; }
    int GetLocalIP() const { return LocalIP; }
    int SetRemotePort(int port) { RemotePort = port & 0xFFFF; return 0; }
    int GetRemotePort() const { return RemotePort; }
    int SetRemoteIP(int ip) { RemoteIP = ip; return 0; }
    int GetRemoteIP() const { return RemoteIP; }
    int GetMsgPort() const { return MessagePort; }
    int GetMsgIP() const { return MessageIP; }
    int SetTimeouts(int recv, int send) { RecvTimeout = recv; SendTimeout = send; return 0; }
    int GetRecvTimeout() const { return RecvTimeout; }
    int GetSendTimeout() const { return SendTimeout; }

private:
    std::vector<uint8_t> scratch_;   // one datagram of any size, allocated once
};
