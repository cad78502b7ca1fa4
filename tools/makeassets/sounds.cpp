// Sound recipes: every sound file the game loads, synthesised.
//
// Effects are mono at 22050 Hz; the title tunes are short loops. Each recipe
// seeds its own noise, so the files are the same on every run.
#include <algorithm>
#include <cmath>

#include "tools/makeassets/assets.h"
#include "tools/makeassets/synth.h"

namespace ma {
namespace {

constexpr float R = 22050;

Buf finish(Buf b, float peak = 0.9f) {
    normalize(b, peak);
    fade(b, 0.002f, 0.01f, R);
    return b;
}

Buf explosion(int i) {
    float len = 1.0f + 0.25f * (i % 4);
    Buf b = noise_sweep(len, R, 100 + i, 3500 - i * 250, 120, 0.7f, true, 0.004f, 0.22f + 0.05f * i);
    mix_into(b, noise_sweep(len, R, 200 + i, 900, 60, 0.7f, true, 0.01f, 0.45f + 0.06f * i), 1.2f);
    mix_into(b, tone(0.8f, R, Wave::Sine, 90 - i * 5, 32, 0.003f, 0.25f), 0.9f);
    // Crackle: scattered short bursts while it dies away.
    Rng rng(300 + i);
    for (int k = 0; k < 14; k++) {
        float at = rng.range(0.05f, len * 0.7f);
        mix_into(b, noise_sweep(0.05f, R, 400 + i * 20 + k, 2500, 1500, 1.0f, false, 0.001f, 0.01f), 0.25f * (1 - at / len), at, R);
    }
    soft_clip(b, 1.6f);
    return finish(b);
}

Buf explosion_bass(int i) {
    Buf b = tone(1.6f, R, Wave::Sine, 62 - i * 10, 30, 0.005f, 0.5f);
    mix_into(b, noise_sweep(1.6f, R, 500 + i, 300, 40, 0.7f, true, 0.01f, 0.5f), 0.8f);
    soft_clip(b, 2.0f);
    return finish(b);
}

Buf crackle(float secs, uint64_t seed, int pops, float roar) {
    Buf b = noise_sweep(secs, R, seed, 700, 500, 0.6f, true, 0.15f, secs * 0.6f);
    for (float& v : b) v *= roar;
    Rng rng(seed + 1);
    for (int k = 0; k < pops; k++) {
        float at = rng.range(0, secs * 0.9f);
        mix_into(b, noise_sweep(0.03f, R, seed * 31 + k, rng.range(1500, 5000), 2000, 1.5f, false, 0.0005f, 0.006f),
                 rng.range(0.3f, 1.0f), at, R);
    }
    return finish(b, 0.8f);
}

Buf splash(uint64_t seed, float size) {
    Buf b = noise_sweep(0.5f * size + 0.2f, R, seed, 3000, 700, 1.0f, false, 0.005f, 0.12f * size);
    mix_into(b, noise_sweep(0.4f * size + 0.2f, R, seed + 1, 1200, 400, 0.7f, true, 0.002f, 0.08f * size), 0.8f);
    Rng rng(seed + 2);
    for (int k = 0; k < 6; k++) {
        float f = rng.range(400, 900);
        mix_into(b, tone(0.08f, R, Wave::Sine, f, f * 2.2f, 0.003f, 0.025f), 0.3f, rng.range(0.02f, 0.3f * size), R);
    }
    return finish(b);
}

Buf squish(uint64_t seed, float secs) {
    Buf b = silence(secs, R);
    Rng rng(seed);
    Biquad f;
    float lp = 0;
    for (size_t i = 0; i < b.size(); i++) {
        float t = i / R;
        if (i % 16 == 0) f.bandpass(300 + 900 * std::fabs(std::sin(t * 40 + seed)) * std::exp(-t * 6), 3.0f, R);
        lp = lp * 0.7f + rng.range(-1, 1) * 0.3f;
        b[i] = f.run(lp) * std::exp(-t / (secs * 0.35f)) * std::min(1.0f, t / 0.004f);
    }
    mix_into(b, tone(0.12f, R, Wave::Sine, 180, 90, 0.002f, 0.04f), 0.2f);
    return finish(b);
}

Buf thud(uint64_t seed, float f, float secs, float dirt) {
    Buf b = tone(secs, R, Wave::Sine, f * 1.6f, f, 0.002f, secs * 0.25f);
    mix_into(b, noise_sweep(secs, R, seed, 1400, 300, 0.7f, true, 0.002f, secs * 0.2f), dirt);
    return finish(b, 0.8f);
}

Buf beeps(const std::vector<float>& notes, float len, float gap, Wave w, float decay) {
    Buf b = silence(notes.size() * (len + gap) + 0.3f, R);
    for (size_t k = 0; k < notes.size(); k++) {
        float f = midi_hz(notes[k]);
        mix_into(b, tone(len + 0.25f, R, w, f, f, 0.004f, decay), 1.0f, k * (len + gap), R);
    }
    return finish(b, 0.7f);
}

Buf chime(const std::vector<float>& notes, float step, float decay) {
    Buf b = silence(notes.size() * step + decay * 4, R);
    for (size_t k = 0; k < notes.size(); k++)
        mix_into(b, bell(decay * 4, R, midi_hz(notes[k]), {1, 2.0f, 3.0f, 4.2f}, decay, 600 + k), 1.0f, k * step, R);
    reverb(b, R, 0.2f, 0.6f);
    return finish(b, 0.75f);
}

Buf voice_line(const std::vector<int>& vowels, const std::vector<float>& pitches, float syl, uint64_t seed) {
    Buf b = voice(vowels, pitches, syl, R, seed);
    reverb(b, R, 0.12f, 0.5f);
    return finish(b, 0.85f);
}

Buf laser() {
    Buf b = silence(2.2f, R);
    Biquad f;
    double phase = 0;
    for (size_t i = 0; i < b.size(); i++) {
        float t = i / R;
        float fr = 1800 * std::pow(0.06f, t / 2.2f) * (1 + 0.05f * std::sin(t * 90));
        phase += fr / R;
        float saw = (float)(phase - std::floor(phase)) * 2 - 1;
        if (i % 32 == 0) f.lowpass(fr * 3 + 200, 4.0f, R);
        b[i] = f.run(saw) * std::min(1.0f, t / 0.02f) * std::exp(-t / 1.2f);
    }
    mix_into(b, noise_sweep(2.2f, R, 900, 6000, 300, 0.8f, true, 0.01f, 0.6f), 0.5f);
    soft_clip(b, 1.8f);
    return finish(b);
}

Buf flood() {
    Buf b = noise_sweep(2.8f, R, 910, 400, 1400, 0.6f, true, 0.9f, 1.2f);
    mix_into(b, noise_sweep(2.8f, R, 911, 2500, 1800, 1.0f, false, 1.0f, 1.0f), 0.5f);
    Rng rng(912);
    for (int k = 0; k < 30; k++) {
        float f = rng.range(300, 1000);
        mix_into(b, tone(0.07f, R, Wave::Sine, f, f * 2, 0.003f, 0.02f), 0.25f, rng.range(0.2f, 2.4f), R);
    }
    fade(b, 0.3f, 0.6f, R);
    return finish(b);
}

Buf sad_trombone() {
    Buf b = silence(2.4f, R);
    const float notes[4] = {58, 57, 56, 55};
    for (int k = 0; k < 4; k++) {
        float len = k == 3 ? 1.0f : 0.42f;
        Buf n = tone(len + 0.2f, R, Wave::Saw, midi_hz(notes[k]), midi_hz(notes[k]) * (k == 3 ? 0.97f : 1), 0.03f, 0.8f,
                     k == 3 ? 6 : 0, 0.02f);
        Biquad f;
        f.lowpass(900, 0.9f, R);
        for (float& v : n) v = f.run(v);
        fade(n, 0.01f, 0.12f, R);
        mix_into(b, n, 1.0f, k * 0.45f, R);
    }
    reverb(b, R, 0.2f, 0.6f);
    return finish(b, 0.8f);
}

Buf title_tune(int i) {
    Tune t;
    switch (i) {
    case 1: t.bpm = 126; t.root = 60; t.progression = {0, 5, 3, 4}; t.lead = Wave::Square; t.seed = 11; break;
    case 2: t.bpm = 112; t.root = 57; t.minor = true; t.progression = {0, 5, 2, 6}; t.lead = Wave::Saw; t.seed = 22; t.swing = 0.2f; break;
    case 3: t.bpm = 138; t.root = 62; t.progression = {0, 3, 4, 3}; t.lead = Wave::Triangle; t.seed = 33; break;
    default: t.bpm = 100; t.root = 55; t.minor = true; t.progression = {0, 3, 6, 4}; t.lead = Wave::Square; t.seed = 44; t.swing = 0.15f; break;
    }
    return render_tune(t, R);
}

}  // namespace

void add_sounds(Registry& reg) {
    auto wav = [&](const std::string& name, std::function<Buf()> f) { reg.sound("sfx/" + name + ".wav", (int)R, std::move(f)); };
    auto ogg = [&](const std::string& name, std::function<Buf()> f, float q = 0.1f) {
        reg.sound("sfx/" + name + ".ogg", (int)R, std::move(f), 1, q);
    };
    for (int i = 0; i < 7; i++) wav("explosion" + std::to_string(i), [i] { return explosion(i); });
    for (int i = 0; i < 2; i++) wav("explosionbass" + std::to_string(i), [i] { return explosion_bass(i); });
    wav("firefragment", [] { return crackle(0.35f, 1000, 6, 0.4f); });
    ogg("ric1", [] {
        Buf b = tone(0.45f, R, Wave::Sine, 2600, 900, 0.002f, 0.15f, 30, 0.03f);
        mix_into(b, noise_sweep(0.05f, R, 1100, 4000, 3000, 1.0f, false, 0.0005f, 0.01f), 0.6f);
        return finish(b);
    });
    for (int i = 1; i <= 4; i++) ogg("title" + std::to_string(i), [i] { return title_tune(i); }, 0.2f);
    wav("click0", [] {
        Buf b = noise_sweep(0.03f, R, 1200, 3000, 2000, 1.5f, false, 0.0005f, 0.006f);
        mix_into(b, tone(0.03f, R, Wave::Sine, 1500, 1200, 0.0005f, 0.006f), 0.5f);
        return finish(b, 0.6f);
    });
    wav("click1", [] {
        Buf b = noise_sweep(0.03f, R, 1201, 2400, 1800, 1.5f, false, 0.0005f, 0.007f);
        mix_into(b, tone(0.03f, R, Wave::Sine, 1250, 1000, 0.0005f, 0.007f), 0.5f);
        return finish(b, 0.6f);
    });
    wav("wpnsel_fail", [] { return beeps({50, 46}, 0.09f, 0.03f, Wave::Square, 0.06f); });
    wav("wpnsel_ok", [] { return beeps({76, 83}, 0.06f, 0.02f, Wave::Triangle, 0.08f); });
    wav("timeout_tick", [] {
        Buf b = bell(0.15f, R, 1300, {1, 2.7f}, 0.025f, 1300);
        return finish(b, 0.6f);
    });
    wav("timeout_over", [] { return beeps({81, 81, 81}, 0.12f, 0.06f, Wave::Square, 0.1f); });
    ogg("tick", [] { return finish(bell(0.12f, R, 1800, {1, 2.4f}, 0.015f, 1400), 0.5f); });
    wav("turn_next", [] { return chime({72, 79}, 0.14f, 0.25f); });
    wav("turn_you", [] { return chime({72, 76, 79, 84}, 0.08f, 0.25f); });
    ogg("roundgong", [] {
        Buf b = bell(3.5f, R, 110, {1, 1.47f, 2.09f, 2.56f, 3.14f, 4.1f}, 1.1f, 1500);
        Buf b2 = bell(3.5f, R, 111.5f, {1, 2.09f}, 1.3f, 1501);
        mix_into(b, b2, 0.6f);
        reverb(b, R, 0.3f, 0.9f);
        return finish(b, 0.85f);
    });
    ogg("stats_done", [] { return chime({67, 72, 76, 79, 84}, 0.07f, 0.3f); });
    for (int i = 0; i < 3; i++) ogg("move" + std::to_string(i), [i] { return thud(1600 + i, 90 + i * 15, 0.12f, 0.6f); });
    wav("waterstep", [] { return splash(1700, 0.35f); });
    for (int i = 0; i < 4; i++) ogg("fall" + std::to_string(i), [i] { return thud(1800 + i, 70 + i * 8, 0.3f, 1.0f); });
    for (int i = 0; i < 5; i++) wav("hitwater" + std::to_string(i), [i] { return splash(1900 + i * 7, 0.7f + 0.2f * i); });
    ogg("splish", [] { return splash(2000, 0.3f); });
    for (int i = 0; i < 5; i++) wav("splatter" + std::to_string(i), [i] { return squish(2100 + i, 0.3f + 0.05f * i); });
    for (int i = 0; i < 8; i++) ogg("meat" + std::to_string(i), [i] { return squish(2200 + i, 0.12f + 0.02f * (i % 4)); });
    for (int i = 0; i < 3; i++) ogg("burn" + std::to_string(i), [i] { return crackle(1.4f, 2300 + i * 10, 25, 0.5f); });
    ogg("firehit", [] {
        Buf b = noise_sweep(0.7f, R, 2400, 300, 2500, 1.2f, false, 0.08f, 0.25f);
        mix_into(b, crackle(0.7f, 2401, 8, 0.2f), 0.5f);
        return finish(b);
    });
    ogg("steam", [] {
        Buf b = noise_sweep(0.9f, R, 2500, 5000, 4000, 0.7f, false, 0.02f, 0.35f);
        return finish(b, 0.6f);
    });
    ogg("supplyincoming", [] {
        Buf b = tone(1.4f, R, Wave::Sine, 1600, 500, 0.05f, 1.0f, 7, 0.02f);
        mix_into(b, tone(1.4f, R, Wave::Sine, 2400, 750, 0.05f, 0.8f, 7, 0.02f), 0.3f);
        fade(b, 0.05f, 0.2f, R);
        return finish(b, 0.6f);
    });
    ogg("supplycollect", [] { return beeps({84, 88, 91, 96}, 0.06f, 0.0f, Wave::Triangle, 0.12f); });
    ogg("supplyland", [] {
        Buf b = thud(2600, 110, 0.35f, 0.8f);
        mix_into(b, noise_sweep(0.2f, R, 2601, 1800, 900, 3.0f, false, 0.001f, 0.03f), 0.5f, 0.02f, R);
        return finish(b);
    });
    ogg("mine", [] { return beeps({88}, 0.07f, 0, Wave::Square, 0.04f); });
    wav("bounce", [] { return finish(bell(0.25f, R, 900, {1, 2.3f, 3.9f}, 0.04f, 2700), 0.6f); });
    ogg("beartrap", [] {
        Buf b = bell(0.6f, R, 520, {1, 2.76f, 5.4f, 8.9f}, 0.09f, 2800);
        mix_into(b, noise_sweep(0.1f, R, 2801, 5000, 2000, 1.0f, false, 0.0005f, 0.02f), 0.9f);
        soft_clip(b, 1.5f);
        return finish(b);
    });
    ogg("voice_playerjoined", [] { return voice_line({1, 0, 3, 2}, {150, 165, 175, 200}, 0.16f, 2900); });
    ogg("voice_playerleft", [] { return voice_line({1, 0, 1}, {175, 160, 130}, 0.17f, 2901); });
    ogg("voice_yourturn", [] { return voice_line({4, 0, 3}, {170, 210, 190}, 0.18f, 2902); });
    ogg("voice_gfnotify", [] {
        Buf b = chime({79, 74}, 0.22f, 0.3f);
        mix_into(b, voice(std::vector<int>{2, 0}, std::vector<float>{220, 240}, 0.12f, R, 2903), 0.5f, 0.5f, R);
        return finish(b, 0.8f);
    });
    ogg("quickflood", flood);
    ogg("superlaser", laser);
    ogg("missiondeath", sad_trombone);
    ogg("msgbox1", [] {
        Buf b = tone(0.18f, R, Wave::Sine, 500, 1100, 0.005f, 0.07f);
        return finish(b, 0.6f);
    });
    ogg("msgbox2", [] { return finish(tone(0.04f, R, Wave::Square, 1600, 1500, 0.001f, 0.01f), 0.35f); });
}

}  // namespace ma
