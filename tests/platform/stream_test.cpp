// Streams: text lines, typed little-endian values, file, built-in and bank streams.
#include "platform/stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/incbin.h"
#include "platform/test_files.h"

namespace {

BankPtr BankOf(const std::string& bytes) { return std::make_shared<Bank>(bytes.data(), bytes.size()); }

std::vector<std::string> AllLines(Stream& s) {
    std::vector<std::string> lines;
    while (!s.Eof()) lines.push_back(s.ReadLine());
    return lines;
}

}  // namespace

TEST(StreamLines, EndAtLfZeroOrEndAndDropEveryCr) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"alpha\nbeta\n", {"alpha", "beta"}},
        {"alpha\r\nbeta\r\n", {"alpha", "beta"}},
        {std::string("alpha\0beta\0", 11), {"alpha", "beta"}},
        {"alpha\nbeta", {"alpha", "beta"}},
        {"a\rb\r\r\nc", {"ab", "c"}},
        {"\n\r\n", {"", ""}},
        {"", {}},
        {std::string("x\0\ny", 4), {"x", "", "y"}},
        {"caf\xE9\n", {"caf\xE9"}},
    };
    for (const Case& c : cases) {
        auto s = CreateBankStream(BankOf(c.bytes));
        EXPECT_EQ(AllLines(*s), c.lines) << "input of " << c.bytes.size() << " bytes";
    }
}

TEST(StreamLines, WrittenWithCrLf) {
    auto bank = CreateBank();
    auto s = CreateBankStream(bank);
    s->WriteLine("one");
    s->WriteLine("");
    s->WriteLine("t\xE9o");
    const std::string expect = "one\r\n\r\nt\xE9o\r\n";
    ASSERT_EQ(bank->Size(), expect.size());
    EXPECT_EQ(std::memcmp(bank->Buf(), expect.data(), expect.size()), 0);
    auto back = CreateBankStream(bank);
    EXPECT_EQ(AllLines(*back), (std::vector<std::string>{"one", "", "t\xE9o"}));
}

TEST(StreamLines, ReadingAtTheEndFails) {
    auto s = CreateBankStream(BankOf("x"));
    EXPECT_EQ(s->ReadLine(), "x");
    EXPECT_FALSE(s->Failed());
    EXPECT_EQ(s->ReadLine(), "");
    EXPECT_TRUE(s->Failed());
}

TEST(BankStream, TypedValuesRoundTripLittleEndian) {
    auto bank = CreateBank();
    auto w = CreateBankStream(bank);
    w->WriteByte(200);
    w->WriteByte(0x1FF);  // only the low byte is kept
    w->WriteShort(0xBEEF);
    w->WriteShort(-1);
    w->WriteInt(0x11223344);
    w->WriteInt(INT_MIN);
    w->WriteInt(-2);
    w->WriteFloat(1.5f);
    w->WriteFloat(-0.0f);
    w->WriteFloat(INFINITY);
    w->WriteString("raw");
    EXPECT_FALSE(w->Failed());
    ASSERT_EQ(bank->Size(), 1u + 1 + 2 + 2 + 4 + 4 + 4 + 4 + 4 + 4 + 3);
    // The bank shows the stream's writes, little-endian.
    EXPECT_EQ(bank->PeekShort(2), 0xBEEF);
    EXPECT_EQ(bank->PeekByte(6), 0x44);
    EXPECT_EQ(bank->PeekByte(9), 0x11);

    auto r = CreateBankStream(bank);
    EXPECT_EQ(r->ReadByte(), 200);
    EXPECT_EQ(r->ReadByte(), 0xFF);
    EXPECT_EQ(r->ReadShort(), 0xBEEF);
    EXPECT_EQ(r->ReadShort(), 0xFFFF);
    EXPECT_EQ(r->ReadInt(), 0x11223344);
    EXPECT_EQ(r->ReadInt(), INT_MIN);
    EXPECT_EQ(r->ReadInt(), -2);
    EXPECT_EQ(r->ReadFloat(), 1.5f);
    float nz = r->ReadFloat();
    EXPECT_TRUE(nz == 0 && std::signbit(nz));
    EXPECT_EQ(r->ReadFloat(), INFINITY);
    EXPECT_EQ(r->ReadString(3), "raw");
    EXPECT_TRUE(r->Eof());
    EXPECT_FALSE(r->Failed());
}

TEST(BankStream, ReadsPastTheEndGiveZeroAndFail) {
    auto r = CreateBankStream(BankOf("\x01\x02\x03"));
    EXPECT_EQ(r->ReadInt(), 0);  // three bytes are not an int
    EXPECT_TRUE(r->Failed());
    auto s = CreateBankStream(BankOf("ab"));
    EXPECT_EQ(s->ReadString(1000000000), "ab");  // a huge length from a file is harmless
    EXPECT_TRUE(s->Failed());
}

TEST(BankStream, SeekAndOverwriteInTheMiddle) {
    auto bank = BankOf("abcdef");
    auto s = CreateBankStream(bank);
    EXPECT_EQ(s->Size(), 6);
    EXPECT_TRUE(s->Seek(2));
    s->WriteString("XY");
    EXPECT_EQ(s->Pos(), 4);
    EXPECT_EQ(std::string((const char*)bank->Buf(), bank->Size()), "abXYef");
    EXPECT_TRUE(s->Seek(5));
    s->WriteString("123");  // grows the bank
    EXPECT_EQ(std::string((const char*)bank->Buf(), bank->Size()), "abXYe123");
    EXPECT_FALSE(s->Seek(9));
    EXPECT_FALSE(s->Seek(-1));
    EXPECT_EQ(CreateBankStream(nullptr), nullptr);
}

TEST(FileStream, WriteReadAndUpdateInPlace) {
    ScratchDir dir;
    const std::string path = dir / "data.bin";
    {
        auto w = WriteFile(path);
        ASSERT_TRUE(w);
        w->WriteInt(123456789);
        w->WriteLine("hello");
        w->WriteFloat(-2.25f);
        CloseStream(w);
        EXPECT_FALSE(w->Failed());
        w->WriteByte(1);  // a closed stream writes nothing
        EXPECT_TRUE(w->Failed());
    }
    EXPECT_EQ(FileSize(path), 4 + 7 + 4);
    {
        auto u = OpenFile(path);
        ASSERT_TRUE(u);
        EXPECT_EQ(u->ReadInt(), 123456789);
        u->WriteString("J");  // overwrite the "h" right after a read
        CloseStream(u);
    }
    // A backslash in the path is a folder separator.
    std::string windows_path = path;
    windows_path[dir.path().size()] = '\\';
    auto r = ReadFile(windows_path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Size(), 15);
    EXPECT_EQ(r->ReadInt(), 123456789);
    EXPECT_EQ(r->ReadLine(), "Jello");
    EXPECT_EQ(r->ReadFloat(), -2.25f);
    EXPECT_TRUE(r->Eof());
    EXPECT_EQ(r->Write("x", 1), 0u);  // read-only
}

TEST(FileStream, MissingFilesAndFolders) {
    ScratchDir dir;
    EXPECT_EQ(ReadFile(dir / "none.txt"), nullptr);
    EXPECT_EQ(OpenFile(dir / "none.txt"), nullptr);  // must exist
    EXPECT_EQ(ReadFile(dir.path()), nullptr);        // a folder is not a file
    EXPECT_EQ(WriteFile(dir / "no/such/folder.txt"), nullptr);
}

TEST(FileStream, DescriptorsStayOutOfStartedPrograms) {
    // A browser started while the debug log is open must not inherit it.
    ScratchDir dir;
    const std::string path = dir / "log.txt";
    auto open_fds = [&] {
        std::vector<int> fds;
        for (const std::string& name : LoadDir("/proc/self/fd")) {
            char target[4096];
            ssize_t n = ::readlink(("/proc/self/fd/" + name).c_str(), target, sizeof target - 1);
            if (n > 0 && std::string(target, (size_t)n) == path) fds.push_back(std::atoi(name.c_str()));
        }
        return fds;
    };
    for (int mode = 0; mode < 3; mode++) {
        StreamPtr s = mode == 0 ? WriteFile(path) : mode == 1 ? ReadFile(path) : OpenFile(path);
        ASSERT_TRUE(s) << mode;
        std::vector<int> fds = open_fds();
        ASSERT_EQ(fds.size(), 1u) << mode;
        EXPECT_TRUE(::fcntl(fds[0], F_GETFD) & FD_CLOEXEC) << mode;
    }
}

TEST(IncbinStream, BuiltInFilesOpenForReadingOnly) {
    static const unsigned char kText[] = "first\r\nsecond";
    IncbinRegister("tests/lines.txt", kText, sizeof kText - 1);
    auto s = ReadFile("incbin::tests/lines.txt");
    ASSERT_TRUE(s);
    EXPECT_EQ(AllLines(*s), (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(ReadFile("incbin::tests\\lines.txt"));
    EXPECT_EQ(ReadFile("incbin::tests/other.txt"), nullptr);
    EXPECT_EQ(WriteFile("incbin::tests/lines.txt"), nullptr);
    EXPECT_EQ(OpenFile("incbin::tests/lines.txt"), nullptr);
    EXPECT_EQ(FileType("incbin::tests/lines.txt"), FILETYPE_FILE);
    EXPECT_EQ(FileSize("incbin::tests/lines.txt"), 13);
    EXPECT_EQ(FileType("incbin::tests/other.txt"), FILETYPE_NONE);
    EXPECT_EQ(FileSize("incbin::tests/other.txt"), -1);
    BankPtr bank = LoadBank("incbin::tests/lines.txt");
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->Size(), 13u);
    EXPECT_EQ(bank->PeekByte(12), 'd');
}
