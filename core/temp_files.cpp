// Received-file cache.
#include "core/temp_files.h"

#include <cstdint>
#include <new>

#include "core/bank_codec.h"

std::list<std::shared_ptr<Ttemp>> Ttemp::list;

namespace {

void release(Ttemp& record) {
    if (record.bank) record.bank->Resize(0);
    record.bank = nullptr;
}

}  // namespace

std::shared_ptr<Ttemp> Ttemp::get(const std::string& file) {
    for (auto& t : list) {
        if (t->file == file) return t;
    }
    return nullptr;
}

std::shared_ptr<Ttemp> Ttemp::getCheck(const std::string& file, int crc32, int size) {
    auto t = get(file);
    if (t && t->crc32 == crc32 && t->size == size) return t;
    return nullptr;
}

int Ttemp::add(const std::string& file, const Bank& bank, int crc32) {
    // Sizes travel as int: a larger file cannot be told right to anyone.
    if (bank.Size() > (size_t)INT32_MAX) return -1;
    BankPtr copy;
    try {
        copy = CopyBank(bank);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    auto t = get(file);
    if (!t) {
        t = std::make_shared<Ttemp>();
        list.push_back(t);
    }
    t->file = file;
    // Copied before releasing the old bytes: the source may be this record's own bank.
    release(*t);
    t->bank = copy;
    t->size = (int)copy->Size();
    t->crc32 = crc32 != 0 ? crc32 : checksum_bank(*t->bank);
    return 0;
}

int Ttemp::free(const std::string& file) {
    list.remove_if([&](const std::shared_ptr<Ttemp>& t) {
        if (t->file != file) return false;
        release(*t);
        return true;
    });
    return 0;
}

int Ttemp::freeall() {
    for (auto& t : list) release(*t);
    list.clear();
    return 0;
}
