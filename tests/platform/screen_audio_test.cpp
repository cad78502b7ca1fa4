// Audio on a real OpenAL device (the silent "null" backend under test): channels
// report their sources' state, finish, stop, and survive running out of sources.
#include <gtest/gtest.h>

#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace {

SoundPtr Tone(int frames, int flags = 0) {
    std::vector<int16_t> samples((size_t)frames, 0);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = (int16_t)((i % 50) * 400 - 10000);
    StreamPtr s = CreateBankStream(EncodeSoundWav(samples, 1, 22050));
    return LoadSound(*s, flags);
}

// Polls until the channel stops playing; false when it still plays after 5 s.
bool FinishesSoon(const ChannelPtr& c) {
    for (int i = 0; i < 1000 && c->Playing(); ++i) Delay(5);
    return !c->Playing();
}

class AudioDevice : public ::testing::Test {
protected:
    void SetUp() override {
        if (PlatformHeadless()) GTEST_SKIP() << "no audio device in headless mode";
        ASSERT_TRUE(SetAudioDriver("OpenAL"));
    }
    void TearDown() override { CloseAudio(); }
};

}  // namespace

TEST_F(AudioDevice, ChannelsPlayFinishAndStop) {
    EXPECT_EQ(CurrentAudioDriver(), "OpenAL");
    ChannelPtr cued = Cue(Tone(2205));
    EXPECT_TRUE(cued->Paused());
    EXPECT_TRUE(cued->Playing());
    cued->SetVolume(0.3f);
    cued->SetPan(1.0f);
    cued->SetRate(1.5f);
    EXPECT_EQ(cued->Volume(), 0.3f);
    EXPECT_EQ(cued->Pan(), 1.0f);
    EXPECT_EQ(cued->Rate(), 1.5f);

    ChannelPtr shot = PlaySound(Tone(441));   // 20 ms
    EXPECT_TRUE(FinishesSoon(shot));
    shot->SetPaused(false);   // a finished channel does not start over
    EXPECT_FALSE(shot->Playing());

    ChannelPtr loop = PlaySound(Tone(441, SOUND_LOOP));
    loop->SetPaused(true);
    loop->SetPaused(false);
    EXPECT_TRUE(loop->Playing());
    loop->Stop();
    EXPECT_FALSE(loop->Playing());
}

TEST_F(AudioDevice, MoreChannelsThanSourcesStillWork) {
    SoundPtr tone = Tone(22050, SOUND_LOOP);
    std::vector<ChannelPtr> channels;
    for (int i = 0; i < 600; ++i) channels.push_back(PlaySound(tone));
    for (const auto& c : channels) EXPECT_TRUE(c->Playing());
    for (const auto& c : channels) c->Stop();
    EXPECT_TRUE(PlaySound(tone)->Playing());
}

TEST_F(AudioDevice, ChangingTheDriverStopsEveryChannel) {
    ChannelPtr c = PlaySound(Tone(22050, SOUND_LOOP));
    SoundPtr kept = Tone(22050);
    ASSERT_TRUE(SetAudioDriver("Null"));
    EXPECT_FALSE(c->Playing());
    ASSERT_TRUE(SetAudioDriver("OpenAL"));
    EXPECT_TRUE(PlaySound(kept)->Playing());   // sounds outlive the device
}
