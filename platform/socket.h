// Sockets: a thin layer over BSD IPv4 sockets, non-blocking, with host-name
// lookup and address text conversions. Addresses are ints in host order with
// the first dotted octet in the top byte (127.0.0.1 is 0x7F000001); ports are
// 0..65535 in host order. Descriptors are ints, -1 for none.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

int SocketCreateUDP();
int SocketCreateTCP();
void SocketClose(int sock);
bool SocketSetBuffers(int sock, int recv_size, int send_size);
// Binds to the wildcard address; port 0 takes any free port.
bool SocketBind(int sock, int port);
int SocketLocalPort(int sock);             // 0 when unknown
int SocketLocalIP(int sock);
// select(): 1 ready, 0 not within the time-out, -1 error.
int SocketWaitReadable(int sock, int timeout_ms);
int SocketWaitWritable(int sock, int timeout_ms);
// Bytes waiting (FIONREAD): for UDP the size of the next datagram, which is
// 0 both for an empty datagram and for none; use SocketRecvFrom to tell.
// -1 when the query fails.
int SocketAvailable(int sock);

// UDP: receives one datagram, at most max bytes (the rest is dropped). Returns
// its length (0 for an empty datagram, which is consumed), or -1 when none is
// waiting or on error.
int SocketRecvFrom(int sock, void* buf, size_t max, int& ip, int& port);
// Returns the bytes sent or -1.
int SocketSendTo(int sock, const void* buf, size_t count, int ip, int port);

// TCP. Connect starts a non-blocking connection: 1 connected, 0 in progress
// (wait for writable), -1 failed.
int SocketConnect(int sock, int ip, int port);
// After SocketWaitWritable: true when the pending connection succeeded.
bool SocketConnected(int sock);
bool SocketListen(int sock, int backlog);
// A new connected socket or -1 when none is waiting.
int SocketAccept(int sock, int& ip, int& port);
// Bytes moved, 0 when the peer closed (recv), -1 when nothing could be moved
// (nothing waiting, no room, an error, or a count of 0).
int SocketSend(int sock, const void* buf, size_t count);
int SocketRecv(int sock, void* buf, size_t count);
void SocketShutdown(int sock);
int SocketRemoteIP(int sock);
int SocketRemotePort(int sock);

// Name lookup (blocking): the first IPv4 address, 0 when none. Dotted text is
// taken as the address itself; text that cannot be a host name (empty labels,
// blanks, the reserved ".invalid" domain) fails without asking the resolver.
int HostIp(const std::string& name);
std::vector<int> HostIps(const std::string& name);
// Reverse lookup; "" when there is no name.
std::string HostName(int ip);
// "a.b.c.d".
std::string DottedIP(int ip);
// inet_addr rules; -1 for text that does not parse.
int IntIP(const std::string& text);
