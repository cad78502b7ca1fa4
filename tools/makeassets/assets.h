// The asset registry: every image and sound file the generator writes, with
// the recipe that draws or synthesises it and the format it is saved in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/makeassets/canvas.h"

namespace ma {

enum class Fmt {
    Png,          // 32-bit with alpha
    BmpMagenta,   // 24-bit; transparent pixels (alpha < 0.5) written as (255, 0, 255)
    BmpBlack,     // 24-bit; transparent pixels written as black, black inside nudged off it
    BmpFlat,      // 24-bit; flattened over black (glows, grey masks, opaque pictures)
};

struct ImageAsset {
    std::string path;        // relative to the output root, "/" separated
    Fmt fmt = Fmt::Png;
    int cell_w = 0;          // strips: cell size and count (0: a single image)
    int cell_h = 0;
    int cells = 1;
    bool alphamask = false;  // the game turns its grey levels into white alpha
    std::function<Canvas()> make;
};

struct SoundAsset {
    std::string path;        // ".wav" (16-bit PCM) or ".ogg" (Vorbis)
    int rate = 22050;
    int channels = 1;
    float quality = 0.2f;    // Vorbis quality for ".ogg"
    std::function<std::vector<float>()> make;   // interleaved samples in -1..1
};

struct Registry {
    std::vector<ImageAsset> images;    // gfx/ files
    std::vector<ImageAsset> builtin;   // incgfx/ files
    std::vector<SoundAsset> sounds;    // sfx/ files

    void image(const std::string& path, Fmt fmt, std::function<Canvas()> make) {
        images.push_back({path, fmt, 0, 0, 1, false, std::move(make)});
    }
    void anim(const std::string& path, Fmt fmt, int cw, int ch, int n, std::function<Canvas()> make) {
        images.push_back({path, fmt, cw, ch, n, false, std::move(make)});
    }
    void mask(const std::string& path, int cw, int ch, int n, std::function<Canvas()> make) {
        images.push_back({path, Fmt::BmpFlat, cw, ch, n, true, std::move(make)});
    }
    void sound(const std::string& path, int rate, std::function<std::vector<float>()> make, int channels = 1,
               float quality = 0.2f) {
        sounds.push_back({path, rate, channels, quality, std::move(make)});
    }
};

// Each art and sound family adds its recipes.
void add_player_art(Registry& reg);
void add_terrain_art(Registry& reg);
void add_effect_art(Registry& reg);
void add_interface_art(Registry& reg);
void add_title_art(Registry& reg);
void add_builtin_art(Registry& reg);
void add_sounds(Registry& reg);
// Art and sounds of the scripts under scripts/ (gfx/weapons/, sfx/weapons/).
void add_weapon_art(Registry& reg);

// A picture of fighters put together from their strips, for checking art.
Canvas player_preview();
Canvas title_preview();
// A landscape of terrain style 0..4 built from the generated images; 5 gives
// the sky with its cloud layers alone.
Canvas scene_preview(const Registry& reg, int style);

// Output: 8-bit pixels as the game will see them after loading (mask applied).
Canvas as_loaded(const Canvas& c, const ImageAsset& a);
bool save_image(const Canvas& c, const ImageAsset& a, const std::string& path);
bool save_sound(const std::vector<float>& samples, const SoundAsset& s, const std::string& path);
bool save_bmp24(const Canvas& c, Fmt fmt, const std::string& path);

}  // namespace ma
