// Transfer lookups over the script resource tables and the script files.
#include "net/resource_lookup.h"

#include "core/resources.h"
#include "platform/files.h"
#include "scripting/script_files.h"

namespace {

// The first entry of the transfer tables with that name, in lookup order.
struct Match {
    bool found = false;
    BankPtr compr;
    int crc32 = 0;
    int size = 0;
};

Match find_transfer(const std::string& name) {
    Match m;
    // name == folder + path, where every folder is four characters long.
    auto search = [&](const Tres::Table& table, const char* folder) {
        if (name.compare(0, 4, folder) != 0) return false;
        for (auto& entry : table) {
            if (entry && name.compare(4, std::string::npos, entry->path) == 0) {
                m = {true, entry->compr, entry->crc32, entry->size};
                return true;
            }
        }
        return false;
    };
    if (search(Tres::gfx, "gfx/") || search(Tres::sfx, "sfx/")) return m;
    for (auto& script : Tscr::script) {
        if (script && script->path == name) return {true, script->compr, script->crc32, script->size};
    }
    return m;
}

}  // namespace

BankPtr getresbank(const std::string& name) { return find_transfer(name).compr; }

int getrescrc32(const std::string& name) { return find_transfer(name).crc32; }

int getressize(const std::string& name) {
    Match m = find_transfer(name);
    if (m.found) return m.size;
    return (int)FileSize(name);
}
