// TCP socket stream: connects to a remote address, or listens on a local port
// and accepts connections, each a new stream. Writes collect until SendMsg,
// which sends what the socket takes and keeps the rest.
#pragma once

#include <memory>

#include "net/socket/net_stream.h"

class TTCPStream : public TNetStream {
public:
    int LocalIP = 0;
    int LocalPort = 0;
    int RemoteIP = 0;
    int RemotePort = 0;
    int RecvTimeout = 0;     // ms; 0 polls, negative waits without limit
    int SendTimeout = 0;
    int AcceptTimeout = 0;

    int Init() override;     // IPv4 stream socket with 65535-byte buffers
    int RecvMsg() override;  // takes the bytes waiting; their count
    int SendMsg() override;  // sends what the socket takes; that count
    int SetLocalPort(int port);
    int GetLocalPort() const { return LocalPort; }
    int GetLocalIP() const { return LocalIP; }
    int SetRemotePort(int port) { RemotePort = port & 0xFFFF; return 0; }
    int GetRemotePort() const { return RemotePort; }
    int SetRemoteIP(int ip) { RemoteIP = ip; return 0; }
    int GetRemoteIP() const { return RemoteIP; }
    int SetTimeouts(int recv, int send, int accept) {
        RecvTimeout = recv;
        SendTimeout = send;
        AcceptTimeout = accept;
        return 0;
    }
    int GetRecvTimeout() const { return RecvTimeout; }
    int GetSendTimeout() const { return SendTimeout; }
    int GetAcceptTimeout() const { return AcceptTimeout; }
    int Connect();
    int Listen(int backlog);
    std::shared_ptr<TTCPStream> Accept();
    // 1 connected, 0 the peer closed (the stream closes), -1 no socket or broken.
    int GetState();
};
