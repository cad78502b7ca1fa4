// Received-file cache: files a joining machine received from the host, kept
// in memory under their transfer names ("gfx/" + path, "sfx/" + path or a
// script's path) and never written to disk.
//
// Names compare exactly (case matters) and no two records share a name; new
// records go to the end of the list. Each record owns its own copy of the
// bytes, released at once (resized to 0) when the record is replaced or freed.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "platform/bank.h"

struct Ttemp {
    int size = 0;      // bytes in bank
    std::string file;  // transfer name
    BankPtr bank;      // uncompressed contents, the cache's own copy
    int crc32 = 0;     // checksum_bank of the contents (not a CRC)

    static std::list<std::shared_ptr<Ttemp>> list;

    // The record of that name, or null.
    static std::shared_ptr<Ttemp> get(const std::string& file);
    // The record of that name when its checksum and size match; else null.
    static std::shared_ptr<Ttemp> getCheck(const std::string& file, int crc32, int size);
    // Stores a copy of bank under the name, replacing a record of that name in
    // place; checksum 0 means "compute it from the copy". Returns 0; -1 when
    // the bank is larger than 2^31 - 1 bytes or cannot be copied, and then
    // nothing changed.
    static int add(const std::string& file, const Bank& bank, int crc32);
    // Forgets every record of that name.
    static int free(const std::string& file);
    // Forgets every record.
    static int freeall();
};
