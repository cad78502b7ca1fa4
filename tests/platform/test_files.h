// Test helpers for the platform tests: a scratch folder (BMP bytes come from
// tests/support/bmp_bytes.h).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/bmp_bytes.h"

// A fresh folder under /tmp, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir() {
        char name[] = "/tmp/grombat_test_XXXXXX";
        if (char* made = ::mkdtemp(name)) path_ = made;
    }
    ~ScratchDir() {
        if (!path_.empty()) DeleteDir(path_, true);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};


inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return SaveBank(Bank(bytes.data(), bytes.size()), path);
}
