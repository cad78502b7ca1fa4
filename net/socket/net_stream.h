// Socket streams: a stream over one socket with a receive buffer that
// RecvMsg fills and the ordinary reads empty, and a send buffer that the
// ordinary writes fill and SendMsg hands to the socket.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/stream.h"

class TNetStream : public Stream {
public:
    ~TNetStream() override;

    int Socket = -1;
    int RecvSize = 0;   // received bytes not yet read
    int SendSize = 0;   // written bytes not yet sent

    bool Eof() override { return RecvSize == 0; }
    int64_t Size() override { return RecvSize; }
    int64_t Pos() override { return 0; }
    bool Seek(int64_t) override { return false; }
    // Discards unread received bytes and unsent written bytes.
    void Flush() override;
    // Shuts the socket down both ways and closes it.
    void Close() override;
    size_t Read(void* buf, size_t count) override;
    size_t Write(const void* buf, size_t count) override;

    virtual int Init() = 0;
    virtual int RecvMsg() = 0;
    virtual int SendMsg() = 0;
    // Bytes waiting in the socket; -1 without a socket or when the query fails.
    int RecvAvail();

protected:
    // Room for n more received bytes after the unread ones; returns where.
    uint8_t* recv_space(size_t n);
    // Keeps n of the `reserved` bytes just made room for.
    void recv_commit(size_t n, size_t reserved);
    // Drops the first n bytes of the send buffer.
    void send_consume(size_t n);
    const std::vector<uint8_t>& send_bytes() const { return send_; }

private:
    std::vector<uint8_t> recv_;
    size_t recv_pos_ = 0;
    std::vector<uint8_t> send_;
};
