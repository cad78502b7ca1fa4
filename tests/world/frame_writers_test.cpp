// Frame buffer writers: byte layout of the record writers, the copy into the
// writer's own list, the whole-record length check and replays.
#include "world/frame_buffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "../support/temp_dir.h"
#include "core/services.h"
#include "core/shared_state.h"
#include "platform/stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct WriterTest : ::testing::Test {
    void SetUp() override {
        g_replay = 0;
        g_frame_data = CreateBank(0);
        Tfb::reset();
    }
    void TearDown() override {
        g_replay = 0;
        g_frame_data = CreateBank(0);
        Tfb::reset();
    }
};

TEST_F(WriterTest, LittleEndianFieldsAndCopyToLoc) {
    Tfb::wbyte(0x1E);
    Tfb::wfloat(1.0f);
    EXPECT_EQ(g_frame_data->Bytes(), (Bytes{0x1E, 0x00, 0x00, 0x80, 0x3F}));
    Tfb::copyloc(5);
    EXPECT_EQ(Tfb::loc->Bytes(), (Bytes{0x1E, 0x00, 0x00, 0x80, 0x3F}));
    Tfb::wshort(0x1234);
    Tfb::wint(-2);
    EXPECT_EQ(g_frame_data->Size(), 11u);
    Tfb::copyloc(6);
    EXPECT_EQ(Tfb::loc->Bytes(), (Bytes{0x1E, 0x00, 0x00, 0x80, 0x3F, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST_F(WriterTest, ReplayWritesNothing) {
    g_replay = 1;
    EXPECT_EQ(Tfb::fits(6), 0);
    Tfb::wbyte(0x1E);
    Tfb::wshort(7);
    Tfb::wint(7);
    Tfb::wfloat(1.0f);
    Tfb::copyloc(5);
    EXPECT_EQ(g_frame_data->Size(), 0u);
    EXPECT_EQ(Tfb::loc->Size(), 0u);
}

TEST_F(WriterTest, WholeRecordMustFitIntoTheFrame) {
    TempDir dir;
    debugstream = WriteFile("log.txt");
    g_frame_data->Resize(Tfb::kFrameDataMax - 6);
    EXPECT_EQ(Tfb::fits(6), 1);
    EXPECT_EQ(Tfb::fits(7), 0);
    debugstream->Close();
    debugstream = nullptr;
    EXPECT_EQ(TempDir::read("log.txt"), "frame data full: record of 7 bytes dropped (frame has 65529)\r\n");
    g_frame_data->Resize(Tfb::kFrameDataMax);
    EXPECT_EQ(Tfb::fits(1), 0);
    EXPECT_EQ(Tfb::fits(0), 1);
}

TEST_F(WriterTest, AddCopiesTheBank) {
    auto data = CreateBank(0);
    data->Bytes() = {1, 2, 3};
    Tfb::add(4, 0x141, data, Tfb::fout);
    Tfb::add(5, 0, nullptr, Tfb::fout);
    data->Bytes()[0] = 9;
    ASSERT_EQ(Tfb::fout.size(), 2u);
    EXPECT_EQ(Tfb::fout.front()->frame, 4);
    EXPECT_EQ(Tfb::fout.front()->keybyte, 0x41);
    EXPECT_EQ(Tfb::fout.front()->data->Bytes(), (Bytes{1, 2, 3}));
    EXPECT_EQ(Tfb::fout.back()->data, nullptr);
    Tfb::add(Tfb::kLastFrame + 1, 0, nullptr, Tfb::fout);
    EXPECT_EQ(Tfb::fout.size(), 2u);
}

}  // namespace
