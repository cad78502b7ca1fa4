// Benchmark: headless start-up up to the end of the first main-loop pass,
// beside the baseline of reading every file of the resource catalogue once as
// raw bytes. Uses the generated resources when run from the source folder
// (after a build), else a small stand-in tree.
#include "app/startup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "platform/files.h"
#include "platform/incbin.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "tests/support/fake_resources.h"
#include "tests/support/temp_dir.h"

namespace {

struct Resources {
    std::filesystem::path root;
    const IncbinFile* builtins;
    const char* label;
};

const Resources& resources() {
    static Resources r = [] {
        if (FileType("gfx/gui_load.bmp") == FILETYPE_FILE && incbin_builtin_files[0].name)
            return Resources{std::filesystem::current_path(), incbin_builtin_files, "generated resources"};
        return Resources{fake::shared_tree(), fake::builtins(), "stand-in resources"};
    }();
    return r;
}

// A scratch working folder with the resource folders linked in, so the debug
// logs that start-up writes land there.
struct Workdir {
    const Resources& res = resources();  // decided before leaving the starting folder
    TempDir dir;
    Workdir() {
        for (const char* folder : {"gfx", "sfx"})
            std::filesystem::create_directory_symlink(res.root / folder, dir.path() / folder);
    }
};

void BM_ReadCatalogueFilesBaseline(benchmark::State& state) {
    Workdir work;
    startup_register_builtins(resources().builtins);
    std::vector<CatalogueFile> files = catalogue_files();
    size_t bytes = 0;
    for (auto _ : state) {
        for (const CatalogueFile& f : files) {
            BankPtr bank = LoadBank(f.path);
            if (bank) bytes += bank->Size();
        }
    }
    state.SetLabel(resources().label);
    state.counters["files"] = (double)files.size();
    benchmark::DoNotOptimize(bytes);
}

void BM_StartupToFirstPass(benchmark::State& state) {
    PlatformInit(PlatformOptions{true});
    Workdir work;
    // The frame wait and the version check's pause cost nothing here: every
    // clock reading moves on by 1 ms and sleeping returns at once.
    int now = 0;
    SetClockSource([&] { return now++; });
    SetDelayHook([](int) {});
    StartupOptions options;
    options.headless = true;
    options.change_dir = false;
    options.passes = 0;
    options.builtins = resources().builtins;
    for (auto _ : state) {
        startup(options);
        main_loop_pass();
    }
    state.SetLabel(resources().label);
    SetClockSource(nullptr);
    SetDelayHook(nullptr);
}

}  // namespace

BENCHMARK(BM_ReadCatalogueFilesBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupToFirstPass)->Unit(benchmark::kMillisecond);
