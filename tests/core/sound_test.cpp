// Sound playback: effects volume, replay rates, the rate re-application timer,
// pausing and the pruning of finished channels. Runs without a sound device;
// channels keep their settings so they can be read back.
#include "core/sound.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/main_loop.h"
#include "core/input.h"
#include "core/settings.h"
#include "frontend/screens/menu.h"
#include "match/replay.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "support/media_bytes.h"

namespace {

class Sound : public ::testing::Test {
   protected:
    void SetUp() override {
        // A frozen clock: channels of a long sound stay playing for the whole test.
        SetClockSource([] { return 5000; });
        TChan::stopall();
        set_sfx_vol = 10;
        g_replay = 0;
        menu = 1;
        g_replay_speed = 2;
        g_replay_fastforward = 0;
        in_ms = 0;
        TChan::ratetimer = 0;
        BankPtr wav = make_wav(22050 * 10);
        StreamPtr stream = CreateBankStream(wav);
        ASSERT_TRUE(stream);
        sound = LoadSound(*stream, 0);
        CloseStream(stream);
        ASSERT_TRUE(sound);
    }
    void TearDown() override {
        TChan::stopall();
        SetClockSource(nullptr);
    }
    void replay(int speed, int fastforward) {
        g_replay = 1;
        menu = 2;
        g_replay_speed = speed;
        g_replay_fastforward = fastforward;
    }
    SoundPtr sound;
};

TEST_F(Sound, VolumeIsTheEffectsVolumeTimesTheFactor) {
    struct Case {
        int sfx_vol;
        float factor;
        float volume;
    };
    for (auto c : {Case{3, 1.0f, 0.3f}, {3, 0.5f, 0.15f}, {10, 1.0f, 1.0f}, {1, 2.0f, 0.2f}}) {
        set_sfx_vol = c.sfx_vol;
        ChannelPtr chan = play(sound, c.factor);
        ASSERT_TRUE(chan);
        EXPECT_FLOAT_EQ(chan->Volume(), c.volume) << c.sfx_vol << " x " << c.factor;
        EXPECT_FALSE(chan->Paused());
        EXPECT_TRUE(chan->Playing());
    }
    EXPECT_EQ(TChan::list.size(), 4u);
    // Newest first.
    EXPECT_FLOAT_EQ(TChan::list.front()->chan->Volume(), 0.2f);
}

TEST_F(Sound, MutedOrNullSoundPlaysNothing) {
    set_sfx_vol = 0;
    EXPECT_EQ(play(sound, 1.0f), nullptr);
    set_sfx_vol = -2;
    EXPECT_EQ(play(sound, 1.0f), nullptr);
    set_sfx_vol = 5;
    EXPECT_EQ(play(nullptr, 1.0f), nullptr);
    EXPECT_TRUE(TChan::list.empty());
}

TEST_F(Sound, RatesFollowTheReplaySpeed) {
    // A start rate of 1 means play left the channel at its normal rate.
    struct Case {
        int replay, mode, speed, fastforward;
        float start, reapplied;
    };
    const Case cases[] = {
        // A seek: a new sound is faster than the listed ones.
        {1, 2, 2, 1, 2.5f, 2.0f},
        // The speed steps.
        {1, 2, 0, 0, 0.5f, 0.5f},
        {1, 2, 1, 0, 0.75f, 0.75f},
        {1, 2, 2, 0, 1.0f, 1.0f},
        {1, 2, 3, 0, 1.25f, 1.25f},
        {1, 2, 4, 0, 1.5f, 1.5f},
        {1, 2, 5, 0, 2.0f, 2.0f},
        // An unknown step: nothing changes the rate.
        {1, 2, 7, 0, 1.0f, 1.0f},
        // The replay flag outside the match screen, and the match screen without a replay.
        {1, 1, 0, 1, 1.0f, 1.0f},
        {0, 2, 0, 1, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        TChan::stopall();
        g_replay = c.replay;
        menu = c.mode;
        g_replay_speed = c.speed;
        g_replay_fastforward = c.fastforward;
        ChannelPtr chan = play(sound, 1.0f);
        ASSERT_TRUE(chan);
        EXPECT_FLOAT_EQ(chan->Rate(), c.start)
            << "replay " << c.replay << " menu " << c.mode << " speed " << c.speed << " ff " << c.fastforward;
        TChan::updateRates();
        EXPECT_FLOAT_EQ(chan->Rate(), c.reapplied)
            << "replay " << c.replay << " menu " << c.mode << " speed " << c.speed << " ff " << c.fastforward;
    }
}

TEST_F(Sound, ReapplicationOutsideReplaysResetsEveryRateToNormal) {
    replay(5, 0);
    ChannelPtr a = play(sound, 1.0f);
    ChannelPtr b = play(sound, 1.0f);
    b->Stop();  // finished channels still listed are set as well
    g_replay = 0;
    TChan::updateRates();
    EXPECT_FLOAT_EQ(a->Rate(), 1.0f);
    EXPECT_FLOAT_EQ(b->Rate(), 1.0f);
}

TEST_F(Sound, AutomaticReapplicationWaitsMoreThan100Ms) {
    replay(2, 1);
    TChan::ratetimer = 1000;
    ChannelPtr chan = play(sound, 1.0f);
    ASSERT_FLOAT_EQ(chan->Rate(), 2.5f);

    in_ms = 1100;
    TChan::updateRatesAuto();
    EXPECT_FLOAT_EQ(chan->Rate(), 2.5f);
    EXPECT_EQ(TChan::ratetimer, 1000);

    in_ms = 1101;
    TChan::updateRatesAuto();
    EXPECT_FLOAT_EQ(chan->Rate(), 2.0f);
    EXPECT_EQ(TChan::ratetimer, 1101);
}

TEST_F(Sound, PausingAffectsOnlyListedChannels) {
    ChannelPtr before = play(sound, 1.0f);
    TChan::pauseAll(1);
    EXPECT_TRUE(before->Paused());
    ChannelPtr after = play(sound, 1.0f);
    EXPECT_FALSE(after->Paused());
    TChan::pauseAll(0);
    EXPECT_FALSE(before->Paused());
}

TEST_F(Sound, FinishedChannelsArePrunedFromThe15thUpdateOn) {
    // SetUp's stopall reset the counter.
    ChannelPtr finished = play(sound, 1.0f);
    ChannelPtr playing = play(sound, 1.0f);
    finished->Stop();
    for (int i = 1; i <= 14; i++) TChan::update();
    EXPECT_EQ(TChan::list.size(), 2u) << "the first 14 updates only count";
    TChan::update();
    ASSERT_EQ(TChan::list.size(), 1u);
    EXPECT_EQ(TChan::list.front()->chan, playing);

    // From now on every update sweeps.
    playing->Stop();
    TChan::update();
    EXPECT_TRUE(TChan::list.empty());
    EXPECT_EQ(TChan::counter, 16) << "sweeping does not reset the counter";
}

TEST_F(Sound, SweepCounterStopsAtTheTop) {
    TChan::counter = INT_MAX;
    ChannelPtr finished = play(sound, 1.0f);
    finished->Stop();
    TChan::update();
    EXPECT_EQ(TChan::counter, INT_MAX);
    EXPECT_TRUE(TChan::list.empty()) << "still sweeping";
}

TEST_F(Sound, StopallSilencesAndForgetsEverything) {
    for (int i = 0; i < 20; i++) TChan::update();
    ChannelPtr a = play(sound, 1.0f);
    auto entry = TChan::list.front();
    TChan::stopall();
    EXPECT_FALSE(a->Playing());
    EXPECT_EQ(entry->chan, nullptr);
    EXPECT_TRUE(TChan::list.empty());
    EXPECT_EQ(TChan::counter, 0);

    // On an empty list it only resets the counter.
    TChan::update();
    TChan::stopall();
    EXPECT_EQ(TChan::counter, 0);
}

}  // namespace
