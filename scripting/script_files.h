// Script file registry: the scripts of a match kept compressed for peers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/bank.h"

struct Tscr {
    std::string path;   // transfer name
    int size = 0;
    BankPtr compr;
    int crc32 = 0;

    static std::vector<std::shared_ptr<Tscr>> script;   // 300 slots
};
