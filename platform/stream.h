// Streams: sequential byte reading and writing over files and banks, with the
// typed little-endian reads and writes and the text-line rules of the game.
//
// Lines: ReadLine stops at LF, at a 0 byte or at the end, and drops every CR;
// WriteLine ends each line with CR LF. Text is one byte per character.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/bank.h"

class Stream {
public:
    virtual ~Stream() = default;

    // Raw transfer; return the number of bytes moved.
    virtual size_t Read(void* buf, size_t count) = 0;
    virtual size_t Write(const void* buf, size_t count) = 0;
    virtual bool Eof() = 0;
    virtual int64_t Pos() = 0;
    virtual int64_t Size() = 0;
    virtual bool Seek(int64_t pos) = 0;
    virtual void Flush() {}
    virtual void Close() {}

    // Typed reads give 0 past the end and set Failed(); writes set Failed()
    // when the bytes could not be written.
    int ReadByte();
    int ReadShort();   // unsigned 16-bit
    int32_t ReadInt();
    float ReadFloat();
    std::string ReadLine();
    std::string ReadString(size_t length);
    void WriteByte(int value);
    void WriteShort(int value);
    void WriteInt(int32_t value);
    void WriteFloat(float value);
    void WriteLine(const std::string& text);
    void WriteString(const std::string& text);

    bool Failed() const { return failed_; }

protected:
    bool failed_ = false;
};

using StreamPtr = std::shared_ptr<Stream>;

// Files. Paths use "/" (a "\" is taken as "/"); "incbin::" paths open built-in
// files for reading. Null when the file cannot be opened.
StreamPtr ReadFile(const std::string& path);
StreamPtr WriteFile(const std::string& path);   // creates or truncates
StreamPtr OpenFile(const std::string& path);    // read and write, must exist
void CloseStream(const StreamPtr& stream);

// A stream over a bank: reads from offset 0; writes grow the bank. The bank is
// shared, so what is written shows in the caller's bank.
StreamPtr CreateBankStream(const BankPtr& bank);
