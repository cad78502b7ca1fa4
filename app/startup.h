// Start-up: everything the program sets up, in its fixed order, before the
// main loop takes over.
#pragma once

#include <string>

#include "core/shared_state.h"
#include "platform/incbin.h"

// The 57 images compiled into the program, in registration order, with the
// pixel size each must have.
struct BuiltinImage {
    const char* name;  // opened as "incbin::" + name
    int width, height;
};
inline constexpr int kBuiltinImageCount = 57;
extern const BuiltinImage kBuiltinImages[kBuiltinImageCount];

struct StartupOptions {
    bool headless = false;   // no window and no sound device
    bool change_dir = true;  // run from the program's own folder
    int passes = -1;         // main-loop passes before game_main returns; -1 never returns
    // Where the built-in images come from (the table compiled into the program).
    const IncbinFile* builtins = incbin_builtin_files;
};

// Registers every built-in image from the table. A name missing from the
// table means a broken build: the program ends with a message naming it.
int startup_register_builtins(const IncbinFile* table);

// The version check with the online service under its load screen; sets the
// screen from the answer (startup_version_outcome).
int startup_checkversion();
// The error screen when no version came, the outdated-version screen when
// another version came, nothing for the current one.
int startup_version_outcome();
// The first-start name screen when the main menu is up and the name is still
// one of the defaults.
int startup_firststart();

// Runs start-up (steps up to the hotkeys) without entering the loop.
int startup(const StartupOptions& options);
// Start-up, then the main loop: `options.passes` passes, or for ever.
int game_main(int argc, char** argv, const StartupOptions& options = {});
