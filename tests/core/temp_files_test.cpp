// Received-file cache: copies, replacement in place, checksums, lookups and
// releasing the cached bytes.
#include "core/temp_files.h"

#include <gtest/gtest.h>

#include <string>

#include "core/bank_codec.h"

namespace {

BankPtr bytes(const std::string& text) { return std::make_shared<Bank>(text.data(), text.size()); }

std::string text_of(const BankPtr& bank) { return std::string(bank->Bytes().begin(), bank->Bytes().end()); }

class TempFiles : public ::testing::Test {
   protected:
    void SetUp() override { Ttemp::freeall(); }
    void TearDown() override { Ttemp::freeall(); }
};

TEST_F(TempFiles, AddKeepsItsOwnCopyWithSizeAndChecksum) {
    BankPtr source = bytes("local weapon = 1");
    Ttemp::add("scripts/weapons/gun.lua", *source, 0);
    source->PokeByte(0, 'X');
    source->Resize(0);

    auto t = Ttemp::get("scripts/weapons/gun.lua");
    ASSERT_TRUE(t);
    EXPECT_EQ(text_of(t->bank), "local weapon = 1");
    EXPECT_EQ(t->size, 16);
    EXPECT_EQ(t->crc32, checksum_bank(*t->bank));
}

TEST_F(TempFiles, ChecksumZeroIsComputedOthersAreKept) {
    Ttemp::add("empty", Bank(), 0);
    // The four lanes of an empty bank keep their start values 0, 1, 2, 3.
    EXPECT_EQ(Ttemp::get("empty")->crc32, 0x03020100);
    EXPECT_EQ(Ttemp::get("empty")->size, 0);

    Ttemp::add("told", *bytes("abc"), 12345);
    EXPECT_EQ(Ttemp::get("told")->crc32, 12345);
}

TEST_F(TempFiles, AddingAKnownNameReplacesInPlace) {
    Ttemp::add("gfx/a.png", *bytes("first"), 0);
    Ttemp::add("gfx/b.png", *bytes("other"), 0);
    auto a = Ttemp::get("gfx/a.png");
    BankPtr old = a->bank;
    Ttemp::add("gfx/a.png", *bytes("second!"), 77);

    ASSERT_EQ(Ttemp::list.size(), 2u);
    EXPECT_EQ(Ttemp::list.front(), a);
    EXPECT_EQ(text_of(a->bank), "second!");
    EXPECT_EQ(a->size, 7);
    EXPECT_EQ(a->crc32, 77);
    EXPECT_EQ(old->Size(), 0u) << "replaced bytes are released at once";
}

TEST_F(TempFiles, ReAddingARecordsOwnBankKeepsItsBytes) {
    Ttemp::add("x", *bytes("keep me"), 0);
    auto t = Ttemp::get("x");
    Ttemp::add("x", *t->bank, 0);
    EXPECT_EQ(text_of(Ttemp::get("x")->bank), "keep me");
}

TEST_F(TempFiles, LookupsMatchNamesExactly) {
    Ttemp::add("sfx/Boom.wav", *bytes("12345"), 99);
    EXPECT_TRUE(Ttemp::get("sfx/Boom.wav"));
    EXPECT_FALSE(Ttemp::get("sfx/boom.wav"));
    EXPECT_FALSE(Ttemp::get("Boom.wav"));

    struct Case {
        const char* name;
        int crc, size;
        bool found;
    };
    for (auto c : {Case{"sfx/Boom.wav", 99, 5, true},
                   {"sfx/Boom.wav", 99, 6, false},
                   {"sfx/Boom.wav", 98, 5, false},
                   {"sfx/boom.wav", 99, 5, false}}) {
        EXPECT_EQ(Ttemp::getCheck(c.name, c.crc, c.size) != nullptr, c.found)
            << c.name << " " << c.crc << " " << c.size;
    }
}

TEST_F(TempFiles, FreeAndFreeallReleaseTheBytes) {
    Ttemp::freeall();
    EXPECT_TRUE(Ttemp::list.empty());

    Ttemp::add("a", *bytes("aaa"), 0);
    Ttemp::add("b", *bytes("bbb"), 0);
    Ttemp::add("c", *bytes("ccc"), 0);
    BankPtr a = Ttemp::get("a")->bank, b = Ttemp::get("b")->bank;
    Ttemp::free("b");
    Ttemp::free("nothing");
    EXPECT_EQ(b->Size(), 0u);
    ASSERT_EQ(Ttemp::list.size(), 2u);
    EXPECT_EQ(Ttemp::list.front()->file, "a");
    EXPECT_EQ(Ttemp::list.back()->file, "c");

    Ttemp::freeall();
    EXPECT_EQ(a->Size(), 0u);
    EXPECT_TRUE(Ttemp::list.empty());
}

}  // namespace
