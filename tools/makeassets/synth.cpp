// Synthesis toolkit: filters, oscillators, envelopes, reverb, voices, tunes.
#include "tools/makeassets/synth.h"

#include <algorithm>
#include <cmath>

namespace ma {

namespace {
constexpr double kTau = 6.283185307179586;
}

void Biquad::lowpass(float f, float q, float rate) {
    double w = kTau * std::min(f, rate * 0.45f) / rate, al = std::sin(w) / (2 * q), cw = std::cos(w), a0 = 1 + al;
    b0 = (float)((1 - cw) / 2 / a0);
    b1 = (float)((1 - cw) / a0);
    b2 = b0;
    a1 = (float)(-2 * cw / a0);
    a2 = (float)((1 - al) / a0);
}

void Biquad::highpass(float f, float q, float rate) {
    double w = kTau * std::min(f, rate * 0.45f) / rate, al = std::sin(w) / (2 * q), cw = std::cos(w), a0 = 1 + al;
    b0 = (float)((1 + cw) / 2 / a0);
    b1 = (float)(-(1 + cw) / a0);
    b2 = b0;
    a1 = (float)(-2 * cw / a0);
    a2 = (float)((1 - al) / a0);
}

void Biquad::bandpass(float f, float q, float rate) {
    double w = kTau * std::min(f, rate * 0.45f) / rate, al = std::sin(w) / (2 * q), cw = std::cos(w), a0 = 1 + al;
    b0 = (float)(al / a0);
    b1 = 0;
    b2 = (float)(-al / a0);
    a1 = (float)(-2 * cw / a0);
    a2 = (float)((1 - al) / a0);
}

Buf silence(float secs, float rate) { return Buf((size_t)std::max(1.0f, secs * rate), 0.0f); }

void mix_into(Buf& dst, const Buf& src, float gain, float at, float rate) {
    size_t off = (size_t)std::max(0.0f, at * rate);
    if (dst.size() < off + src.size()) dst.resize(off + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); i++) dst[off + i] += src[i] * gain;
}

void normalize(Buf& b, float peak) {
    float m = 0;
    for (float v : b) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (float& v : b) v *= peak / m;
}

void fade(Buf& b, float in, float out, float rate) {
    size_t ni = (size_t)(in * rate), no = (size_t)(out * rate);
    for (size_t i = 0; i < ni && i < b.size(); i++) b[i] *= (float)i / ni;
    for (size_t i = 0; i < no && i < b.size(); i++) b[b.size() - 1 - i] *= (float)i / no;
}

void soft_clip(Buf& b, float drive) {
    for (float& v : b) v = std::tanh(v * drive) / std::tanh(drive);
}

void reverb(Buf& b, float rate, float wet, float room) {
    // Schroeder: four parallel combs into two allpasses.
    const float comb_ms[4] = {29.7f, 37.1f, 41.1f, 43.7f}, ap_ms[2] = {5.0f, 1.7f};
    size_t tail = (size_t)(rate * 0.8f * room);
    Buf in = b;
    in.resize(b.size() + tail, 0.0f);
    Buf out(in.size(), 0.0f);
    for (float ms : comb_ms) {
        size_t d = (size_t)(ms * room * rate / 1000);
        Buf line(d, 0.0f);
        float lp = 0;
        for (size_t i = 0, p = 0; i < in.size(); i++, p = (p + 1) % d) {
            float y = line[p];
            lp = y * 0.6f + lp * 0.4f;
            line[p] = in[i] + lp * 0.78f;
            out[i] += y * 0.25f;
        }
    }
    for (float ms : ap_ms) {
        size_t d = (size_t)(ms * rate / 1000);
        Buf line(d, 0.0f);
        for (size_t i = 0, p = 0; i < out.size(); i++, p = (p + 1) % d) {
            float x = out[i], y = line[p] - 0.5f * x;
            line[p] = x + 0.5f * y;
            out[i] = y;
        }
    }
    b.resize(out.size(), 0.0f);
    for (size_t i = 0; i < b.size(); i++) b[i] = b[i] * (1 - wet * 0.5f) + out[i] * wet;
}

float midi_hz(float note) { return 440.0f * std::pow(2.0f, (note - 69) / 12.0f); }

static float envelope(float t, float attack, float decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

Buf noise_sweep(float secs, float rate, uint64_t seed, float f0, float f1, float q, bool lowpass, float attack,
                float decay) {
    Buf b = silence(secs, rate);
    Rng rng(seed);
    Biquad f;
    for (size_t i = 0; i < b.size(); i++) {
        float t = i / rate;
        if (i % 32 == 0) {
            float fc = f0 * std::pow(f1 / f0, std::min(1.0f, t / secs));
            lowpass ? f.lowpass(fc, q, rate) : f.bandpass(fc, q, rate);
        }
        b[i] = f.run(rng.range(-1, 1)) * envelope(t, attack, decay);
    }
    fade(b, 0, 0.005f, rate);
    return b;
}

// One sample of a band-limited wave at phase p (cycles) and frequency f.
static float osc(Wave w, double p, float f, float rate) {
    double ph = p * kTau;
    switch (w) {
    case Wave::Sine: return (float)std::sin(ph);
    case Wave::Triangle: {
        double s = 0;
        for (int k = 1, sign = 1; k <= 9 && k * f < rate / 2.2f; k += 2, sign = -sign) s += sign * std::sin(k * ph) / (k * k);
        return (float)(s * 8 / (kTau * kTau / 4) * 0.95);
    }
    case Wave::Square: {
        double s = 0;
        for (int k = 1; k <= 15 && k * f < rate / 2.2f; k += 2) s += std::sin(k * ph) / k;
        return (float)(s * 4 / kTau * 2 * 0.8);
    }
    case Wave::Saw: {
        double s = 0;
        for (int k = 1; k <= 16 && k * f < rate / 2.2f; k++) s += std::sin(k * ph) / k;
        return (float)(s * 0.55);
    }
    }
    return 0;
}

Buf tone(float secs, float rate, Wave w, float f0, float f1, float attack, float decay, float vib_hz, float vib_depth) {
    Buf b = silence(secs, rate);
    double phase = 0;
    for (size_t i = 0; i < b.size(); i++) {
        float t = i / rate;
        float f = f0 * std::pow(f1 / f0, t / secs);
        if (vib_hz > 0) f *= 1 + vib_depth * std::sin((float)kTau * vib_hz * t);
        phase += f / rate;
        b[i] = osc(w, phase, f, rate) * envelope(t, attack, decay);
    }
    fade(b, 0, 0.005f, rate);
    return b;
}

Buf bell(float secs, float rate, float f, const std::vector<float>& ratios, float decay, uint64_t seed) {
    Buf b = silence(secs, rate);
    Rng rng(seed);
    for (size_t k = 0; k < ratios.size(); k++) {
        float fr = f * ratios[k], amp = 1.0f / (1 + k * 0.6f), d = decay / (1 + k * 0.35f), ph = rng.range(0, 1);
        if (fr > rate / 2.2f) continue;
        for (size_t i = 0; i < b.size(); i++) {
            float t = i / rate;
            b[i] += amp * (float)std::sin(kTau * (fr * t + ph)) * envelope(t, 0.002f, d);
        }
    }
    // Struck metal rings on: let it die away instead of stopping dead.
    fade(b, 0, secs * 0.25f, rate);
    return b;
}

Buf voice(const std::vector<int>& vowels, const std::vector<float>& pitches, float syl, float rate, uint64_t seed) {
    static const float formants[5][3] = {{800, 1200, 2500}, {420, 2000, 2600}, {300, 2300, 3000}, {500, 880, 2400}, {340, 800, 2300}};
    static const float gains[3] = {1.0f, 0.6f, 0.25f};
    size_t n = vowels.size();
    Buf b = silence(syl * n + 0.15f, rate);
    Rng rng(seed);
    Biquad fl[3], hp;
    hp.highpass(2500, 0.7f, rate);
    double phase = 0;
    for (size_t i = 0; i < b.size(); i++) {
        float t = i / rate;
        size_t s = std::min(n - 1, (size_t)(t / syl));
        float ts = t - s * syl;
        size_t s2 = std::min(n - 1, s + 1);
        float blend = smoothstep(syl * 0.6f, syl, ts);
        float pitch = lerp(pitches[s], pitches[s2], blend) * (1 + 0.02f * std::sin((float)kTau * 5.5f * t));
        if (i % 16 == 0)
            for (int k = 0; k < 3; k++) {
                float f = lerp(formants[vowels[s]][k], formants[vowels[s2]][k], blend);
                fl[k].bandpass(f, 6 + k * 2, rate);
            }
        phase += pitch / rate;
        float src = osc(Wave::Saw, phase, pitch, rate) + rng.range(-0.08f, 0.08f);
        float v = 0;
        for (int k = 0; k < 3; k++) v += fl[k].run(src) * gains[k];
        // Syllable envelope with a short consonant hiss at its start.
        float env = smoothstep(0, 0.02f, ts) * (1 - smoothstep(syl * 0.78f, syl * 0.98f, ts));
        if (t > syl * n) env = 0;
        float hiss = ts < 0.035f && t < syl * n ? hp.run(rng.range(-1, 1)) * 0.5f * (1 - ts / 0.035f) : hp.run(0);
        b[i] = v * env * 3 + hiss;
    }
    return b;
}

// ------------------------------------------------------------------ tunes

namespace {

void note(Buf& b, float rate, float start, float dur, float midi, Wave w, float gain, float attack, float release) {
    float f = midi_hz(midi);
    size_t i0 = (size_t)(start * rate), len = (size_t)((dur + release) * rate);
    if (b.size() < i0 + len) b.resize(i0 + len, 0.0f);
    double phase = 0;
    for (size_t i = 0; i < len; i++) {
        float t = i / rate;
        float env = std::min(1.0f, t / attack);
        if (t > dur) env *= std::exp(-(t - dur) / (release * 0.3f));
        env *= 0.75f + 0.25f * std::exp(-t * 4);
        phase += f * (1 + 0.003f * std::sin((float)kTau * 5 * t)) / rate;
        b[i0 + i] += osc(w, phase, f, rate) * env * gain;
    }
}

void kick(Buf& b, float rate, float at) { mix_into(b, tone(0.25f, rate, Wave::Sine, 110, 42, 0.002f, 0.09f), 0.9f, at, rate); }
void snare(Buf& b, float rate, float at, uint64_t seed) {
    mix_into(b, noise_sweep(0.2f, rate, seed, 2200, 1600, 0.8f, false, 0.001f, 0.06f), 0.9f, at, rate);
    mix_into(b, tone(0.12f, rate, Wave::Sine, 200, 160, 0.001f, 0.04f), 0.35f, at, rate);
}
void hat(Buf& b, float rate, float at, uint64_t seed, float gain) {
    mix_into(b, noise_sweep(0.06f, rate, seed, 8000, 8000, 1.2f, false, 0.001f, 0.015f), gain, at, rate);
}

}  // namespace

Buf render_tune(const Tune& t, float rate) {
    static const int major[7] = {0, 2, 4, 5, 7, 9, 11}, minor[7] = {0, 2, 3, 5, 7, 8, 10};
    const int* sc = t.minor ? minor : major;
    auto scale_note = [&](int degree) {
        int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
        int d = degree - oct * 7;
        return t.root + oct * 12 + sc[d];
    };
    float beat = 60.0f / t.bpm, bar = beat * 4;
    float total = bar * t.bars;
    Buf music = silence(total + 1.0f, rate), drums = silence(total + 1.0f, rate);
    Rng rng(t.seed);

    // Melody: a two-bar motif, repeated with variations, resolving home.
    std::vector<int> motif(16);
    int deg = 7 + 2;
    for (int i = 0; i < 16; i++) {
        deg += rng.irange(-2, 2);
        deg = std::clamp(deg, 5, 13);
        motif[i] = rng.uniform() < 0.18f && i % 4 != 0 ? -100 : deg;
    }
    std::vector<int> answer = motif;
    for (int i = 8; i < 16; i++)
        if (answer[i] > -100) answer[i] = std::clamp(answer[i] + rng.irange(-3, 1), 4, 13);

    for (int b = 0; b < t.bars; b++) {
        int chord = t.progression[b % t.progression.size()];
        float bt = b * bar;
        // Pad: the bar's triad.
        for (int k = 0; k < 3; k++) note(music, rate, bt, bar * 0.95f, scale_note(chord + 2 * k), t.pad, 0.06f, 0.08f, 0.3f);
        // Bass: root and fifth in eighths.
        for (int e = 0; e < 8; e++) {
            int d = (e % 4 == 2) ? chord + 4 : chord;
            note(music, rate, bt + e * beat / 2, beat * 0.4f, scale_note(d) - 24, Wave::Saw, 0.16f, 0.005f, 0.05f);
        }
        // Lead.
        const std::vector<int>& m = (b / 2) % 2 == 1 ? answer : motif;
        for (int e = 0; e < 8; e++) {
            int d = m[(b % 2) * 8 + e];
            if (d <= -100) continue;
            if (e % 2 == 0) {
                // Strong beats snap to the nearest chord tone.
                int best = d, bd = 99;
                for (int c = chord; c < chord + 21; c += 2)
                    if (std::abs(c - d) < bd && ((c - chord) % 7 == 0 || (c - chord) % 7 == 2 || (c - chord) % 7 == 4)) bd = std::abs(c - d), best = c;
                d = best;
            }
            if (b == t.bars - 1 && e >= 6) d = e == 6 ? 7 + 4 : 7;
            float sw = (e % 2 == 1) ? t.swing * beat / 2 : 0;
            float len = (b == t.bars - 1 && e == 7) ? beat * 0.9f : beat * 0.42f;
            note(music, rate, bt + e * beat / 2 + sw, len, scale_note(d) + 12, t.lead, 0.13f, 0.008f, 0.12f);
        }
        // Drums.
        for (int q = 0; q < 4; q++) {
            float at = bt + q * beat;
            if (q % 2 == 0) kick(drums, rate, at);
            else snare(drums, rate, at, t.seed * 131 + b * 8 + q);
            hat(drums, rate, at + beat / 2, t.seed * 977 + b * 8 + q, 0.35f);
            hat(drums, rate, at, t.seed * 557 + b * 8 + q, 0.2f);
        }
    }
    reverb(music, rate, 0.25f, 0.7f);
    mix_into(music, drums, 0.7f, 0, rate);
    music.resize((size_t)(total * rate));
    normalize(music, 0.85f);
    fade(music, 0.005f, 0.05f, rate);
    return music;
}

}  // namespace ma
