// Synthesis toolkit of the asset generator: oscillators, noise, filters,
// envelopes, a small reverb and a note sequencer for the title tunes.
// Buffers are mono float samples in -1..1 at a given rate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/makeassets/canvas.h"

namespace ma {

using Buf = std::vector<float>;

struct Biquad {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, z1 = 0, z2 = 0;
    void lowpass(float f, float q, float rate);
    void highpass(float f, float q, float rate);
    void bandpass(float f, float q, float rate);   // peak gain 1
    float run(float x) {
        float y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

Buf silence(float secs, float rate);
void mix_into(Buf& dst, const Buf& src, float gain = 1.0f, float at_secs = 0, float rate = 22050);
void normalize(Buf& b, float peak = 0.9f);
void fade(Buf& b, float in_secs, float out_secs, float rate);
void reverb(Buf& b, float rate, float wet, float room = 0.8f);
void soft_clip(Buf& b, float drive);

float midi_hz(float note);

// Filtered noise whose filter sweeps: a band or low pass from f0 to f1 Hz
// (exponential glide), with an envelope of attack a and decay time d.
Buf noise_sweep(float secs, float rate, uint64_t seed, float f0, float f1, float q, bool lowpass, float attack,
                float decay);
// Sine (or other wave) gliding from f0 to f1 Hz with an exponential decay.
enum class Wave { Sine, Square, Saw, Triangle };
Buf tone(float secs, float rate, Wave w, float f0, float f1, float attack, float decay, float vibrato_hz = 0,
         float vibrato_depth = 0);
// Sum of inharmonic partials, as struck metal (ratios times f, each decaying).
Buf bell(float secs, float rate, float f, const std::vector<float>& ratios, float decay, uint64_t seed);
// Vowel-like voice: a buzzing source through formant filters following a
// sequence of syllables; pitch in Hz, each syllable (vowel index 0..4:
// a, e, i, o, u) lasting `syl` seconds, pitches given per syllable.
Buf voice(const std::vector<int>& vowels, const std::vector<float>& pitches, float syl, float rate, uint64_t seed);

// A short tune: chords, bass, melody and drums laid out on a beat grid.
struct Tune {
    float bpm = 120;
    int root = 60;                          // MIDI note of the key
    bool minor = false;
    std::vector<int> progression;           // scale degrees (0-based) one per bar
    int bars = 8;
    Wave lead = Wave::Square;
    Wave pad = Wave::Triangle;
    uint64_t seed = 1;
    float swing = 0;
};
Buf render_tune(const Tune& t, float rate);

}  // namespace ma
