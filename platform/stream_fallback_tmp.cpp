// TEMPORARY (delete when the file and stream module is merged): weak stand-ins
// for ReadFile and CreateBankStream, so the audio module links and its tests
// run on this branch. The real definitions win wherever they are linked; the
// guard drops this file entirely once the stream module is in the tree.
#if !__has_include("platform/stream.cpp") && !__has_include("platform/files.cpp")
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/stream.h"

namespace {

class TmpFileStream : public Stream {
public:
    explicit TmpFileStream(FILE* f) : f_(f) {}
    ~TmpFileStream() override { Close(); }
    size_t Read(void* buf, size_t count) override { return f_ ? std::fread(buf, 1, count, f_) : 0; }
    size_t Write(const void*, size_t) override { return 0; }
    bool Eof() override { return !f_ || Pos() >= Size(); }
    int64_t Pos() override { return f_ ? (int64_t)std::ftell(f_) : 0; }
    int64_t Size() override {
        if (!f_) return 0;
        long at = std::ftell(f_);
        std::fseek(f_, 0, SEEK_END);
        long end = std::ftell(f_);
        std::fseek(f_, at, SEEK_SET);
        return end;
    }
    bool Seek(int64_t pos) override { return f_ && pos >= 0 && std::fseek(f_, (long)pos, SEEK_SET) == 0; }
    void Close() override {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }

private:
    FILE* f_;
};

class TmpBankStream : public Stream {
public:
    explicit TmpBankStream(BankPtr bank) : bank_(std::move(bank)) {}
    size_t Read(void* buf, size_t count) override {
        size_t left = bank_->Size() - std::min(pos_, bank_->Size());
        size_t n = std::min(count, left);
        if (n) std::memcpy(buf, bank_->Buf() + pos_, n);
        pos_ += n;
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    bool Eof() override { return pos_ >= bank_->Size(); }
    int64_t Pos() override { return (int64_t)pos_; }
    int64_t Size() override { return (int64_t)bank_->Size(); }
    bool Seek(int64_t pos) override {
        if (pos < 0 || (uint64_t)pos > bank_->Size()) return false;
        pos_ = (size_t)pos;
        return true;
    }

private:
    BankPtr bank_;
    size_t pos_ = 0;
};

}  // namespace

__attribute__((weak)) StreamPtr ReadFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    return std::make_shared<TmpFileStream>(f);
}

__attribute__((weak)) StreamPtr CreateBankStream(const BankPtr& bank) {
    if (!bank) return nullptr;
    return std::make_shared<TmpBankStream>(bank);
}
#endif
