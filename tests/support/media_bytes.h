// Media made by tests: WAV files as bytes and small PNG images on disk, so
// no test depends on asset files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/bank.h"
#include "platform/files.h"
#include "platform/image.h"

// A mono 16-bit PCM WAV of `samples` samples at 22050 Hz (a quiet square wave).
inline BankPtr make_wav(int samples) {
    std::vector<int16_t> wave((size_t)samples);
    for (int i = 0; i < samples; i++) wave[(size_t)i] = (i / 20) % 2 ? 1000 : -1000;
    return EncodeSoundWav(wave, 1, 22050);
}

inline bool save_wav(const std::string& path, int samples) { return SaveBank(*make_wav(samples), path); }

// An opaque w x h PNG of one colour at path (folders must exist).
inline bool save_png(const std::string& path, int w, int h, uint32_t argb = 0xff3080c0) {
    TPixmap pixmap(w, h);
    for (auto& p : pixmap.pixels) p = argb;
    return SavePixmapPNG(pixmap, path);
}

// The same PNG as bytes (written to a file and read back).
inline BankPtr png_bytes(int w, int h, uint32_t argb = 0xff3080c0) {
    const std::string tmp = "png_bytes_tmp.png";
    if (!save_png(tmp, w, h, argb)) return nullptr;
    BankPtr bank = LoadBank(tmp);
    DeleteFile(tmp);
    return bank;
}
