// Script resource tables: images and sounds that scripts load by path, known
// by their slot (from 1); negative image ids -1..-15 name built-in images.
//
// Slot 0 is never filled; a table only grows, by 50 slots at a time, and
// keeps its length through `clear`; no two entries of a table share a path
// (compared exactly). Anything that reads a table by an id from a script or a
// peer goes through `getimage` or `slot`, which check the id first. Ids agree
// between machines only while every machine runs the same scripts in the same
// order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/bank.h"
#include "platform/image.h"

// Limits of script images and sounds: those of foreign backgrounds for images.
inline constexpr int kResMaxImageSide = 8192;
inline constexpr int64_t kResMaxImagePixels = int64_t(4096) * 4096;
inline constexpr int kResMaxSoundSeconds = 600;

struct Tres {
    std::string path;  // as the script gave it, relative to gfx/ or sfx/
    ImagePtr image;    // entries of gfx
    SoundPtr sound;    // entries of sfx
    int size = 0;      // uncompressed file size, for the transfer
    BankPtr compr;     // compressed file as sent to joining machines
    int crc32 = 0;     // checksum_bank of the file (not a CRC)
    int replaycrucial = 0;

    using Table = std::vector<std::shared_ptr<Tres>>;
    // 300 slots at start-up.
    static Table gfx;
    static Table sfx;

    // Slots holding an entry with a non-empty path.
    static int countarray(const Table& table);
    // Empties both tables, keeping their lengths.
    static int clear();
    // The id of the image or sound at that path, loading it on first use.
    // Limits hold on every machine and for every source (disk, a host's copy,
    // a replay), so peers agree on which images exist: an image larger than
    // kResMaxImageSide a side or kResMaxImagePixels in all, or a sound longer
    // than kResMaxSoundSeconds (or above 256 MB decoded), is not loaded and
    // its entry stays without image or sound. The image size is read from the
    // file's header before any pixel is decoded.
    static int loadgfx(const std::string& path);
    static int loadsfx(const std::string& path);
    // The image of a table id or built-in negative id; null for anything else.
    // Ids -4..-6 draw one number from the shared random generator.
    static ImagePtr getimage(int id);
    // The entry at an id, or null when the id lies outside the table or the
    // slot is empty.
    static std::shared_ptr<Tres> slot(const Table& table, int id);
};
