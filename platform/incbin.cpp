// Built-in files: the registry behind "incbin::" paths.
#include "platform/incbin.h"

#include <map>

namespace {
std::map<std::string, IncbinFile>& registry() {
    static std::map<std::string, IncbinFile> files;
    return files;
}
std::map<std::string, std::string>& names() {
    static std::map<std::string, std::string> kept;
    return kept;
}
}  // namespace

void IncbinRegister(const std::string& name, const unsigned char* data, size_t size) {
    // The record points at a name string the registry owns.
    auto& kept = names()[name];
    kept = name;
    registry()[name] = IncbinFile{kept.c_str(), data, (unsigned long)size};
}

const IncbinFile* IncbinFind(const std::string& name) {
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : &it->second;
}

void IncbinClear() {
    registry().clear();
    names().clear();
}
