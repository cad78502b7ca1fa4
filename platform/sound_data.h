// Sound data shared by the audio module's files: decoded PCM and the decoders.
//
// A sound keeps its PCM for its whole life: buffers are uploaded to the audio
// device on first use and again after the driver changes, and the Null driver
// needs only the length. 8-bit samples are unsigned (128 is silence), 16-bit
// samples signed in host byte order; frames are interleaved, left first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "platform/stream.h"

struct SoundPcm {
    int channels = 0;   // 1 or 2
    int bits = 0;       // 8 or 16
    int rate = 0;       // frames per second
    std::vector<uint8_t> bytes;

    int64_t Frames() const {
        int frame = channels * bits / 8;
        return frame > 0 ? (int64_t)(bytes.size() / (size_t)frame) : 0;
    }
};

// The largest PCM a sound may decode to: a hostile file claiming hours of
// audio is refused instead of eating the memory.
inline constexpr size_t kMaxSoundBytes = size_t(256) << 20;

// A RIFF WAVE file held whole in memory; false for anything damaged or not
// PCM 8/16-bit mono/stereo, or longer than max_seconds (0: no limit).
bool DecodeWav(const uint8_t* data, size_t size, SoundPcm& out, int max_seconds = 0);
// An Ogg Vorbis stream read from the stream's current position; `head` holds
// bytes already read from there (they are not read again). False when damaged,
// not mono/stereo, or longer than max_seconds (0: no limit), which stops the
// decoding as soon as it is passed.
bool DecodeOgg(Stream& stream, const uint8_t* head, size_t head_size, SoundPcm& out, int max_seconds = 0);

class TSound {
public:
    TSound(SoundPcm pcm, int flags);
    ~TSound();
    TSound(const TSound&) = delete;
    TSound& operator=(const TSound&) = delete;

    SoundPcm pcm;
    int flags = 0;
    int length_ms = 0;
    // Device buffer (OpenAL name) and the device generation it belongs to.
    unsigned buffer = 0;
    unsigned generation = 0;
};
