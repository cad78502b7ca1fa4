// Test helper: a tiny stand-in for the game's resource tree and built-in
// images, so start-up and the catalogue can run in a scratch folder.
//
// Every image has black at (0, 0), magenta at (1, 0) and grey (128, 128, 128)
// elsewhere, so a test can tell which mask colour was in force at its load.
// Single images are 6 x 10 pixels, strips have their cells, built-ins their
// real sizes; sounds are short WAV files (the loader tells WAV from Ogg by
// content, so ".ogg" names hold WAV bytes); fonts are the system's DejaVu Sans.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/catalogue.h"
#include "platform/incbin.h"
#include "platform/pixmap.h"
#include "terrain/texture.h"
#include "tests/support/bmp_bytes.h"

namespace fake {

inline constexpr int kImageW = 6, kImageH = 10;
inline const char* const kFontSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

inline void put_le(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) b.push_back((uint8_t)(v >> (8 * i)));
}

inline uint32_t pattern(int x, int y) {
    if (y == 0 && x == 0) return 0xFF000000u;
    if (y == 0 && x == 1) return 0xFFFF00FFu;
    return 0xFF808080u;
}

// A 24-bit uncompressed BMP of the test pattern.
inline std::vector<uint8_t> bmp(int w, int h) {
    std::vector<std::vector<uint32_t>> rows((size_t)h, std::vector<uint32_t>((size_t)w));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) rows[(size_t)y][(size_t)x] = pattern(x, y);
    return MakeBmp(24, rows);
}

// 16-bit mono PCM, 80 samples at 8000 Hz.
inline std::vector<uint8_t> wav() {
    const int samples = 80;
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    put_le(b, 36 + samples * 2, 4);
    for (char c : std::string("WAVEfmt ")) b.push_back((uint8_t)c);
    put_le(b, 16, 4);
    put_le(b, 1, 2);
    put_le(b, 1, 2);
    put_le(b, 8000, 4);
    put_le(b, 16000, 4);
    put_le(b, 2, 2);
    put_le(b, 16, 2);
    for (char c : std::string("data")) b.push_back((uint8_t)c);
    put_le(b, samples * 2, 4);
    for (int i = 0; i < samples; i++) put_le(b, (uint32_t)((i % 16) * 1000), 2);
    return b;
}

inline bool write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    return (bool)out;
}

inline bool write_image(const std::filesystem::path& path, int w, int h) {
    if (path.extension() == ".bmp") return write_bytes(path, bmp(w, h));
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    TPixmap pm(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pm.WritePixel(x, y, pattern(x, y));
    return SavePixmapPNG(pm, path.string(), 1);
}

inline bool link_file(const std::filesystem::path& target, const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::filesystem::remove(path, ec);
    std::filesystem::create_symlink(target, path, ec);
    return !ec;
}

// Writes every file of the catalogue (built-ins aside) under root; false when
// one could not be written.
inline bool write_tree(const std::filesystem::path& root) {
    bool ok = true;
    for (const CatalogueFile& f : catalogue_files()) {
        if (f.path.rfind(kIncbinPrefix, 0) == 0) continue;
        std::filesystem::path path = root / f.path;
        switch (f.kind) {
            case CatalogueFile::IMAGE: ok = write_image(path, kImageW, kImageH) && ok; break;
            case CatalogueFile::ANIM: ok = write_image(path, f.cell_w * f.cells, f.cell_h) && ok; break;
            case CatalogueFile::SOUND: ok = write_bytes(path, wav()) && ok; break;
            case CatalogueFile::FONT: ok = link_file(kFontSource, path) && ok; break;
        }
    }
    // The terrain textures, checked at start-up right after the catalogue.
    for (const std::string& f : map_texture_files()) ok = write_image(root / f, 16, 16) && ok;
    return ok;
}

// One tree per test program, written on first use and removed at exit;
// link_tree makes it appear in a folder (gfx/ and sfx/ as links), so each
// test can work in a fresh folder without writing the files again. A test
// that moves a file away puts it back.
inline const std::filesystem::path& shared_tree() {
    static struct Tree {
        std::filesystem::path path;
        Tree() {
            std::string pattern = (std::filesystem::temp_directory_path() / "grombat_tree_XXXXXX").string();
            if (::mkdtemp(pattern.data())) path = pattern;
            if (!path.empty() && !write_tree(path)) path.clear();
        }
        ~Tree() {
            std::error_code ec;
            if (!path.empty()) std::filesystem::remove_all(path, ec);
        }
    } tree;
    return tree.path;
}

inline bool link_tree(const std::filesystem::path& into) {
    const std::filesystem::path& tree = shared_tree();
    if (tree.empty()) return false;
    std::error_code ec;
    for (const char* folder : {"gfx", "sfx"})
        std::filesystem::create_directory_symlink(tree / folder, into / folder, ec);
    return !ec;
}

// The built-in images at their real sizes, as a table like the one the build
// compiles in (ended by a null name). Lives until the program ends, because
// registered bytes are not copied.
struct Builtins {
    std::vector<std::vector<uint8_t>> bytes;
    std::vector<IncbinFile> table;
};

inline const IncbinFile* builtins() {
    static Builtins b = [] {
        Builtins made;
        for (const BuiltinImage& img : kBuiltinImages) made.bytes.push_back(bmp(img.width, img.height));
        for (size_t i = 0; i < made.bytes.size(); i++)
            made.table.push_back({kBuiltinImages[i].name, made.bytes[i].data(), (unsigned long)made.bytes[i].size()});
        made.table.push_back({nullptr, nullptr, 0});
        return made;
    }();
    return b.table.data();
}

// The same table without one name (a broken build).
inline std::vector<IncbinFile> builtins_without(const std::string& name) {
    std::vector<IncbinFile> table;
    for (const IncbinFile* f = builtins(); f->name; f++)
        if (name != f->name) table.push_back(*f);
    table.push_back({nullptr, nullptr, 0});
    return table;
}

}  // namespace fake
