// Socket streams: the buffers shared by the UDP and TCP forms.
#include "net/socket/net_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/socket.h"

TNetStream::~TNetStream() { Close(); }

void TNetStream::Flush() {
    recv_.clear();
    recv_pos_ = 0;
    send_.clear();
    RecvSize = 0;
    SendSize = 0;
}

void TNetStream::Close() {
    if (Socket < 0) return;
    SocketShutdown(Socket);
    SocketClose(Socket);
    Socket = -1;
}

size_t TNetStream::Read(void* buf, size_t count) {
    size_t n = std::min(count, recv_.size() - recv_pos_);
    if (n == 0) return 0;
    std::memcpy(buf, recv_.data() + recv_pos_, n);
    recv_pos_ += n;
    RecvSize = (int)(recv_.size() - recv_pos_);
    if (recv_pos_ == recv_.size()) {
        recv_.clear();
        recv_pos_ = 0;
    }
    return n;
}

size_t TNetStream::Write(const void* buf, size_t count) {
    if (count == 0 || !buf) return 0;
    const uint8_t* b = (const uint8_t*)buf;
    send_.insert(send_.end(), b, b + count);
    SendSize = (int)send_.size();
    return count;
}

int TNetStream::RecvAvail() { return SocketAvailable(Socket); }

uint8_t* TNetStream::recv_space(size_t n) {
    if (recv_pos_ > 0) {
        recv_.erase(recv_.begin(), recv_.begin() + (long)recv_pos_);
        recv_pos_ = 0;
    }
    size_t old = recv_.size();
    recv_.resize(old + n);
    RecvSize = (int)recv_.size();
    return recv_.data() + old;
}

void TNetStream::recv_commit(size_t n, size_t reserved) {
    // Only the bytes that arrived stay; the rest of the reserved room goes.
    recv_.resize(recv_.size() - reserved + n);
    RecvSize = (int)recv_.size();
}

void TNetStream::send_consume(size_t n) {
    n = std::min(n, send_.size());
    send_.erase(send_.begin(), send_.begin() + (long)n);
    SendSize = (int)send_.size();
}
