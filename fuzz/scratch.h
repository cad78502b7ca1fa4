// Scratch space for fuzz targets: a private folder under /tmp that is removed
// when the run ends (libFuzzer leaves through exit(), so atexit handlers run).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <stdlib.h>

// Never destroyed: the exit handler below reads it after static destructors
// may already have run.
inline std::vector<std::string>& fuzz_scratch_paths() {
    static auto* paths = new std::vector<std::string>;
    return *paths;
}

// Removes path (file or folder) at exit.
inline void fuzz_remove_at_exit(const std::string& path) {
    static const bool registered = [] {
        std::atexit([] {
            std::error_code ec;
            for (const std::string& p : fuzz_scratch_paths()) std::filesystem::remove_all(p, ec);
        });
        return true;
    }();
    (void)registered;
    fuzz_scratch_paths().push_back(path);
}

// A new empty folder "/tmp/<name>_XXXXXX", removed at exit; "" when none
// could be made.
inline std::string fuzz_scratch_dir(const std::string& name) {
    std::string pattern = "/tmp/" + name + "_XXXXXX";
    if (!mkdtemp(pattern.data())) return "";
    fuzz_remove_at_exit(pattern);
    return pattern;
}
