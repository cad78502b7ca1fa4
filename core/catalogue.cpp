// Resource catalogue: loading, listing and emptying the globals of the list
// in catalogue_list.h.
//
// The mask colour is black for the sky and water and the meat chunks and
// magenta for everything else; the state left at the end (magenta, centre
// handle off) stays in force for the rest of the program.
#include "core/catalogue.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "core/graphics_setup.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "core/text.h"

#define GF_ONE(type, name) type name;
#define GF_MANY(type, name, count) type name[count];
GF_CATALOGUE_GLOBALS
#undef GF_ONE
#undef GF_MANY

// Calls f("name[i]", name[i]) on every element of an array of globals.
template <class F, class T, size_t N>
void elements(F& f, const char* name, T (&array)[N]) {
    for (size_t i = 0; i < N; i++) f(std::string(name) + "[" + std::to_string(i) + "]", array[i]);
}

// Calls f(name, global) on every global above, array elements included.
template <class F>
void each_global(F f) {
#define GF_ONE(type, name) f(#name, name);
#define GF_MANY(type, name, count) elements(f, #name, name);
    GF_CATALOGUE_GLOBALS
#undef GF_ONE
#undef GF_MANY
}

namespace {

// While listing, the loaders only note what they would open.
std::vector<CatalogueFile>* s_listing = nullptr;

ImagePtr placeholder() { return CreateImage(1, 1, 1, -1); }

// An image as the listing records it, with the load state in force.
CatalogueFile listed_image(CatalogueFile::Kind kind, const std::string& path, bool strict, int flags) {
    CatalogueFile f{kind, path, strict};
    f.flags = flags;
    GetMaskColor(f.mask_r, f.mask_g, f.mask_b);
    return f;
}

ImagePtr image(const std::string& path, int flags = -1) {
    if (s_listing) {
        s_listing->push_back(listed_image(CatalogueFile::IMAGE, path, true, flags));
        return placeholder();
    }
    return loadimagep(path, flags);
}

ImagePtr anim(const std::string& path, int cell_w, int cell_h, int cells, int flags = -1) {
    if (s_listing) {
        CatalogueFile f = listed_image(CatalogueFile::ANIM, path, true, flags);
        f.cell_w = cell_w, f.cell_h = cell_h, f.cells = cells;
        s_listing->push_back(f);
        return placeholder();
    }
    return loadanimimagep(path, cell_w, cell_h, 0, cells, flags);
}

// Not checked: a missing file leaves the global empty.
ImagePtr plain_image(const std::string& path) {
    if (s_listing) {
        s_listing->push_back(listed_image(CatalogueFile::IMAGE, path, false, -1));
        return placeholder();
    }
    return LoadImage(path, -1);
}

// Fonts are checked like the images: every screen draws text, and a missing
// font would only fail later, on the first text drawn.
FontPtr font(const std::string& path, int size, int style) {
    if (s_listing) {
        s_listing->push_back({CatalogueFile::FONT, path, true});
        return nullptr;
    }
    return loadfontp(path, size, style);
}

SoundPtr sound(const std::string& path) {
    if (s_listing) {
        s_listing->push_back({CatalogueFile::SOUND, path, false});
        return nullptr;
    }
    return LoadSound(path, 0);
}

std::string num(int i) { return std::to_string(i); }

// Load-state steps (STATE rows).
void screen_graphics() {
    if (!s_listing) loadscreen("Loading Graphics", 0);
}
void screen_sounds() {
    if (!s_listing) loadscreen("Loading Sounds", 0);
}
void mask_black() { SetMaskColor(0, 0, 0); }
void mask_magenta() { SetMaskColor(255, 0, 255); }
void automid_on() { AutoMidHandle(true); }
void automid_off() { AutoMidHandle(false); }

// What a row does to each image after loading it. Handles computed from the
// image's own size are halved toward zero.
using After = void (*)(const ImagePtr&);
void none(const ImagePtr&) {}
void mid(const ImagePtr& img) { MidHandleImage(img); }
void half(const ImagePtr& img) {
    SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) / 2));
}
void bottom4(const ImagePtr& img) {
    SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) - 4));
}
void bottom2(const ImagePtr& img) {
    SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) - 2));
}
void root_top(const ImagePtr& img) { SetImageHandle(img, (float)(ImageWidth(img) / 2), 2); }
// Grey levels become white alpha (glows drawn additively or tinted).
void grey_alpha(const ImagePtr& img) { alphamask(img, 1, 1); }
void grey_alpha_10(const ImagePtr& img) { alphamask(img, 10, 1); }
void grey_alpha_mid(const ImagePtr& img) {
    alphamask(img, 1, 1);
    MidHandleImage(img);
}
// A fixed handle; one function per point, which rows name as at(x, y).
template <int X, int Y>
void handle_at(const ImagePtr& img) {
    SetImageHandle(img, (float)X, (float)Y);
}

// CUSTOM rows.
void load_blood() {
    for (int i = 0; i < 3; i++) {
        gfx_blood25[i] = image("gfx/modifiers/blood25_" + num(i) + ".png", DYNAMICIMAGE);
        gfx_blood50[i] = image("gfx/modifiers/blood50_" + num(i) + ".png", DYNAMICIMAGE);
        gfx_blood75[i] = image("gfx/modifiers/blood75_" + num(i) + ".png", DYNAMICIMAGE);
    }
}
void loaded_with_blood25() {}

// The tile set of shape maps and the editor: rocks, branches, border pieces
// and the built-in tiles 000..016; entries 43..251 stay empty.
void fill_tiles() {
    std::fill(std::begin(gfx_tile), std::end(gfx_tile), nullptr);
    for (int i = 0; i < 9; i++) gfx_tile[i] = gfx_rocks[i];
    for (int i = 0; i < 12; i++) gfx_tile[9 + i] = gfx_branches[i];
    gfx_tile[21] = gfx_border_h;
    gfx_tile[22] = gfx_border_v;
    gfx_tile[23] = gfx_border_d1;
    gfx_tile[24] = gfx_border_d2;
    gfx_tile[25] = gfx_border_c;
    for (int n = 0; n <= 16; n++) {
        gfx_tile[26 + n] = plain_image("incbin::incgfx/tiles/" + zerofill(n, 3) + ".bmp");
        MidHandleImage(gfx_tile[26 + n]);
    }
}

void load_title() {
    if (s_listing) {
        for (int i = 1; i <= 4; i++) sound("sfx/title" + num(i) + ".ogg");
    } else {
        // One of four title tunes, picked afresh at every start.
        sfx_title = sound("sfx/title" + num(Rand(1, 4)) + ".ogg");
    }
}
// The music channel holds the title tune, not playing.
void cue_title() { sfx_musicchan = Cue(sfx_title); }

void load_all() {
#define GF_LOAD_FONT(name, path, size, style) name = font(path, size, style);
#define GF_LOAD_IMAGE(name, path, flags, after) \
    name = image(path, flags);                  \
    after(name);
#define GF_LOAD_PLAIN(name, path, after) \
    name = plain_image(path);            \
    after(name);
#define GF_LOAD_ANIM(name, path, cell_w, cell_h, cells, flags, after) \
    name = anim(path, cell_w, cell_h, cells, flags);                  \
    after(name);
#define GF_LOAD_IMAGES(name, count, prefix, ext, flags, after)   \
    for (int i = 0; i < count; i++) {                            \
        name[i] = image(std::string(prefix) + num(i) + ext, flags); \
        after(name[i]);                                          \
    }
#define GF_LOAD_SOUND(name, path) name = sound(path);
#define GF_LOAD_SOUNDS(name, count, prefix, ext) \
    for (int i = 0; i < count; i++) name[i] = sound(std::string(prefix) + num(i) + ext);
#define GF_LOAD_CUSTOM1(type, name, load) load();
#define GF_LOAD_CUSTOMN(type, name, count, load) load();
#define GF_LOAD_STATE(step) step();
#define at(x, y) handle_at<x, y>
    GF_CATALOGUE(GF_LOAD_FONT, GF_LOAD_IMAGE, GF_LOAD_PLAIN, GF_LOAD_ANIM, GF_LOAD_IMAGES, GF_LOAD_SOUND, GF_LOAD_SOUNDS,
                 GF_LOAD_CUSTOM1, GF_LOAD_CUSTOMN, GF_LOAD_STATE)
#undef GF_LOAD_FONT
#undef GF_LOAD_IMAGE
#undef GF_LOAD_PLAIN
#undef GF_LOAD_ANIM
#undef GF_LOAD_IMAGES
#undef GF_LOAD_SOUND
#undef GF_LOAD_SOUNDS
#undef GF_LOAD_CUSTOM1
#undef GF_LOAD_CUSTOMN
#undef GF_LOAD_STATE
#undef at
    // The listing loads nothing, so the particles it would drop stay.
    if (!s_listing) particles_clear();
}

}  // namespace

int catalogue_load() {
    load_all();
    return 0;
}

void catalogue_free() {
    each_global([](const std::string&, auto& g) { g = nullptr; });
}

std::vector<std::string> catalogue_empty() {
    std::vector<std::string> names;
    each_global([&](const std::string& name, auto& g) {
        if (!g) names.push_back(name);
    });
    return names;
}

std::vector<CatalogueFile> catalogue_files() {
    // The listing runs the real load code, so everything it touches is put back.
    std::vector<std::shared_ptr<void>> saved;
    each_global([&](const std::string&, auto& g) {
        saved.push_back(std::move(g));
        g = nullptr;
    });
    int r, g, b;
    GetMaskColor(r, g, b);
    bool mid = AutoMidHandleOn();

    std::vector<CatalogueFile> files;
    s_listing = &files;
    load_all();
    s_listing = nullptr;

    size_t at = 0;
    each_global([&](const std::string&, auto& global) {
        using T = typename std::remove_reference_t<decltype(global)>::element_type;
        global = std::static_pointer_cast<T>(saved[at++]);
    });
    SetMaskColor(r, g, b);
    AutoMidHandle(mid);
    return files;
}
