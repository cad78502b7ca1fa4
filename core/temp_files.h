// Received-file cache: files a joining machine received from the host, kept
// in memory under their transfer names.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "platform/bank.h"

struct Ttemp {
    int size = 0;
    std::string file;
    BankPtr bank;
    int crc32 = 0;

    static std::list<std::shared_ptr<Ttemp>> list;

    static std::shared_ptr<Ttemp> get(const std::string& file);
    static std::shared_ptr<Ttemp> getCheck(const std::string& file, int crc32, int size);
    static int add(const std::string& file, const Bank& bank, int crc32);
    static int free(const std::string& file);
    static int freeall();
};
