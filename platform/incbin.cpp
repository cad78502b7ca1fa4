// Built-in files: the registry behind "incbin::" paths.
#include "platform/incbin.h"

#include <map>

namespace {
std::map<std::string, IncbinFile>& registry() {
    static std::map<std::string, IncbinFile> files;
    return files;
}
}  // namespace

void IncbinRegister(const std::string& name, const unsigned char* data, size_t size) {
    // The record's name points at the map's own key, which never moves.
    auto it = registry().insert_or_assign(name, IncbinFile{}).first;
    it->second = IncbinFile{it->first.c_str(), data, (unsigned long)size};
}

const IncbinFile* IncbinFind(const std::string& name) {
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : &it->second;
}

void IncbinClear() { registry().clear(); }
