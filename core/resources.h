// Script resource tables: images and sounds that scripts load by path, known
// by their slot (from 1); negative image ids name built-in images.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/bank.h"
#include "platform/image.h"

struct Tres {
    std::string path;
    ImagePtr image;
    SoundPtr sound;
    int size = 0;
    BankPtr compr;
    int crc32 = 0;
    int replaycrucial = 0;

    // 300 slots at start-up; slot 0 is never used; grow by 50.
    static std::vector<std::shared_ptr<Tres>> gfx;
    static std::vector<std::shared_ptr<Tres>> sfx;

    static int countarray(const std::vector<std::shared_ptr<Tres>>& table);
    static int clear();
    static int loadgfx(const std::string& path);
    static int loadsfx(const std::string& path);
    static ImagePtr getimage(int id);
};

// Transfer lookups by transfer name ("gfx/" + path, "sfx/" + path or a script path).
BankPtr getresbank(const std::string& name);
int getrescrc32(const std::string& name);
int getressize(const std::string& name);
