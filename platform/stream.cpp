// Streams: typed little-endian transfer and text lines over files, built-in
// files and banks.
//
// Every stream keeps working after a failure: reads past the end give zeros
// and set the failed flag, writes that do not go through set it too, and a
// closed stream reads and writes nothing. Callers check Failed() or Eof().
#include "platform/stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/files.h"
#include "platform/incbin.h"

// ---- Typed reads and writes ----

int Stream::ReadByte() {
    uint8_t b[1];
    if (Read(b, 1) != 1) {
        failed_ = true;
        return 0;
    }
    return b[0];
}

int Stream::ReadShort() {
    uint8_t b[2];
    if (Read(b, 2) != 2) {
        failed_ = true;
        return 0;
    }
    return b[0] | b[1] << 8;
}

int32_t Stream::ReadInt() {
    uint8_t b[4];
    if (Read(b, 4) != 4) {
        failed_ = true;
        return 0;
    }
    return (int32_t)((uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24);
}

float Stream::ReadFloat() {
    uint32_t bits = (uint32_t)ReadInt();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::string Stream::ReadLine() {
    std::string line;
    if (Eof()) {
        failed_ = true;
        return line;
    }
    uint8_t c;
    while (Read(&c, 1) == 1) {
        if (c == '\n' || c == 0) break;
        if (c != '\r') line += (char)c;
    }
    return line;
}

std::string Stream::ReadString(size_t length) {
    std::string text;
    // Never trust a length from a file for the allocation: grow as bytes come.
    char chunk[4096];
    while (text.size() < length) {
        size_t want = std::min(sizeof chunk, length - text.size());
        size_t got = Read(chunk, want);
        text.append(chunk, got);
        if (got < want) {
            failed_ = true;
            break;
        }
    }
    return text;
}

void Stream::WriteByte(int value) {
    uint8_t b[1] = {(uint8_t)value};
    if (Write(b, 1) != 1) failed_ = true;
}

void Stream::WriteShort(int value) {
    uint8_t b[2] = {(uint8_t)value, (uint8_t)(value >> 8)};
    if (Write(b, 2) != 2) failed_ = true;
}

void Stream::WriteInt(int32_t value) {
    uint32_t v = (uint32_t)value;
    uint8_t b[4] = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
    if (Write(b, 4) != 4) failed_ = true;
}

void Stream::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    WriteInt((int32_t)bits);
}

void Stream::WriteLine(const std::string& text) {
    WriteString(text);
    WriteString("\r\n");
}

void Stream::WriteString(const std::string& text) {
    if (Write(text.data(), text.size()) != text.size()) failed_ = true;
}

// ---- File streams ----

namespace {

class FileStream : public Stream {
public:
    FileStream(FILE* file, bool writable) : file_(file), writable_(writable) {
        // A file opened for reading only keeps its size; Eof() is then cheap.
        if (!writable_) read_size_ = Size();
    }
    ~FileStream() override { Close(); }

    size_t Read(void* buf, size_t count) override {
        if (!file_ || count == 0) return 0;
        if (last_write_) {
            // C streams need a positioning call between a write and a read.
            std::fseek(file_, 0, SEEK_CUR);
            last_write_ = false;
        }
        return std::fread(buf, 1, count, file_);
    }
    size_t Write(const void* buf, size_t count) override {
        if (!file_ || !writable_) return 0;
        if (count == 0) return 0;
        if (!last_write_) {
            std::fseek(file_, 0, SEEK_CUR);
            last_write_ = true;
        }
        return std::fwrite(buf, 1, count, file_);
    }
    bool Eof() override {
        if (!file_) return true;
        return Pos() >= Size();
    }
    int64_t Pos() override { return file_ ? (int64_t)ftello(file_) : 0; }
    int64_t Size() override {
        if (!file_) return 0;
        if (read_size_ >= 0) return read_size_;
        std::fflush(file_);
        off_t here = ftello(file_);
        fseeko(file_, 0, SEEK_END);
        off_t end = ftello(file_);
        fseeko(file_, here, SEEK_SET);
        last_write_ = false;
        return end < 0 ? 0 : (int64_t)end;
    }
    bool Seek(int64_t pos) override {
        if (!file_ || pos < 0) return false;
        last_write_ = false;
        return fseeko(file_, (off_t)pos, SEEK_SET) == 0;
    }
    void Flush() override {
        if (file_ && std::fflush(file_) != 0) failed_ = true;
    }
    void Close() override {
        if (!file_) return;
        if (std::fclose(file_) != 0 && writable_) failed_ = true;
        file_ = nullptr;
    }

private:
    FILE* file_;
    bool writable_;
    bool last_write_ = false;
    int64_t read_size_ = -1;
};

// Read-only stream over bytes that outlive it (built-in files).
class MemoryStream : public Stream {
public:
    MemoryStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Read(void* buf, size_t count) override {
        size_t n = pos_ < size_ ? std::min(count, size_ - pos_) : 0;
        if (n) std::memcpy(buf, data_ + pos_, n);
        pos_ += n;
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    bool Eof() override { return pos_ >= size_; }
    int64_t Pos() override { return (int64_t)pos_; }
    int64_t Size() override { return (int64_t)size_; }
    bool Seek(int64_t pos) override {
        if (pos < 0 || (uint64_t)pos > size_) return false;
        pos_ = (size_t)pos;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class BankStream : public Stream {
public:
    explicit BankStream(BankPtr bank) : bank_(std::move(bank)) {}

    size_t Read(void* buf, size_t count) override {
        if (!bank_) return 0;
        size_t size = bank_->Size();
        size_t n = pos_ < size ? std::min(count, size - pos_) : 0;
        if (n) std::memcpy(buf, bank_->Buf() + pos_, n);
        pos_ += n;
        return n;
    }
    size_t Write(const void* buf, size_t count) override {
        if (!bank_ || count == 0) return 0;
        if (count > SIZE_MAX - pos_) return 0;
        if (pos_ + count > bank_->Size()) {
            try {
                // Grow geometrically so writing a bank byte by byte stays linear.
                auto& bytes = bank_->Bytes();
                if (pos_ + count > bytes.capacity()) bytes.reserve(std::max(pos_ + count, bytes.capacity() * 2));
                bank_->Resize(pos_ + count);
            } catch (const std::bad_alloc&) {
                return 0;
            }
        }
        std::memcpy(bank_->Buf() + pos_, buf, count);
        pos_ += count;
        return count;
    }
    bool Eof() override { return !bank_ || pos_ >= bank_->Size(); }
    int64_t Pos() override { return (int64_t)pos_; }
    int64_t Size() override { return bank_ ? (int64_t)bank_->Size() : 0; }
    bool Seek(int64_t pos) override {
        if (!bank_ || pos < 0 || (uint64_t)pos > bank_->Size()) return false;
        pos_ = (size_t)pos;
        return true;
    }
    void Close() override { bank_.reset(); }

private:
    BankPtr bank_;
    size_t pos_ = 0;
};

bool IsIncbin(const std::string& path) { return path.compare(0, std::strlen(kIncbinPrefix), kIncbinPrefix) == 0; }

}  // namespace

// Files open close-on-exec ("e"): a program we start, such as the browser,
// never inherits them.
StreamPtr ReadFile(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p)) {
        const IncbinFile* f = IncbinFind(p.substr(std::strlen(kIncbinPrefix)));
        if (!f) return nullptr;
        return std::make_shared<MemoryStream>(f->data, (size_t)f->size);
    }
    if (FileType(p) != FILETYPE_FILE) return nullptr;
    FILE* file = std::fopen(p.c_str(), "rbe");
    if (!file) return nullptr;
    return std::make_shared<FileStream>(file, false);
}

StreamPtr WriteFile(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p) || FileType(p) == FILETYPE_DIR) return nullptr;
    FILE* file = std::fopen(p.c_str(), "wbe");
    if (!file) return nullptr;
    return std::make_shared<FileStream>(file, true);
}

StreamPtr OpenFile(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p) || FileType(p) != FILETYPE_FILE) return nullptr;
    FILE* file = std::fopen(p.c_str(), "r+be");
    if (!file) return nullptr;
    return std::make_shared<FileStream>(file, true);
}

void CloseStream(const StreamPtr& stream) {
    if (stream) stream->Close();
}

StreamPtr CreateBankStream(const BankPtr& bank) {
    if (!bank) return nullptr;
    return std::make_shared<BankStream>(bank);
}
