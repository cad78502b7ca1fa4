// Built-in files: read-only data compiled into the program and opened by the
// file layer under the path "incbin::" + name.
#pragma once

#include <cstddef>
#include <string>

struct IncbinFile {
    const char* name;
    const unsigned char* data;
    unsigned long size;
};

// The table generated from incgfx/ at build time, ended by a null name.
extern const IncbinFile incbin_builtin_files[];

// Makes bytes openable as "incbin::" + name. The bytes must outlive the
// program (they are not copied). Registering a name again replaces it.
void IncbinRegister(const std::string& name, const unsigned char* data, size_t size);

// The registered bytes of a name (without the "incbin::" prefix), or null.
const IncbinFile* IncbinFind(const std::string& name);

// Forgets every registration (tests).
void IncbinClear();

// The prefix that marks a built-in path.
inline constexpr const char* kIncbinPrefix = "incbin::";
