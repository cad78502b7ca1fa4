// Test fixture helper: a fresh temporary folder that becomes the working
// folder for the lifetime of the object, so code that reads and writes
// relative paths (sys/, maps/, ...) never touches the real ones.
//
//     TempDir dir({"sys", "sys/gamesettings"});   // chdir into a new folder
//     ...                                          // relative paths land there
//     // leaving scope: back to the old folder, the temporary one removed
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <system_error>

class TempDir {
public:
    explicit TempDir(std::initializer_list<const char*> subdirs = {}) {
        std::error_code ec;
        old_ = std::filesystem::current_path(ec);
        std::string pattern = (std::filesystem::temp_directory_path(ec) / "grombat_test_XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) {
            path_ = made;
            std::filesystem::current_path(path_, ec);
            for (const char* sub : subdirs) std::filesystem::create_directories(path_ / sub, ec);
        }
    }
    ~TempDir() {
        std::error_code ec;
        if (!old_.empty()) std::filesystem::current_path(old_, ec);
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }

    // Whole files as bytes, relative to the folder; "" when missing.
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool write(const std::string& file, const std::string& bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), (std::streamsize)bytes.size());
        return (bool)out;
    }

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};
