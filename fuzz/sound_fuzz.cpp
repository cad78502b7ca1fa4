// Fuzz target: random bytes as sound files (WAV, Ogg Vorbis), as script
// sounds arrive from disk, a host or a replay.
//
// Properties checked: nothing crashes or reads out of bounds; the limits
// hold (256 MB decoded, the length asked for); a sound that loads survives
// writing as WAV and loading again, sample for sample.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/stream.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

SoundPtr load(const std::vector<uint8_t>& bytes, int max_seconds) {
    auto bank = std::make_shared<Bank>(bytes.data(), bytes.size());
    StreamPtr stream = CreateBankStream(bank);
    return stream ? LoadSound(*stream, 0, max_seconds) : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = [] {
        PlatformOptions options;
        options.headless = true;
        PlatformInit(options);
        return true;
    }();
    (void)started;
    std::vector<uint8_t> bytes(data, data + size);
    SoundPtr sound = load(bytes, 1);
    if (!sound) return 0;
    const int64_t frames = SoundFrames(sound);
    const int channels = SoundChannels(sound), rate = SoundRate(sound);
    check(frames >= 0 && frames <= (int64_t)rate * 1);   // an empty data chunk is a sound of no frames
    check(frames * channels * 2 <= (int64_t)256 << 20);
    std::vector<int16_t> samples;
    samples.reserve((size_t)(frames * channels));
    for (int64_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) samples.push_back((int16_t)SoundSample(sound, f, c));
    BankPtr wav = EncodeSoundWav(samples, channels, rate);
    check(wav != nullptr);
    SoundPtr again = load(std::vector<uint8_t>(wav->Buf(), wav->Buf() + wav->Size()), 1);
    check(again && SoundFrames(again) == frames && SoundChannels(again) == channels && SoundRate(again) == rate);
    for (int64_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) check(SoundSample(again, f, c) == SoundSample(sound, f, c));
    return 0;
}
