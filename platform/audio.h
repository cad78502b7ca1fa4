// Audio: drivers, sounds loaded from WAV or Ogg Vorbis, and channels with
// volume, pan, rate and pause, over OpenAL. With the "Null" driver, or when no
// device opens, sounds still load and channels keep their settings and run for
// the sound's length, but nothing is heard.
//
// A channel counts as playing from Cue until it is stopped or its sound has
// run out, paused time included: a paused channel still holds its sound. On
// the Null driver the sound runs on the MilliSecs clock at the channel's rate
// while unpaused. Headless, no device is ever opened.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

// Driver names; the list always holds the literal "Null" (no sound).
std::vector<std::string> AudioDrivers();
// Selects a driver by name; false (and the Null driver) when it cannot open.
// Changing the driver stops every channel; sounds stay loaded. Without a call
// the first Cue opens the default device, or the Null driver when none opens.
bool SetAudioDriver(const std::string& name);
// "" until a driver is selected.
std::string CurrentAudioDriver();
// Stops every channel and closes the device; the next Cue opens it again.
void CloseAudio();

enum { SOUND_LOOP = 1 };

class TSound;
using SoundPtr = std::shared_ptr<TSound>;

class TChannel {
public:
    virtual ~TChannel() = default;
    virtual void SetVolume(float volume) = 0;
    virtual void SetPan(float pan) = 0;        // -1 left .. 1 right
    virtual void SetRate(float rate) = 0;      // playback speed, 1 normal
    virtual void SetPaused(bool paused) = 0;
    virtual bool Playing() = 0;
    virtual void Stop() = 0;
    virtual float Volume() const = 0;
    virtual float Pan() const = 0;
    virtual float Rate() const = 0;
    virtual bool Paused() const = 0;
};
using ChannelPtr = std::shared_ptr<TChannel>;

// Null when the file is missing or not a valid WAV (PCM 8/16-bit, mono or
// stereo) or Ogg Vorbis (mono or stereo), decodes to more than 256 MB, or
// (max_seconds above 0) lasts longer than max_seconds. A stream is read from
// where it stands, so a sound can sit anywhere inside a bank.
SoundPtr LoadSound(const std::string& path, int flags = 0, int max_seconds = 0);
SoundPtr LoadSound(Stream& stream, int flags = 0, int max_seconds = 0);
// Length in milliseconds.
int SoundLength(const SoundPtr& sound);
// The decoded form: frames, channels (1 or 2), frames per second, and one
// sample scaled to 16 bits (8-bit samples are shifted up); 0 when out of range.
int64_t SoundFrames(const SoundPtr& sound);
int SoundChannels(const SoundPtr& sound);
int SoundRate(const SoundPtr& sound);
int SoundSample(const SoundPtr& sound, int64_t frame, int channel);

// Sound files for tools and tests, from interleaved 16-bit samples: a 16-bit
// PCM WAV, or Ogg Vorbis at a quality of -0.1 .. 1. Null for bad arguments
// (channels other than 1 or 2, a rate out of range, a partial frame).
BankPtr EncodeSoundWav(const std::vector<int16_t>& samples, int channels, int rate);
BankPtr EncodeSoundOgg(const std::vector<int16_t>& samples, int channels, int rate, float quality = 0.4f);

// A new channel holding the sound, paused; null for a null sound.
ChannelPtr Cue(const SoundPtr& sound);
// Cue and unpause.
ChannelPtr PlaySound(const SoundPtr& sound);
