// Fuzz target: random bytes as image files (BMP, PNG, JPEG), as map images,
// backgrounds and script images arrive.
//
// Properties checked: nothing crashes or reads out of bounds; the header
// probe that size checks rely on gives the size the decoder then makes; a
// picture that loads survives saving as PNG and loading again, pixel for
// pixel.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/pixmap.h"

#include "scratch.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string scratch = [] {
        std::string path = "/tmp/image_fuzz_" + std::to_string((long)getpid()) + ".png";
        fuzz_remove_at_exit(path);
        return path;
    }();
    int w = 0, h = 0;
    const bool probed = ProbePixmapSize(data, size, w, h);
    PixmapPtr loaded = LoadPixmapFromMemory(data, size);
    if (!loaded) return 0;
    check(probed && w == loaded->width && h == loaded->height);
    // Large pictures are only decoded: saving them would slow every run.
    if ((int64_t)w * h > 256 * 256) return 0;
    check(SavePixmapPNG(*loaded, scratch, 1));
    PixmapPtr again = LoadPixmap(scratch);
    check(again && again->width == w && again->height == h && again->pixels == loaded->pixels);
    return 0;
}
