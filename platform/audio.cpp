// Audio: drivers, sound loading and channels over OpenAL, with a Null driver.
//
// Every channel carries its own settings (volume, pan, rate, paused) whatever
// the driver, so getters never ask the device. A channel with an OpenAL
// source asks the source whether it still sounds; a channel without one (the
// Null driver, no device, or no free source) runs a silent timeline on the
// MilliSecs clock instead, so code that prunes finished channels sees them
// finish after the sound's length. Finished channels give their source back
// at once, and when the device runs out of sources the finished ones are
// reclaimed before a new channel goes silent.
//
// Device objects belong to one open device: when the device closes (driver
// change, CloseAudio) every channel is stopped and every buffer released, and
// the generation count tells sounds to upload their PCM again on next use.
// Main thread only.
#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "platform/sound_data.h"
#include "platform/system.h"

namespace {

enum class Driver { None, OpenAL, Null };

const char* const kOpenAL = "OpenAL";
const char* const kNull = "Null";

Driver s_driver = Driver::None;
ALCdevice* s_device = nullptr;
ALCcontext* s_context = nullptr;
unsigned s_generation = 1;

class AudioChannel;

// Never destroyed: sounds and channels held in other globals may die after
// this file's statics would have.
std::vector<AudioChannel*>& Channels() {
    static auto* list = new std::vector<AudioChannel*>;
    return *list;
}
std::vector<TSound*>& Sounds() {
    static auto* list = new std::vector<TSound*>;
    return *list;
}

template <typename T>
void Unlist(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
}

bool DeviceOpen() { return s_driver == Driver::OpenAL && s_context; }

ALenum AlFormat(const SoundPcm& pcm) {
    if (pcm.channels == 2) return pcm.bits == 16 ? AL_FORMAT_STEREO16 : AL_FORMAT_STEREO8;
    return pcm.bits == 16 ? AL_FORMAT_MONO16 : AL_FORMAT_MONO8;
}

class AudioChannel final : public TChannel {
public:
    explicit AudioChannel(SoundPtr sound) : sound_(std::move(sound)) {
        last_ms_ = MilliSecs();
        length_ms_ = sound_->pcm.rate > 0 ? (double)sound_->pcm.Frames() * 1000.0 / sound_->pcm.rate : 0.0;
        Channels().push_back(this);
    }
    ~AudioChannel() override {
        ReleaseSource();
        Unlist(Channels(), this);
    }

    // Binds an OpenAL source playing the sound's buffer; the channel stays
    // silent when that fails.
    void Attach(ALuint source, ALuint buffer) {
        source_ = source;
        alSourcei(source_, AL_BUFFER, (ALint)buffer);
        alSourcei(source_, AL_LOOPING, (sound_->flags & SOUND_LOOP) ? AL_TRUE : AL_FALSE);
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
        ApplyVolume();
        ApplyPan();
        ApplyRate();
    }

    void SetVolume(float volume) override {
        volume_ = volume;
        ApplyVolume();
    }
    void SetPan(float pan) override {
        pan_ = pan;
        ApplyPan();
    }
    void SetRate(float rate) override {
        Advance();
        rate_ = rate;
        ApplyRate();
    }
    void SetPaused(bool paused) override {
        Advance();
        paused_ = paused;
        if (!source_) return;
        ALint state = SourceState();
        if (state == AL_STOPPED) {
            Finish();   // playing a stopped source would start it over
        } else if (paused && state == AL_PLAYING) {
            alSourcePause(source_);
        } else if (!paused && state != AL_PLAYING) {
            alSourcePlay(source_);
        }
    }
    bool Playing() override {
        if (stopped_) return false;
        if (source_) {
            if (SourceState() == AL_STOPPED) {
                Finish();
                return false;
            }
            return true;
        }
        Advance();
        return (sound_->flags & SOUND_LOOP) || pos_ms_ < length_ms_;
    }
    void Stop() override { Finish(); }

    float Volume() const override { return volume_; }
    float Pan() const override { return pan_; }
    float Rate() const override { return rate_; }
    bool Paused() const override { return paused_; }

    // The device is closing: the channel ends.
    void Detach() { Finish(); }
    // Gives the source back when the sound has run out.
    void ReclaimIfDone() {
        if (source_ && SourceState() == AL_STOPPED) Finish();
    }

private:
    ALint SourceState() const {
        ALint state = AL_STOPPED;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        return state;
    }
    void Finish() {
        stopped_ = true;
        ReleaseSource();
    }
    void ReleaseSource() {
        if (!source_) return;
        if (DeviceOpen()) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
            alDeleteSources(1, &source_);
        }
        source_ = 0;
    }
    void ApplyVolume() {
        if (source_) alSourcef(source_, AL_GAIN, std::max(volume_, 0.0f));
    }
    void ApplyPan() {
        if (!source_) return;
        // On a unit circle in front of the listener: the direction pans, the
        // distance (and so the loudness) stays the same.
        float x = std::clamp(pan_, -1.0f, 1.0f);
        alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
    }
    void ApplyRate() {
        // OpenAL refuses a pitch of 0 or less; a stalled channel crawls instead.
        if (source_) alSourcef(source_, AL_PITCH, std::max(rate_, 0.001f));
    }
    // The silent timeline: sound time advances by wall time times the rate
    // while the channel runs.
    void Advance() {
        int now = MilliSecs();
        int elapsed = (int)((uint32_t)now - (uint32_t)last_ms_);
        last_ms_ = now;
        if (elapsed > 0 && !paused_ && !stopped_) pos_ms_ += elapsed * (double)std::max(rate_, 0.0f);
    }

    SoundPtr sound_;
    ALuint source_ = 0;
    float volume_ = 1.0f;
    float pan_ = 0.0f;
    float rate_ = 1.0f;
    bool paused_ = true;
    bool stopped_ = false;
    double pos_ms_ = 0.0;
    double length_ms_ = 0.0;
    int last_ms_ = 0;
};

void CloseDevice() {
    for (AudioChannel* c : std::vector<AudioChannel*>(Channels())) c->Detach();
    if (s_context) {
        for (TSound* s : Sounds()) {
            if (s->buffer && s->generation == s_generation) alDeleteBuffers(1, &s->buffer);
            s->buffer = 0;
        }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(s_context);
        s_context = nullptr;
    }
    if (s_device) {
        alcCloseDevice(s_device);
        s_device = nullptr;
    }
    ++s_generation;
}

bool OpenDevice() {
    if (PlatformHeadless()) return false;
    s_device = alcOpenDevice(nullptr);
    if (!s_device) return false;
    s_context = alcCreateContext(s_device, nullptr);
    if (!s_context || !alcMakeContextCurrent(s_context)) {
        if (s_context) alcDestroyContext(s_context);
        s_context = nullptr;
        alcCloseDevice(s_device);
        s_device = nullptr;
        return false;
    }
    return true;
}

void EnsureDriver() {
    if (s_driver != Driver::None) return;
    s_driver = OpenDevice() ? Driver::OpenAL : Driver::Null;
}

ALuint UploadBuffer(TSound& sound) {
    if (sound.buffer && sound.generation == s_generation) return sound.buffer;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return 0;
    const SoundPcm& pcm = sound.pcm;
    alBufferData(buffer, AlFormat(pcm), pcm.bytes.data(), (ALsizei)pcm.bytes.size(), pcm.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    sound.buffer = buffer;
    sound.generation = s_generation;
    return buffer;
}

ALuint NewSource() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() == AL_NO_ERROR) return source;
        for (AudioChannel* c : std::vector<AudioChannel*>(Channels())) c->ReclaimIfDone();
    }
    return 0;
}

bool SameName(const std::string& a, const char* b) {
    size_t n = std::char_traits<char>::length(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return true;
}

}  // namespace

TSound::TSound(SoundPcm data, int sound_flags) : pcm(std::move(data)), flags(sound_flags) {
    length_ms = pcm.rate > 0 ? (int)std::min<int64_t>(pcm.Frames() * 1000 / pcm.rate, INT32_MAX) : 0;
    Sounds().push_back(this);
}

TSound::~TSound() {
    if (buffer && generation == s_generation && DeviceOpen()) alDeleteBuffers(1, &buffer);
    Unlist(Sounds(), this);
}

std::vector<std::string> AudioDrivers() { return {kOpenAL, kNull}; }

bool SetAudioDriver(const std::string& name) {
    bool want_openal = SameName(name, kOpenAL);
    if (want_openal && DeviceOpen()) return true;
    if (SameName(name, kNull) && s_driver == Driver::Null) return true;
    CloseDevice();
    if (want_openal && OpenDevice()) {
        s_driver = Driver::OpenAL;
        return true;
    }
    s_driver = Driver::Null;
    return SameName(name, kNull);
}

std::string CurrentAudioDriver() {
    switch (s_driver) {
        case Driver::OpenAL: return kOpenAL;
        case Driver::Null: return kNull;
        default: return "";
    }
}

void CloseAudio() {
    CloseDevice();
    s_driver = Driver::None;
}

SoundPtr LoadSound(const std::string& path, int flags, int max_seconds) {
    StreamPtr stream = ReadFile(path);
    if (!stream) return nullptr;
    return LoadSound(*stream, flags, max_seconds);
}

SoundPtr LoadSound(Stream& stream, int flags, int max_seconds) {
    uint8_t head[4];
    if (stream.Read(head, 4) != 4) return nullptr;
    SoundPcm pcm;
    try {
        if (std::memcmp(head, "RIFF", 4) == 0) {
            std::vector<uint8_t> bytes(head, head + 4);
            uint8_t chunk[65536];
            for (;;) {
                size_t n = stream.Read(chunk, sizeof chunk);
                if (n == 0) break;
                if (bytes.size() + n > kMaxSoundBytes + 65536) return nullptr;
                bytes.insert(bytes.end(), chunk, chunk + n);
            }
            if (!DecodeWav(bytes.data(), bytes.size(), pcm, max_seconds)) return nullptr;
        } else if (std::memcmp(head, "OggS", 4) == 0) {
            if (!DecodeOgg(stream, head, 4, pcm, max_seconds)) return nullptr;
        } else {
            return nullptr;
        }
        return std::make_shared<TSound>(std::move(pcm), flags);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int SoundLength(const SoundPtr& sound) { return sound ? sound->length_ms : 0; }
int64_t SoundFrames(const SoundPtr& sound) { return sound ? sound->pcm.Frames() : 0; }
int SoundChannels(const SoundPtr& sound) { return sound ? sound->pcm.channels : 0; }
int SoundRate(const SoundPtr& sound) { return sound ? sound->pcm.rate : 0; }

int SoundSample(const SoundPtr& sound, int64_t frame, int channel) {
    if (!sound || frame < 0 || frame >= sound->pcm.Frames() || channel < 0 || channel >= sound->pcm.channels) return 0;
    const SoundPcm& pcm = sound->pcm;
    size_t index = (size_t)frame * (size_t)pcm.channels + (size_t)channel;
    if (pcm.bits == 8) return (pcm.bytes[index] - 128) * 256;
    int16_t v;
    std::memcpy(&v, pcm.bytes.data() + index * 2, 2);
    return v;
}

ChannelPtr Cue(const SoundPtr& sound) {
    if (!sound) return nullptr;
    EnsureDriver();
    auto channel = std::make_shared<AudioChannel>(sound);
    if (DeviceOpen()) {
        ALuint buffer = UploadBuffer(*sound);
        ALuint source = buffer ? NewSource() : 0;
        if (source) channel->Attach(source, buffer);
    }
    return channel;
}

ChannelPtr PlaySound(const SoundPtr& sound) {
    ChannelPtr channel = Cue(sound);
    if (channel) channel->SetPaused(false);
    return channel;
}
