// Script file registry: the script files of a match kept compressed, so the
// host can offer them to joining machines and embed them in replays without
// reading the disk again.
//
// Slot 0 is never used; a file occupies one slot from 1 up and its slot is its
// registry index. A full table grows by 50 slots (300, 350, ...) and never
// shrinks; a path stands in at most one slot.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/bank.h"

struct Tscr {
    std::string path;   // as registered, relative to the program's folder
    int size = 0;       // uncompressed bytes
    BankPtr compr;      // compressed-bank form; null when unreadable
    int crc32 = 0;      // checksum_bank of the file (not a CRC)

    static std::vector<std::shared_ptr<Tscr>> script;   // 300 slots at start

    static int clear();
    // The slot of path: its existing slot (the file is not read again), else
    // a new record in the first empty slot (the table grows when none). A file
    // that cannot be read is registered with size 0 and no compressed copy.
    static int add(const std::string& path);
    // 1 when the slot holding path was emptied, 0 when none had it.
    static int remove(const std::string& path);
};
