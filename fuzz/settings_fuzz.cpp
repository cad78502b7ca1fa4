// Fuzz target: random bytes as the user's files: sys/settings.cfg, a host
// settings preset or sys/hotkeys.dat, chosen by the first byte.
//
// Properties checked: nothing crashes; whatever a file sets survives saving
// and loading again unchanged.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/host_settings.h"
#include "frontend/hud/hotkeys.h"
#include "match/presets.h"
#include "core/settings.h"
#include "platform/files.h"
#include "platform/platform.h"

#include "scratch.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// The files live in a folder of their own, the working folder only while
// one input runs (the fuzzer itself writes relative to the first one).
std::string home, scratch;

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    scratch = fuzz_scratch_dir("settings_fuzz");
    if (scratch.empty()) std::abort();
    home = CurrentDir();
    CreateDir(scratch + "/sys");
    CreateDir(scratch + "/sys/gamesettings");
    host_settings_init();
}

void run(const uint8_t* data, size_t size);

// What the settings file stores.
std::vector<std::string> user_settings() {
    std::vector<std::string> v;
    for (int n : {set_tmp_scrx, set_tmp_scry, set_tmp_depth, set_particles, set_background, set_textshadows,
                  set_music_vol, set_sfx_vol, set_gore, set_bloodcolor, set_netspeed, set_record, set_host_port,
                  set_host_multiteams})
        v.push_back(std::to_string(n));
    // set_sfx_driver at index 14.
    for (const std::string* s : {&set_sfx_driver, &set_name, &set_qvgnu, &set_host_name, &set_host_pw})
        v.push_back(*s);
    return v;
}

std::vector<std::array<int, 4>> hotkeys() {
    std::vector<std::array<int, 4>> v;
    for (auto& k : Tinput_hotkey::list) v.push_back({k->menu, k->x, k->y, k->hotkey});
    return v;
}

std::vector<int> host() { return std::vector<int>(set, set + kHostSettings); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    if (size < 1) return 0;
    check(ChangeDir(scratch));
    run(data, size);
    check(ChangeDir(home));
    return 0;
}

namespace {

void run(const uint8_t* data, size_t size) {
    Bank file(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0: {
            settings_defaults();
            check(SaveBank(file, kSettingsFile));
            settings_load(0);
            auto loaded = user_settings();
            settings_save(-1);   // writes both files and reads them back
            auto again = user_settings();
            // A file without a driver or a mode gets the platform's default
            // driver and the running mode (size and depth) on saving.
            if (loaded[14].empty()) again[14].clear();
            if (loaded[0] == "0") again[0] = loaded[0], again[1] = loaded[1], again[2] = loaded[2];
            check(again == loaded);
            break;
        }
        case 1: {
            host_settings_init();
            check(SaveBank(file, "sys/gamesettings/in.cfg"));
            settings_load_host("sys/gamesettings/in.cfg");
            const auto loaded = host();
            settings_save_host("sys/gamesettings/out.cfg");
            host_settings_init();
            settings_load_host("sys/gamesettings/out.cfg");
            check(host() == loaded);
            break;
        }
        default: {
            Tinput_hotkey::list.clear();
            check(SaveBank(file, kHotkeysFile));
            Tinput_hotkey::loadkeys();
            const auto loaded = hotkeys();
            Tinput_hotkey::savekeys();
            Tinput_hotkey::list.clear();
            Tinput_hotkey::loadkeys();
            check(hotkeys() == loaded);
            break;
        }
    }
}

}  // namespace
