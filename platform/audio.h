// Audio: drivers, sounds loaded from WAV or Ogg Vorbis, and channels with
// volume, pan, rate and pause, over OpenAL. With the "Null" driver, or when no
// device opens, sounds still load and channels keep their settings and run for
// the sound's length, but nothing is heard.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

// Driver names; the list always holds the literal "Null" (no sound).
std::vector<std::string> AudioDrivers();
// Selects a driver by name; false (and the Null driver) when it cannot open.
bool SetAudioDriver(const std::string& name);
std::string CurrentAudioDriver();

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

// Null when the file is missing or not a valid WAV (PCM 8/16-bit) or Ogg.
SoundPtr LoadSound(const std::string& path, int flags = 0);
SoundPtr LoadSound(Stream& stream, int flags = 0);
// Length in milliseconds.
int SoundLength(const SoundPtr& sound);

// A new channel holding the sound, paused; null for a null sound.
ChannelPtr Cue(const SoundPtr& sound);
// Cue and unpause.
ChannelPtr PlaySound(const SoundPtr& sound);
