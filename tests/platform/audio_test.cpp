// Audio: WAV and Ogg loading from banks and files, damaged input, and Null-driver channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/stream.h"
#include "platform/system.h"

namespace {

void Put16(std::vector<uint8_t>& b, int v) {
    b.push_back((uint8_t)(v & 255));
    b.push_back((uint8_t)((v >> 8) & 255));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, (int)(v & 0xFFFF));
    Put16(b, (int)(v >> 16));
}
void PutId(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)id[i]);
}

// A RIFF WAVE file assembled chunk by chunk, so a test can bend any field.
struct Wav {
    int tag = 1, channels = 1, rate = 22050, bits = 16;
    int align = -1;                  // -1: channels * bits / 8
    std::vector<uint8_t> data;       // raw sample bytes
    std::vector<std::vector<uint8_t>> extra;   // whole chunks placed before "fmt "

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> body;
        PutId(body, "WAVE");
        for (const auto& c : extra) body.insert(body.end(), c.begin(), c.end());
        PutId(body, "fmt ");
        Put32(body, 16);
        Put16(body, tag);
        Put16(body, channels);
        Put32(body, (uint32_t)rate);
        int a = align < 0 ? channels * bits / 8 : align;
        Put32(body, (uint32_t)(rate * a));
        Put16(body, a);
        Put16(body, bits);
        PutId(body, "data");
        Put32(body, (uint32_t)data.size());
        body.insert(body.end(), data.begin(), data.end());
        if (data.size() & 1) body.push_back(0);
        std::vector<uint8_t> out;
        PutId(out, "RIFF");
        Put32(out, (uint32_t)body.size());
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }
};

std::vector<uint8_t> Chunk(const char* id, size_t size) {
    std::vector<uint8_t> c;
    PutId(c, id);
    Put32(c, (uint32_t)size);
    c.resize(8 + size + (size & 1), 0x5A);
    return c;
}

SoundPtr LoadBytes(const std::vector<uint8_t>& bytes, int flags = 0) {
    StreamPtr s = CreateBankStream(std::make_shared<Bank>(bytes.data(), bytes.size()));
    return LoadSound(*s, flags);
}

std::vector<int16_t> Sine(int frames, int channels, double step, int amplitude) {
    std::vector<int16_t> s;
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) s.push_back((int16_t)std::lround(amplitude * std::sin(f * step * (c + 1))));
    return s;
}

std::vector<uint8_t> BankBytes(const BankPtr& b) { return std::vector<uint8_t>(b->Buf(), b->Buf() + b->Size()); }

// A 16-bit mono WAV of `frames` frames at 1000 Hz: the length in ms is the frame count.
SoundPtr SilentSound(int frames, int flags = 0) {
    Wav w;
    w.rate = 1000;
    w.data.assign((size_t)frames * 2, 0);
    return LoadBytes(w.Bytes(), flags);
}

}  // namespace

TEST(AudioWav, FormatsLoadWithTheirLengthAndSamples) {
    struct Case { int channels, bits, rate, frames, length_ms; };
    for (auto c : {Case{1, 8, 22050, 11025, 500}, {2, 8, 11025, 11025, 1000}, {1, 16, 8000, 4000, 500}, {2, 16, 44100, 22050, 500}}) {
        Wav w;
        w.channels = c.channels;
        w.bits = c.bits;
        w.rate = c.rate;
        w.data.assign((size_t)c.frames * c.channels * c.bits / 8, c.bits == 8 ? 128 : 0);
        // The last frame's last channel carries a known value: 200 (8-bit) or -1234 (16-bit).
        if (c.bits == 8) {
            w.data.back() = 200;
        } else {
            w.data[w.data.size() - 2] = (uint8_t)(-1234 & 255);
            w.data.back() = (uint8_t)((-1234 >> 8) & 255);
        }
        SoundPtr s = LoadBytes(w.Bytes());
        ASSERT_TRUE(s) << c.channels << "ch " << c.bits << "bit";
        EXPECT_EQ(SoundChannels(s), c.channels);
        EXPECT_EQ(SoundRate(s), c.rate);
        EXPECT_EQ(SoundFrames(s), c.frames);
        EXPECT_EQ(SoundLength(s), c.length_ms);
        EXPECT_EQ(SoundSample(s, c.frames - 1, c.channels - 1), c.bits == 8 ? (200 - 128) * 256 : -1234);
        EXPECT_EQ(SoundSample(s, 0, 0), 0);
        EXPECT_EQ(SoundSample(s, c.frames, 0), 0);   // past the end
    }
}

TEST(AudioWav, OtherChunksAndExtensibleFormatAreAccepted) {
    Wav w;
    w.data = {1, 0, 2, 0, 3, 0};
    w.extra = {Chunk("LIST", 5), Chunk("junk", 0)};   // an odd size is padded
    SoundPtr s = LoadBytes(w.Bytes());
    ASSERT_TRUE(s);
    EXPECT_EQ(SoundFrames(s), 3);
    EXPECT_EQ(SoundSample(s, 2, 0), 3);

    // WAVE_FORMAT_EXTENSIBLE with the PCM sub-format, written by hand.
    std::vector<uint8_t> b;
    PutId(b, "RIFF");
    Put32(b, 4 + 8 + 40 + 8 + 4);
    PutId(b, "WAVE");
    PutId(b, "fmt ");
    Put32(b, 40);
    Put16(b, 0xFFFE);
    Put16(b, 2);
    Put32(b, 8000);
    Put32(b, 32000);
    Put16(b, 4);
    Put16(b, 16);
    Put16(b, 22);
    Put16(b, 16);
    Put32(b, 3);
    const uint8_t guid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    b.insert(b.end(), guid, guid + 16);
    PutId(b, "data");
    Put32(b, 4);
    Put16(b, 7);
    Put16(b, -7);
    SoundPtr e = LoadBytes(b);
    ASSERT_TRUE(e);
    EXPECT_EQ(SoundChannels(e), 2);
    EXPECT_EQ(SoundSample(e, 0, 1), -7);
}

TEST(AudioWav, DamagedFilesGiveNull) {
    auto base = [] {
        Wav w;
        w.data.assign(400, 0);
        return w;
    };
    struct Case { const char* what; std::vector<uint8_t> bytes; };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"three bytes", {'R', 'I', 'F'}});
    cases.push_back({"not a sound", {'M', 'T', 'h', 'd', 0, 0, 0, 6}});
    {
        auto b = base().Bytes();
        b[8] = 'X';   // not WAVE
        cases.push_back({"form type", b});
    }
    {
        auto b = base().Bytes();
        b[40] = 0xFF;   // data chunk claims more bytes than the file has
        cases.push_back({"data length", b});
    }
    {
        auto b = base().Bytes();
        b[16] = 0xF0;   // fmt chunk length runs past the end
        cases.push_back({"fmt length", b});
    }
    {
        auto b = base().Bytes();
        b[4] = 0xFF;
        b[5] = 0xFF;   // RIFF longer than the file
        cases.push_back({"riff length", b});
    }
    {
        auto b = base().Bytes();
        b[16] = 14;   // fmt too short to hold the format
        cases.push_back({"short fmt", b});
    }
    {
        Wav w = base();
        w.bits = 24;
        cases.push_back({"24-bit", w.Bytes()});
    }
    {
        Wav w = base();
        w.channels = 3;
        cases.push_back({"3 channels", w.Bytes()});
    }
    {
        Wav w = base();
        w.tag = 2;
        cases.push_back({"compressed", w.Bytes()});
    }
    {
        Wav w = base();
        w.align = 3;
        cases.push_back({"block align", w.Bytes()});
    }
    {
        Wav w = base();
        w.rate = 0;
        cases.push_back({"rate 0", w.Bytes()});
    }
    {
        Wav w = base();
        w.extra = {Chunk("data", 2)};
        cases.push_back({"two data chunks", w.Bytes()});
    }
    {
        // RIFF WAVE holding only a format chunk.
        auto b = base().Bytes();
        std::vector<uint8_t> cut(b.begin(), b.begin() + 36);
        cut[4] = 28;
        cut[5] = cut[6] = cut[7] = 0;
        cases.push_back({"no data chunk", cut});
    }
    for (const auto& c : cases) EXPECT_FALSE(LoadBytes(c.bytes)) << c.what;

    // Any file cut short is refused, wherever the cut falls.
    auto whole = base().Bytes();
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + (long)n);
        EXPECT_FALSE(LoadBytes(cut)) << "cut at " << n;
    }
}

TEST(AudioLoad, FromAFileAndFromTheMiddleOfAStream) {
    Wav w;
    w.rate = 8000;
    w.data.assign(1600, 0);
    auto bytes = w.Bytes();

    std::string path = (std::filesystem::temp_directory_path() / ("grombat_audio_" + std::to_string(getpid()) + ".wav")).string();
    {
        std::ofstream f(path, std::ios::binary);
        f.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    }
    SoundPtr s = LoadSound(path);
    std::remove(path.c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(SoundLength(s), 100);
    EXPECT_FALSE(LoadSound(path));   // gone now

    // Sounds packed in a bank after other data load from where the stream stands.
    auto ogg = BankBytes(EncodeSoundOgg(Sine(4000, 1, 0.05, 10000), 1, 8000));
    for (const auto& payload : {bytes, ogg}) {
        std::vector<uint8_t> packed = {'H', 'E', 'A', 'D', 'E', 'R'};
        packed.insert(packed.end(), payload.begin(), payload.end());
        StreamPtr st = CreateBankStream(std::make_shared<Bank>(packed.data(), packed.size()));
        uint8_t skip[6];
        ASSERT_EQ(st->Read(skip, 6), 6u);
        SoundPtr p = LoadSound(*st);
        ASSERT_TRUE(p);
        EXPECT_EQ(SoundRate(p), 8000);
    }
}

TEST(AudioOgg, EncodedSoundsDecodeWithTheirExactLengthAndShape) {
    struct Case { int channels, rate, frames; };
    for (auto c : {Case{1, 22050, 11025}, {2, 44100, 30000}}) {
        std::vector<int16_t> src = Sine(c.frames, c.channels, 0.06, 12000);
        BankPtr ogg = EncodeSoundOgg(src, c.channels, c.rate);
        ASSERT_TRUE(ogg);
        StreamPtr st = CreateBankStream(ogg);
        SoundPtr s = LoadSound(*st);
        ASSERT_TRUE(s) << c.channels;
        EXPECT_EQ(SoundChannels(s), c.channels);
        EXPECT_EQ(SoundRate(s), c.rate);
        EXPECT_EQ(SoundFrames(s), c.frames);
        EXPECT_EQ(SoundLength(s), c.frames * 1000 / c.rate);
        // Lossy, but the waveform survives: compare well inside the sound.
        double err = 0;
        int count = 0;
        for (int f = 2000; f < c.frames - 2000; f += 37)
            for (int ch = 0; ch < c.channels; ++ch, ++count)
                err += std::abs(SoundSample(s, f, ch) - src[(size_t)f * c.channels + ch]);
        EXPECT_LT(err / count, 600.0) << "mean error against an amplitude of 12000";
    }
    // Same samples, same bytes: generated assets are reproducible.
    auto a = EncodeSoundOgg(Sine(3000, 1, 0.1, 5000), 1, 22050);
    auto b = EncodeSoundOgg(Sine(3000, 1, 0.1, 5000), 1, 22050);
    EXPECT_EQ(BankBytes(a), BankBytes(b));
}

TEST(AudioOgg, DamagedStreamsGiveNullWithoutCrashing) {
    auto good = BankBytes(EncodeSoundOgg(Sine(8000, 1, 0.05, 10000), 1, 22050));
    ASSERT_GT(good.size(), 200u);

    std::vector<uint8_t> only_magic = {'O', 'g', 'g', 'S'};
    std::vector<uint8_t> zeros = only_magic;
    zeros.resize(500, 0);
    std::vector<uint8_t> header_hit = good;
    header_hit[40] ^= 0xFF;   // inside the identification header: checksum fails
    std::vector<uint8_t> head_only(good.begin(), good.begin() + 100);
    for (const auto& bytes : {only_magic, zeros, header_hit, head_only}) EXPECT_FALSE(LoadBytes(bytes));

    // Cut anywhere: either refused or a shorter sound, never more than was there.
    for (size_t n = 0; n < good.size(); n += 53) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + (long)n);
        SoundPtr s = LoadBytes(cut);
        if (s) {
            EXPECT_LE(SoundFrames(s), 8000);
        }
    }
    // Bytes flipped in the audio pages: the damaged pages are skipped.
    for (size_t at = good.size() / 2; at < good.size(); at += 97) {
        std::vector<uint8_t> hit = good;
        hit[at] ^= 0x55;
        SoundPtr s = LoadBytes(hit);
        if (s) {
            EXPECT_LE(SoundFrames(s), 8000);
        }
    }
}

TEST(AudioEncode, BadArgumentsGiveNull) {
    std::vector<int16_t> three = {1, 2, 3};
    EXPECT_FALSE(EncodeSoundOgg(three, 2, 22050));   // a partial frame
    EXPECT_FALSE(EncodeSoundWav(three, 3, 22050));
    EXPECT_FALSE(EncodeSoundWav(three, 1, 0));
    EXPECT_FALSE(EncodeSoundOgg(three, 1, 22050, 2.0f));
    BankPtr wav = EncodeSoundWav(three, 1, 22050);
    ASSERT_TRUE(wav);
    SoundPtr s = LoadBytes(BankBytes(wav));
    ASSERT_TRUE(s);
    EXPECT_EQ(SoundSample(s, 2, 0), 3);
}

class AudioChannels : public ::testing::Test {
protected:
    void SetUp() override {
        SetClockSource([this] { return now; });
    }
    void TearDown() override { SetClockSource(nullptr); }
    int now = 5000;
};

TEST_F(AudioChannels, DriversAlwaysListNullAndHeadlessNeverOpensADevice) {
    auto drivers = AudioDrivers();
    EXPECT_NE(std::find(drivers.begin(), drivers.end(), "Null"), drivers.end());
    EXPECT_FALSE(SetAudioDriver("OpenAL"));
    EXPECT_EQ(CurrentAudioDriver(), "Null");
    EXPECT_FALSE(SetAudioDriver("no such driver"));
    EXPECT_EQ(CurrentAudioDriver(), "Null");
    EXPECT_TRUE(SetAudioDriver("Null"));
    CloseAudio();
    EXPECT_EQ(CurrentAudioDriver(), "");
    ChannelPtr c = Cue(SilentSound(10));   // chooses a driver on first use
    EXPECT_TRUE(c);
    EXPECT_EQ(CurrentAudioDriver(), "Null");
}

TEST_F(AudioChannels, CueGivesAPausedChannelThatKeepsItsSettings) {
    EXPECT_FALSE(Cue(nullptr));
    EXPECT_FALSE(PlaySound(nullptr));
    ChannelPtr c = Cue(SilentSound(500));
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->Paused());
    EXPECT_TRUE(c->Playing());
    EXPECT_EQ(c->Volume(), 1.0f);
    EXPECT_EQ(c->Pan(), 0.0f);
    EXPECT_EQ(c->Rate(), 1.0f);
    c->SetVolume(0.3f);
    c->SetPan(-0.75f);
    c->SetRate(2.5f);
    c->SetPaused(false);
    EXPECT_EQ(c->Volume(), 0.3f);
    EXPECT_EQ(c->Pan(), -0.75f);
    EXPECT_EQ(c->Rate(), 2.5f);
    EXPECT_FALSE(c->Paused());
    EXPECT_FALSE(PlaySound(SilentSound(5))->Paused());
}

TEST_F(AudioChannels, ChannelsFinishWhenTheSoundHasRunOut) {
    // A 500 ms sound at various rates: playing 1 ms before its end, not at it.
    struct Case { float rate; int ms_to_end; };
    for (auto c : {Case{1.0f, 500}, {2.0f, 250}, {0.5f, 1000}, {1.25f, 400}}) {
        ChannelPtr ch = PlaySound(SilentSound(500));
        ch->SetRate(c.rate);
        now += c.ms_to_end - 1;
        EXPECT_TRUE(ch->Playing()) << c.rate;
        now += 1;
        EXPECT_FALSE(ch->Playing()) << c.rate;
    }

    // Paused time does not count; a finished channel does not restart.
    ChannelPtr p = Cue(SilentSound(100));
    now += 10000;
    EXPECT_TRUE(p->Playing());
    p->SetPaused(false);
    now += 60;
    p->SetPaused(true);
    now += 10000;
    EXPECT_TRUE(p->Playing());
    p->SetPaused(false);
    now += 40;
    EXPECT_FALSE(p->Playing());
    p->SetPaused(false);
    EXPECT_FALSE(p->Playing());

    // A rate change applies from the moment it is made.
    ChannelPtr r = PlaySound(SilentSound(300));
    now += 100;
    r->SetRate(2.0f);
    now += 99;
    EXPECT_TRUE(r->Playing());
    now += 1;
    EXPECT_FALSE(r->Playing());
}

TEST_F(AudioChannels, StopEndsAChannelAndLoopsRunUntilStopped) {
    ChannelPtr c = PlaySound(SilentSound(1000));
    c->Stop();
    EXPECT_FALSE(c->Playing());
    c->SetPaused(false);
    EXPECT_FALSE(c->Playing());
    c->SetVolume(0.5f);   // settings still answer after Stop
    EXPECT_EQ(c->Volume(), 0.5f);

    ChannelPtr loop = PlaySound(SilentSound(100, SOUND_LOOP));
    now += 100000;
    EXPECT_TRUE(loop->Playing());
    loop->Stop();
    EXPECT_FALSE(loop->Playing());

    // The clock may wrap past the int range.
    now = 0x7FFFFFF0;
    ChannelPtr w = PlaySound(SilentSound(100));
    now = (int)(0x7FFFFFF0u + 99u);
    EXPECT_TRUE(w->Playing());
    now = (int)(0x7FFFFFF0u + 100u);
    EXPECT_FALSE(w->Playing());
}

TEST_F(AudioChannels, PlatformShutdownClosesTheAudio) {
    ChannelPtr c = PlaySound(SilentSound(1000));
    ASSERT_EQ(CurrentAudioDriver(), "Null");
    PlatformShutdown();
    EXPECT_FALSE(c->Playing());
    EXPECT_EQ(CurrentAudioDriver(), "");
    PlatformOptions headless;
    headless.headless = true;
    PlatformInit(headless);
}
