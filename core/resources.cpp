// Script resource tables.
//
// Where a file comes from depends on the machine: the host reads its own
// disk; a joining machine first takes the copy it received from the host
// (Ttemp) and falls back to its disk; with set_saveres it reads its disk only,
// as received files were written there.
#include "core/resources.h"

#include <new>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/temp_files.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/stream.h"

Tres::Table Tres::gfx(300);
Tres::Table Tres::sfx(300);

namespace {

constexpr size_t kGrowth = 50;

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
    return text;
}

// Mission scripts name their own files with "$MISSION" or "$mission"; no
// other spelling is replaced.
std::string mission_path(const std::string& path) {
    std::string selected = mission_selectedfolder();
    if (selected.empty()) return path;
    std::string folder = "../missions/" + selected;
    return replace_all(replace_all(path, "$MISSION", folder), "$mission", folder);
}

// The bytes of a resource: the copy received from the host when this machine
// joined one and keeps received files in memory (a record without bytes gives
// null), else the file on disk.
BankPtr resource_bytes(const std::string& file) {
    if (g_server != 1 && set_saveres != 1) {
        if (auto received = Ttemp::get(file)) return received->bank;
    }
    try {
        return LoadBank(file);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool image_size_ok(int64_t w, int64_t h) {
    return w >= 1 && h >= 1 && w <= kResMaxImageSide && h <= kResMaxImageSide && w * h <= kResMaxImagePixels;
}

// A script image within the limits, its size checked from the header first.
ImagePtr load_script_image(const std::string& file) {
    BankPtr bytes = resource_bytes(file);
    int w = 0, h = 0;
    if (!bytes || !ProbePixmapSize(bytes->Buf(), bytes->Size(), w, h) || !image_size_ok(w, h)) return nullptr;
    StreamPtr stream = CreateBankStream(bytes);
    if (!stream) return nullptr;
    ImagePtr image = LoadImage(*stream, -1);
    CloseStream(stream);
    if (image && !image_size_ok(ImageWidth(image), ImageHeight(image))) return nullptr;
    return image;
}

SoundPtr load_script_sound(const std::string& file) {
    BankPtr bytes = resource_bytes(file);
    if (!bytes) return nullptr;
    StreamPtr stream = CreateBankStream(bytes);
    if (!stream) return nullptr;
    SoundPtr sound = LoadSound(*stream, 0, kResMaxSoundSeconds);
    CloseStream(stream);
    return sound;
}

// The common part of loadgfx and loadsfx: an existing id for the path, or a
// new entry filled by `fill` in the first empty slot or a new one.
template <typename Fill>
int find_or_add(Tres::Table& table, const std::string& path, Fill fill) {
    size_t empty = 0;
    for (size_t i = 1; i < table.size(); i++) {
        if (!table[i]) {
            if (!empty) empty = i;
        } else if (table[i]->path == path) {
            return (int)i;
        }
    }
    auto entry = std::make_shared<Tres>();
    entry->path = path;
    fill(*entry);
    if (!empty) {
        empty = table.size();
        table.resize(table.size() + kGrowth);
    }
    table[empty] = entry;
    return (int)empty;
}

void clear_table(Tres::Table& table) {
    for (auto& entry : table) {
        if (!entry) continue;
        if (entry->compr) entry->compr->Resize(0);
        entry->compr = nullptr;
        entry->image = nullptr;
        entry->sound = nullptr;
        entry = nullptr;
    }
}

}  // namespace

int Tres::countarray(const Table& table) {
    int count = 0;
    for (auto& entry : table) {
        if (entry && !entry->path.empty()) count++;
    }
    return count;
}

int Tres::clear() {
    clear_table(gfx);
    clear_table(sfx);
    return 0;
}

int Tres::loadgfx(const std::string& script_path) {
    std::string path = mission_path(script_path);
    return find_or_add(gfx, path, [&](Tres& entry) {
        entry.image = load_script_image("gfx/" + path);
        // A replay lists the images it could not show when it has loaded.
        if (!entry.image && g_replay == 1) g_replay_missingres += ", " + path;
    });
}

int Tres::loadsfx(const std::string& script_path) {
    std::string path = mission_path(script_path);
    return find_or_add(sfx, path, [&](Tres& entry) {
        entry.sound = load_script_sound("sfx/" + path);
    });
}

std::shared_ptr<Tres> Tres::slot(const Table& table, int id) {
    if (id < 0 || (size_t)id >= table.size()) return nullptr;
    return table[id];
}

ImagePtr Tres::getimage(int id) {
    if (id >= 0) {
        auto entry = slot(gfx, id);
        return entry ? entry->image : nullptr;
    }
    if (id < -15) return nullptr;
    // Blood stains pick one of three shapes by a draw. The machines'
    // generators are not in step, so this serves looks only: shared stamps
    // take their shape from the position (world/events.cpp).
    if (id <= -4 && id >= -6) {
        ImagePtr* stains[3] = {gfx_blood25, gfx_blood50, gfx_blood75};
        return stains[-id - 4][Rand(0, 2)];
    }
    ImagePtr* const builtin[15] = {&gfx_crater100, &gfx_crater125, &gfx_crater150, nullptr,       nullptr,
                                   nullptr,        &gfx_crater175, &gfx_crater200, &gfx_crater75, &gfx_crater50,
                                   &gfx_crater25,  &gfx_fire,      &gfx_flare[0],  &gfx_flare[1], &gfx_flare[2]};
    return *builtin[-id - 1];
}
