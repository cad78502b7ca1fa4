// Sockets: the thin wrapper over BSD IPv4 sockets and the resolver.
//
// Every socket is non-blocking from birth (accepted ones too), so no call here
// waits except the explicit SocketWait* calls and the name lookups. Addresses
// cross this file's boundary in host order (127.0.0.1 is 0x7F000001) and are
// turned into network order only at the system calls. Readiness waits use
// poll rather than select, which behaves the same but has no limit on the
// descriptor number.
#include "platform/socket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

sockaddr_in MakeAddr(int ip, int port) {
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons((uint16_t)port);
    a.sin_addr.s_addr = htonl((uint32_t)ip);
    return a;
}

int HostOrder(const in_addr& addr) { return (int)ntohl(addr.s_addr); }

bool ValidPort(int port) { return port >= 0 && port <= 65535; }

bool LocalAddr(int sock, sockaddr_in& out) {
    socklen_t len = sizeof out;
    std::memset(&out, 0, sizeof out);
    return sock >= 0 && getsockname(sock, (sockaddr*)&out, &len) == 0 && out.sin_family == AF_INET;
}

bool PeerAddr(int sock, sockaddr_in& out) {
    socklen_t len = sizeof out;
    std::memset(&out, 0, sizeof out);
    return sock >= 0 && getpeername(sock, (sockaddr*)&out, &len) == 0 && out.sin_family == AF_INET;
}

int Wait(int sock, short events, int timeout_ms) {
    if (sock < 0) return -1;
    pollfd p{sock, events, 0};
    int r;
    do {
        r = poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
    } while (r < 0 && errno == EINTR);
    if (r < 0 || (r > 0 && (p.revents & POLLNVAL))) return -1;
    // An error or hang-up counts as ready, as select reports it: the next
    // call on the socket then tells what happened.
    return r > 0 ? 1 : 0;
}

// A resolver-worthy host name: labels of letters, digits, '-' and '_', 1..63
// long, 253 in all. Anything else (".invalid", "a..b", blanks) never reaches
// the resolver, and neither does the reserved top-level name "invalid",
// which can never resolve.
bool PlausibleHostName(const std::string& name) {
    std::string n = name;
    if (!n.empty() && n.back() == '.') n.pop_back();
    if (n.empty() || n.size() > 253) return false;
    size_t label = 0;
    for (char c : n) {
        if (c == '.') {
            if (label == 0) return false;
            label = 0;
            continue;
        }
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok || ++label > 63) return false;
    }
    if (label == 0) return false;
    std::string last = n.substr(n.find_last_of('.') == std::string::npos ? 0 : n.find_last_of('.') + 1);
    std::transform(last.begin(), last.end(), last.begin(), [](char c) { return (char)(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return last != "invalid";
}

int CreateSocket(int type) {
    return socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

}  // namespace

int SocketCreateUDP() { return CreateSocket(SOCK_DGRAM); }

int SocketCreateTCP() {
    int s = CreateSocket(SOCK_STREAM);
    if (s >= 0) {
        // A restarted host can listen again at once on a port that still has
        // connections in TIME_WAIT.
        int one = 1;
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    }
    return s;
}

void SocketClose(int sock) {
    if (sock >= 0) close(sock);
}

bool SocketSetBuffers(int sock, int recv_size, int send_size) {
    if (sock < 0 || recv_size < 0 || send_size < 0) return false;
    return setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &recv_size, sizeof recv_size) == 0 &&
           setsockopt(sock, SOL_SOCKET, SO_SNDBUF, &send_size, sizeof send_size) == 0;
}

bool SocketBind(int sock, int port) {
    if (sock < 0 || !ValidPort(port)) return false;
    sockaddr_in a = MakeAddr(INADDR_ANY, port);
    return bind(sock, (sockaddr*)&a, sizeof a) == 0;
}

int SocketLocalPort(int sock) {
    sockaddr_in a;
    return LocalAddr(sock, a) ? ntohs(a.sin_port) : 0;
}

int SocketLocalIP(int sock) {
    sockaddr_in a;
    return LocalAddr(sock, a) ? HostOrder(a.sin_addr) : 0;
}

int SocketWaitReadable(int sock, int timeout_ms) { return Wait(sock, POLLIN, timeout_ms); }

int SocketWaitWritable(int sock, int timeout_ms) { return Wait(sock, POLLOUT, timeout_ms); }

int SocketAvailable(int sock) {
    int n = 0;
    if (sock < 0 || ioctl(sock, FIONREAD, &n) != 0) return -1;
    return n;
}

int SocketRecvFrom(int sock, void* buf, size_t max, int& ip, int& port) {
    if (sock < 0 || (!buf && max > 0)) return -1;
    sockaddr_in from;
    socklen_t len = sizeof from;
    std::memset(&from, 0, sizeof from);
    // recvfrom takes exactly one datagram, an empty one included, so a
    // zero-length datagram can never sit at the head of the queue and hide
    // the ones behind it. Bytes beyond max are dropped with the datagram.
    ssize_t n;
    do {
        n = recvfrom(sock, buf, max, 0, (sockaddr*)&from, &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    ip = from.sin_family == AF_INET ? HostOrder(from.sin_addr) : 0;
    port = from.sin_family == AF_INET ? ntohs(from.sin_port) : 0;
    return (int)n;
}

int SocketSendTo(int sock, const void* buf, size_t count, int ip, int port) {
    if (sock < 0 || !ValidPort(port) || (!buf && count > 0)) return -1;
    sockaddr_in to = MakeAddr(ip, port);
    ssize_t n;
    do {
        n = sendto(sock, buf, count, MSG_NOSIGNAL, (sockaddr*)&to, sizeof to);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (int)n;
}

int SocketConnect(int sock, int ip, int port) {
    if (sock < 0 || !ValidPort(port)) return -1;
    sockaddr_in to = MakeAddr(ip, port);
    if (connect(sock, (sockaddr*)&to, sizeof to) == 0) return 1;
    return (errno == EINPROGRESS || errno == EINTR) ? 0 : -1;
}

bool SocketConnected(int sock) {
    if (sock < 0) return false;
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(sock, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) return false;
    sockaddr_in peer;
    return PeerAddr(sock, peer);
}

bool SocketListen(int sock, int backlog) { return sock >= 0 && listen(sock, backlog) == 0; }

int SocketAccept(int sock, int& ip, int& port) {
    if (sock < 0) return -1;
    sockaddr_in from;
    socklen_t len = sizeof from;
    std::memset(&from, 0, sizeof from);
    int s;
    do {
        s = accept4(sock, (sockaddr*)&from, &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (s < 0 && errno == EINTR);
    if (s < 0) return -1;
    ip = HostOrder(from.sin_addr);
    port = ntohs(from.sin_port);
    return s;
}

int SocketSend(int sock, const void* buf, size_t count) {
    if (sock < 0 || count == 0 || !buf) return -1;
    ssize_t n;
    do {
        n = send(sock, buf, count, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (int)n;
}

int SocketRecv(int sock, void* buf, size_t count) {
    // A zero count would read as "peer closed"; it moves nothing instead.
    if (sock < 0 || count == 0 || !buf) return -1;
    ssize_t n;
    do {
        n = recv(sock, buf, count, 0);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (int)n;
}

void SocketShutdown(int sock) {
    if (sock >= 0) shutdown(sock, SHUT_RDWR);
}

int SocketRemoteIP(int sock) {
    sockaddr_in a;
    return PeerAddr(sock, a) ? HostOrder(a.sin_addr) : 0;
}

int SocketRemotePort(int sock) {
    sockaddr_in a;
    return PeerAddr(sock, a) ? ntohs(a.sin_port) : 0;
}

std::vector<int> HostIps(const std::string& name) {
    std::vector<int> out;
    if (name.find('\0') != std::string::npos) return out;
    in_addr numeric;
    if (inet_aton(name.c_str(), &numeric)) {
        out.push_back(HostOrder(numeric));
        return out;
    }
    if (!PlausibleHostName(name)) return out;
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;   // one entry per address, not one per socket type
    addrinfo* res = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0) return out;
    for (addrinfo* a = res; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        int ip = HostOrder(((const sockaddr_in*)a->ai_addr)->sin_addr);
        if (std::find(out.begin(), out.end(), ip) == out.end()) out.push_back(ip);
    }
    freeaddrinfo(res);
    return out;
}

int HostIp(const std::string& name) {
    std::vector<int> ips = HostIps(name);
    return ips.empty() ? 0 : ips.front();
}

std::string HostName(int ip) {
    sockaddr_in a = MakeAddr(ip, 0);
    char host[NI_MAXHOST];
    if (getnameinfo((sockaddr*)&a, sizeof a, host, sizeof host, nullptr, 0, NI_NAMEREQD) != 0) return "";
    return host;
}

std::string DottedIP(int ip) {
    uint32_t v = (uint32_t)ip;
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 255) + "." + std::to_string((v >> 8) & 255) + "." +
           std::to_string(v & 255);
}

int IntIP(const std::string& text) {
    if (text.find('\0') != std::string::npos) return -1;
    in_addr_t a = inet_addr(text.c_str());
    return (int)ntohl(a);
}
