// Files and folders: listing order, atomic saves, folder handling and path pieces.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/incbin.h"
#include "platform/stream.h"
#include "platform/test_files.h"

namespace {

std::string Text(const BankPtr& bank) { return bank ? std::string((const char*)bank->Buf(), bank->Size()) : "<null>"; }

Bank BankOfText(const std::string& s) { return Bank(s.data(), s.size()); }

// Makes every write that would take a file past `bytes` fail (EFBIG) while alive.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

}  // namespace

TEST(Files, ListingIsSortedByByteValue) {
    ScratchDir dir;
    for (const char* name : {"b", "a1", "\xE9t\xE9", "B", "_x", "a", "A"}) ASSERT_TRUE(SaveBank(Bank(1), dir / name));
    ASSERT_TRUE(CreateDir(dir / "sub"));
    EXPECT_EQ(LoadDir(dir.path()), (std::vector<std::string>{"A", "B", "_x", "a", "a1", "b", "sub", "\xE9t\xE9"}));
    EXPECT_TRUE(LoadDir(dir / "missing").empty());
    EXPECT_TRUE(LoadDir(dir / "a").empty());  // a file is not a folder
}

TEST(Files, SaveReplacesTheWholeFileAndLeavesNoTemporary) {
    ScratchDir dir;
    const std::string path = dir / "settings.cfg";
    ASSERT_TRUE(SaveBank(BankOfText("first version, long"), path));
    ASSERT_TRUE(SaveBank(BankOfText("second"), path));
    EXPECT_EQ(Text(LoadBank(path)), "second");
    EXPECT_EQ(LoadDir(dir.path()), (std::vector<std::string>{"settings.cfg"}));
    ASSERT_TRUE(SaveBank(Bank(), path));
    EXPECT_EQ(FileSize(path), 0);
}

TEST(Files, FailedSaveKeepsTheOldFile) {
    ScratchDir dir;
    const std::string path = dir / "team.cfg";
    ASSERT_TRUE(SaveLines({"old", "content"}, path));
    const std::string before = Text(LoadBank(path));

    EXPECT_FALSE(SaveBank(BankOfText("x"), dir / "missing/team.cfg"));
    EXPECT_FALSE(SaveBank(BankOfText("x"), dir.path()));  // a folder is never replaced
    EXPECT_FALSE(SaveBank(BankOfText("x"), "incbin::team.cfg"));

    // A write that breaks half-way (here: the file size limit) must not touch the target.
    std::string big(100000, 'n');
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(SaveBank(BankOfText(big), path));
        EXPECT_FALSE(SaveLines({big}, path));
    }
    EXPECT_EQ(Text(LoadBank(path)), before);
    EXPECT_EQ(LoadDir(dir.path()), (std::vector<std::string>{"team.cfg"}));  // temporaries removed
}

TEST(Files, SaveKeepsLinksAndPermissions) {
    ScratchDir dir;
    ASSERT_TRUE(CreateDir(dir / "real"));
    const std::string target = dir / "real/settings.cfg";
    ASSERT_TRUE(SaveBank(BankOfText("old"), target));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    // A relative link, and a link to that link.
    ASSERT_EQ(symlink("real/settings.cfg", (dir / "settings.cfg").c_str()), 0);
    ASSERT_EQ(symlink("settings.cfg", (dir / "again.cfg").c_str()), 0);
    for (const char* via : {"settings.cfg", "again.cfg"}) {
        ASSERT_TRUE(SaveLines({std::string("new through ") + via}, dir / via)) << via;
        struct stat st;
        ASSERT_EQ(lstat((dir / via).c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << via;
        EXPECT_EQ(Text(LoadBank(target)), std::string("new through ") + via + "\r\n");
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << via;
    }
    // A link to a file not made yet makes it; a loop of links is refused.
    ASSERT_EQ(symlink("real/later.cfg", (dir / "later.cfg").c_str()), 0);
    ASSERT_TRUE(SaveBank(BankOfText("x"), dir / "later.cfg"));
    EXPECT_EQ(Text(LoadBank(dir / "real/later.cfg")), "x");
    ASSERT_EQ(symlink("loop2", (dir / "loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", (dir / "loop2").c_str()), 0);
    EXPECT_FALSE(SaveBank(BankOfText("x"), dir / "loop1"));
    // A new file takes the mode asked for.
    ASSERT_TRUE(SaveBank(BankOfText("secret"), dir / "private.dat", 0600));
    struct stat st;
    ASSERT_EQ(stat((dir / "private.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Files, SaveLinesEndsEveryLineWithCrLf) {
    ScratchDir dir;
    const std::string path = dir / "lines.txt";
    ASSERT_TRUE(SaveLines({"name Grombat", "", "volume 80"}, path));
    EXPECT_EQ(Text(LoadBank(path)), "name Grombat\r\n\r\nvolume 80\r\n");
    auto s = ReadFile(path);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ReadLine(), "name Grombat");
    EXPECT_EQ(s->ReadLine(), "");
    EXPECT_EQ(s->ReadLine(), "volume 80");
    EXPECT_TRUE(s->Eof());
}

TEST(Files, FoldersTypesAndSizes) {
    ScratchDir dir;
    EXPECT_EQ(FileType(dir.path()), FILETYPE_DIR);
    EXPECT_EQ(FileType(dir / "nothing"), FILETYPE_NONE);
    EXPECT_EQ(FileSize(dir / "nothing"), -1);
    EXPECT_FALSE(CreateDir(dir / "x/y/z"));
    ASSERT_TRUE(CreateDir(dir / "x\\y\\z", true));
    EXPECT_TRUE(CreateDir(dir / "x/y/z"));  // already there
    ASSERT_TRUE(SaveBank(Bank(5), dir / "x/y/z/f.bin"));
    EXPECT_EQ(FileType(dir / "x/y/z/f.bin"), FILETYPE_FILE);
    EXPECT_EQ(FileSize(dir / "x/y/z/f.bin"), 5);
    EXPECT_GT(FileTime(dir / "x/y/z/f.bin"), 0);
    EXPECT_FALSE(DeleteDir(dir / "x"));   // not empty
    EXPECT_FALSE(DeleteFile(dir / "x"));  // not a file
    ASSERT_TRUE(RenameFile(dir / "x/y/z/f.bin", dir / "x/g.bin"));
    ASSERT_TRUE(CopyFile(dir / "x/g.bin", dir / "x/h.bin"));
    EXPECT_EQ(FileSize(dir / "x/h.bin"), 5);
    EXPECT_TRUE(DeleteFile(dir / "x/g.bin"));
    EXPECT_EQ(FileType(dir / "x/g.bin"), FILETYPE_NONE);
    EXPECT_TRUE(DeleteDir(dir / "x", true));
    EXPECT_EQ(FileType(dir / "x"), FILETYPE_NONE);
}

TEST(Files, BuiltInFilesCopyOut) {
    static const unsigned char kBytes[] = {1, 2, 3, 0, 5};
    IncbinRegister("tests/copy.bin", kBytes, sizeof kBytes);
    ScratchDir dir;
    ASSERT_TRUE(CopyFile("incbin::tests/copy.bin", dir / "copy.bin"));
    BankPtr copy = LoadBank(dir / "copy.bin");
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->Size(), 5u);
    EXPECT_EQ(std::memcmp(copy->Buf(), kBytes, 5), 0);
    EXPECT_FALSE(DeleteFile("incbin::tests/copy.bin"));
    EXPECT_EQ(LoadBank("incbin::tests/none.bin"), nullptr);
}

TEST(Files, CurrentAndRealPaths) {
    ScratchDir dir;
    const std::string here = CurrentDir();
    ASSERT_TRUE(ChangeDir(dir.path()));
    EXPECT_EQ(CurrentDir(), RealPath(dir.path()));
    EXPECT_EQ(RealPath("a/../b/./c.txt"), RealPath(dir.path()) + "/b/c.txt");
    ASSERT_TRUE(ChangeDir(here));
}

TEST(Files, PathPieces) {
    struct Case {
        const char* path;
        const char *dir, *file, *ext, *no_ext, *all;
    };
    const Case cases[] = {
        {"a/b/c.txt", "a/b", "c.txt", "txt", "a/b/c", "c"},
        {"a\\b\\c.txt", "a/b", "c.txt", "txt", "a/b/c", "c"},
        {"c.tar.gz", "", "c.tar.gz", "gz", "c.tar", "c.tar"},
        {"maps.d/readme", "maps.d", "readme", "", "maps.d/readme", "readme"},
        {"/top.png", "/", "top.png", "png", "/top", "top"},
        {"dir/", "dir", "", "", "dir/", ""},
        {"", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractDir(c.path), c.dir) << c.path;
        EXPECT_EQ(StripDir(c.path), c.file) << c.path;
        EXPECT_EQ(ExtractExt(c.path), c.ext) << c.path;
        EXPECT_EQ(StripExt(c.path), c.no_ext) << c.path;
        EXPECT_EQ(StripAll(c.path), c.all) << c.path;
    }
}
