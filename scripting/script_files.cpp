// Script file registry.
#include "scripting/script_files.h"

#include "core/bank_codec.h"
#include "platform/files.h"

std::vector<std::shared_ptr<Tscr>> Tscr::script(300);

int Tscr::clear() {
    for (auto& slot : script) {
        if (slot && slot->compr) slot->compr->Resize(0);
        slot = nullptr;
    }
    return 0;
}

int Tscr::add(const std::string& path) {
    if (script.size() < 2) script.resize(300);   // slot 0 stays unused
    size_t empty = 0;
    for (size_t i = 1; i < script.size(); ++i) {
        if (!script[i]) {
            if (!empty) empty = i;
        } else if (script[i]->path == path) {
            return (int)i;
        }
    }
    auto record = std::make_shared<Tscr>();
    record->path = path;
    if (BankPtr bank = LoadBank(path)) {
        record->size = (int)bank->Size();
        record->crc32 = checksum_bank(*bank);
        record->compr = CompressBank(*bank);
    }
    if (!empty) {
        empty = script.size();
        script.resize(script.size() + 50);
    }
    script[empty] = record;
    return (int)empty;
}

int Tscr::remove(const std::string& path) {
    for (size_t i = 1; i < script.size(); ++i) {
        if (script[i] && script[i]->path == path) {
            script[i] = nullptr;
            return 1;
        }
    }
    return 0;
}
