// Scratch folder for tests that touch files: a fresh temporary folder that is
// the working directory for the life of the object, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class ScratchCwd {
   public:
    ScratchCwd() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "grombat_test_XXXXXX").string();
        if (char* made = mkdtemp(pattern.data())) {
            path_ = made;
            std::filesystem::current_path(path_);
        } else {
            ADD_FAILURE() << "cannot create a scratch folder";
        }
    }
    ~ScratchCwd() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchCwd(const ScratchCwd&) = delete;
    ScratchCwd& operator=(const ScratchCwd&) = delete;

    const std::filesystem::path& path() const { return path_; }

   private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
