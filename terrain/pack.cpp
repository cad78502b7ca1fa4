// Map pack: packing the current map into map_bank and rebuilding it, with
// the whole pack checked before anything changes.
#include "terrain/pack.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/bank_codec.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/system.h"
#include "terrain/background.h"
#include "terrain/generate.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"

namespace {

constexpr int kMinSide = 300, kMaxSide = 30000;
constexpr int kTilePixels = kTileSize * kTileSize;

// Reads little-endian fields from the front of a byte range; a read past the
// end sets fail and gives 0, so a caller checks once after a group of reads.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), n_(size) {}
    bool fail = false;
    size_t pos() const { return pos_; }
    size_t left() const { return n_ - pos_; }

    int u8() { return take(1) ? p_[pos_ - 1] : 0; }
    int u16() { return take(2) ? p_[pos_ - 2] | p_[pos_ - 1] << 8 : 0; }
    int i32() {
        if (!take(4)) return 0;
        const uint8_t* b = p_ + pos_ - 4;
        return (int32_t)((uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24);
    }
    std::string text(size_t count) {
        if (!take(count)) return std::string();
        return std::string(reinterpret_cast<const char*>(p_ + pos_ - count), count);
    }
    bool skip(uint64_t count) { return take(count); }

private:
    bool take(uint64_t count) {
        if (fail || count > left()) {
            fail = true;
            return false;
        }
        pos_ += (size_t)count;
        return true;
    }
    const uint8_t* p_;
    size_t n_, pos_ = 0;
};

// Appends little-endian fields to a bank sized in advance.
class Writer {
public:
    explicit Writer(Bank& bank) : p_(bank.Buf()) {}
    void u8(int v) { p_[pos_++] = (uint8_t)v; }
    void u16(int v) {
        u8(v & 255);
        u8((v >> 8) & 255);
    }
    void i32(int v) {
        uint32_t u = (uint32_t)v;
        for (int i = 0; i < 4; ++i) u8((int)((u >> (8 * i)) & 255));
    }
    void bytes(const std::string& s, size_t count) {
        std::memcpy(p_ + pos_, s.data(), count);
        pos_ += count;
    }
    uint8_t* at() { return p_ + pos_; }
    void advance(size_t count) { pos_ += count; }
    size_t pos() const { return pos_; }

private:
    uint8_t* p_;
    size_t pos_ = 0;
};

// Pixels of a map whose header gives width x height: whole tiles, as map_setup
// rounds them.
int64_t pixels_of(int width, int height) {
    return (int64_t)(width / kTileSize) * kTileSize * (height / kTileSize) * kTileSize;
}

int64_t shape_entry_size(int id) { return id == 253 ? 25 : id >= 254 ? 17 : 9; }

// The packer writes ids 0..251 and 253..255 only: 252 and ids that do not fit
// a byte would make entries the reader cannot tell apart.
bool packable(const Tmap_shape& s) { return s.id >= 0 && s.id <= 255 && s.id != 252; }

// Milliseconds since start for the log; the 32-bit clock may wrap meanwhile.
int elapsed_ms(int start) { return (int)((unsigned)MilliSecs() - (unsigned)start); }

void notice(const std::string& what) {
    std::string text = "Wrong Map Format / Damaged Data (" + what + ")";
    gui_addcon(text);
    Notify(text, true);
}

void apply_image_body(const Bank& data, size_t body) {
    const uint8_t* rec = data.Buf() + body;
    for (int tx = 0; tx < map_xtiles; ++tx) {
        for (int ty = 0; ty < map_ytiles; ++ty, rec += 3 * kTilePixels) {
            // An all-empty tile stays without memory.
            bool solid = false;
            for (int i = 0; i < kTilePixels && !solid; ++i) {
                const uint8_t* r = rec + 3 * i;
                solid = !(r[0] == 255 && r[1] == 0 && r[2] == 255);
            }
            if (!solid) continue;
            uint32_t* pix = map_tile_pixels(tx, ty, true);
            if (!pix) continue;
            for (int lx = 0; lx < kTileSize; ++lx) {
                for (int ly = 0; ly < kTileSize; ++ly) {
                    const uint8_t* r = rec + 3 * (lx * kTileSize + ly);
                    bool empty = r[0] == 255 && r[1] == 0 && r[2] == 255;
                    pix[ly * kTileSize + lx] =
                        empty ? 0u : 0xFF000000u | (uint32_t)r[0] << 16 | (uint32_t)r[1] << 8 | r[2];
                }
            }
        }
    }
}

void apply_mask_body(const Bank& data, size_t body, Tmap_mask& mask) {
    const uint8_t* bits = data.Buf() + body;
    uint64_t k = 0;
    for (int tx = 0; tx < map_xtiles; ++tx)
        for (int ty = 0; ty < map_ytiles; ++ty)
            for (int lx = 0; lx < kTileSize; ++lx) {
                unsigned char* col = mask[tx * kTileSize + lx] + ty * kTileSize;
                for (int ly = 0; ly < kTileSize; ++ly, ++k) col[ly] = (bits[k >> 3] >> (k & 7)) & 1;
            }
}

// Rebuilds the map from a checked pack.
void apply(const Bank& data, const Tmap_pack& p, int foreign) {
    const int xt = p.width / kTileSize, yt = p.height / kTileSize;
    switch (p.type) {
        case 0:
            map_setup(xt, yt, 1);
            Tmap_shape::list.clear();
            for (const Tmap_pack_shape& s : p.shapes) {
                auto shape = Tmap_shape::add(s.id, s.x, s.y, s.w, s.h);
                shape->x3 = s.x3;
                shape->y3 = s.y3;
            }
            map_type = "000|" + std::to_string(p.seed) + "|" + std::to_string(p.style);
            Tmap_shape::perform();
            break;
        case 1:
            map_setup(xt, yt, 1);
            apply_image_body(data, p.body);
            map_type = "001";
            break;
        case 2: {
            map_setup(xt, yt, 1);
            Tmap_mask mask(map_xsize, map_ysize);
            apply_mask_body(data, p.body, mask);
            map_generate_fromarray(mask, p.style, 0, p.seed, 1);
            map_type = "002|" + std::to_string(p.seed) + "|" + std::to_string(p.style);
            break;
        }
        default:
            map_generate(p.width, p.height, p.seed, p.style, p.form);
            break;
    }

    Tmap_spawn::list.clear();
    for (const Tmap_pack_spawn& s : p.spawns) {
        auto e = std::make_shared<Tmap_spawn>();
        e->id = s.id;
        e->x = s.x;
        e->y = s.y;
        Tmap_spawn::getsize(e->id, e->w, e->h, e->img);
        e->xo = e->w / 2;
        e->yo = e->h / 2;
        Tmap_spawn::list.push_back(e);
    }

    map_bg_path = p.background ? p.bg_path : "";
    map_bg_transparency = p.background ? p.bg_transparency : 0;
    map_bg_render = p.background ? p.bg_render : 0;
    map_bg_align = p.background ? p.bg_align : 7;
    // A refused path stays in the settings, so the map packs and passes on
    // unchanged; it is only never opened here.
    map_bg_load(foreign);
}

}  // namespace


std::string map_pack_read(const Bank& data, Tmap_pack& p) {
    p = Tmap_pack();
    Reader r(data.Buf(), data.Size());
    if (data.Size() == 0) return "empty pack";
    p.type = r.u8();
    if (p.type > 3) return "unknown map type";
    p.width = r.u16();
    p.height = r.u16();
    if (r.fail) return "header cut short";
    if (p.width < kMinSide || p.width > kMaxSide || p.height < kMinSide || p.height > kMaxSide)
        return "map size " + std::to_string(p.width) + "x" + std::to_string(p.height) + " outside 300..30000";
    const int64_t pixels = pixels_of(p.width, p.height);

    switch (p.type) {
        case 0: {
            int count = r.i32();
            p.seed = r.i32();
            p.style = r.u8();
            if (r.fail) return "shape header cut short";
            if (count < 0) return "negative shape count";
            if (count > kMapPackMaxShapes) return std::to_string(count) + " shape entries (at most 100000)";
            const int map_w = p.width / kTileSize * kTileSize, map_h = p.height / kTileSize * kTileSize;
            int64_t rows = 0;
            int last_w = 0, last_h = 0;
            for (int i = 0; i < count; ++i) {
                Tmap_pack_shape s;
                s.id = r.u8();
                if (s.id == 252) {
                    int n = r.i32();
                    if (r.fail || n < 0 || !r.skip((uint64_t)n)) return "shape entry 252 runs past the end";
                    continue;
                }
                s.x = r.i32();
                s.y = r.i32();
                if (s.id >= 253) {
                    last_w = r.i32();
                    last_h = r.i32();
                }
                // A tile entry takes the size of the last entry that had one.
                s.w = last_w;
                s.h = last_h;
                if (s.id == 253) {
                    s.x3 = r.i32();
                    s.y3 = r.i32();
                }
                if (r.fail) return "shape list cut short";
                Tmap_shape probe;
                probe.id = s.id, probe.x = s.x, probe.y = s.y, probe.w = s.w, probe.h = s.h, probe.x3 = s.x3,
                probe.y3 = s.y3;
                rows += probe.rows(map_w, map_h);
                if (rows > kMapPackMaxShapeRows) return "shapes cover more than 2^28 rows";
                p.shapes.push_back(s);
            }
            break;
        }
        case 1:
            p.body = r.pos();
            if (!r.skip(3 * (uint64_t)pixels)) return "pixel data cut short";
            break;
        case 2:
            p.seed = r.i32();
            p.style = r.u8();
            p.body = r.pos();
            if (r.fail || !r.skip(((uint64_t)pixels + 7) / 8)) return "mask data cut short";
            break;
        default:
            p.seed = r.i32();
            p.style = r.u8();
            p.form = r.u8();
            if (r.fail) return "recipe cut short";
            break;
    }

    // Five bytes or more after the body hold a spawn block; fewer can only be
    // a background block.
    if (r.left() >= 5) {
        int count = r.i32();
        if (count < 0) return "negative spawn count";
        if (count > kMapPackMaxSpawns) return std::to_string(count) + " spawn entries (at most 100000)";
        int64_t id_bytes = 0;
        for (int i = 0; i < count; ++i) {
            Tmap_pack_spawn s;
            int n = r.u16();
            id_bytes += n;
            if (id_bytes > kMapPackMaxIdBytes) return "spawn ids longer than 64 MB together";
            s.id = r.text((size_t)n);
            s.x = r.i32();
            s.y = r.i32();
            if (r.fail) return "spawn block runs past the end";
            p.spawns.push_back(std::move(s));
        }
    }
    if (r.left() >= 1) {
        int n = r.u8();
        p.bg_path = r.text((size_t)n);
        p.bg_transparency = r.u8();
        p.bg_render = r.u8();
        p.bg_align = r.u8();
        if (r.fail) return "background block cut short";
        p.background = true;
    }
    if (r.left() != 0) return std::to_string(r.left()) + " bytes after the background block";
    return "";
}

namespace {

enum class Unpacked { ok, damaged, failed };

// Reads and builds one pack. damaged: refused before anything changed, what
// is wrong in damage; failed: the machine ran out of memory after the map
// was touched. Every allocation happens inside the try, and nothing is
// reported from within the handler: the memory it needs is freed first.
Unpacked unpack_once(const Bank& packed, int foreign, std::string& damage, int& type) {
    bool out_of_memory = false, touched = false;
    try {
        Tmap_pack p;
        BankPtr data;
        // The size field bounds what inflating would take: refuse a claim no
        // map reaches before allocating anything for it.
        if (packed.Size() >= 4 && (uint32_t)packed.PeekInt(0) > (uint64_t)kMapPackMaxSize) {
            damage = "pack of " + std::to_string((uint32_t)packed.PeekInt(0)) + " bytes, larger than any map";
        } else {
            data = UncompressBank(packed);
            damage = data ? map_pack_read(*data, p) : "not a compressed pack";
        }
        type = p.type;
        if (!damage.empty()) return Unpacked::damaged;
        touched = true;
        apply(*data, p, foreign);
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
    }
    if (!touched) {
        damage = "out of memory while reading";
        return Unpacked::damaged;
    }
    return out_of_memory || map_tile_failures > 0 ? Unpacked::failed : Unpacked::ok;
}

}  // namespace

int map_unpack(const Bank& packed, int foreign) {
    gui_addcon("unpacking & preparing map...");
    const int start = MilliSecs();
    std::string damage;
    int type = -1;
    const Unpacked got = unpack_once(packed, foreign, damage, type);
    gui_addcon("map format: " + std::to_string(type));
    if (got == Unpacked::damaged) {
        gui_addcon("map pack damaged: " + damage);
        notice(std::to_string(type));
        return 0;
    }
    if (got == Unpacked::failed) {
        // Half a map must never be played: machines with more memory would
        // play on other terrain.
        gui_addcon("map pack: out of memory while rebuilding the map, map not loaded");
        map_restore_previous(&packed);
        return 0;
    }
    gui_addcon("done! (" + std::to_string(elapsed_ms(start)) + " ms)");
    return 1;
}

void map_restore_previous(const Bank* failed) {
    BankPtr previous = map_bank;
    if (previous && previous.get() != failed) {
        std::string damage;
        int type = -1;
        // A background the previous map had is looked for as a foreign one:
        // where it came from is not known any more.
        if (unpack_once(*previous, 1, damage, type) == Unpacked::ok) {
            gui_addcon("previous map rebuilt from its pack");
            return;
        }
    }
    try {
        map_setup(3, 3, 1);
        map_type = "002|0|0";
    } catch (const std::bad_alloc&) {
    }
    gui_addcon("previous map lost: an empty 300x300 map is left");
}

int map_uncompress(int foreign) {
    if (!map_bank) return 0;
    BankPtr keep = map_bank;   // the pack stays alive even if a caller swaps map_bank
    return map_unpack(*keep, foreign);
}

int map_compress() {
    gui_addcon("packing & compressing map...");
    const int start = MilliSecs();
    const int type = text_toint_wrapping(map_type);
    if (type < 0 || type > 3) {
        notice(map_type);
        map_bank = nullptr;   // so that nothing is saved or sent
        return 0;
    }
    // Another holder (a replay, a transfer) may share the old bank: drop our
    // reference instead of emptying it.
    map_bank = nullptr;
    const std::vector<std::string> f = text_split(map_type, "|");
    auto field = [&](size_t i) { return i < f.size() ? text_toint_wrapping(f[i]) : 0; };
    const int seed = field(1), style = field(2), form = field(3);

    const int64_t pixels = (int64_t)map_xsize * map_ysize;
    int64_t shapes = 0, shape_bytes = 0;
    for (const auto& s : Tmap_shape::list)
        if (packable(*s)) {
            ++shapes;
            shape_bytes += shape_entry_size(s->id);
        }
    // The caps a reader checks: a map beyond them is not packed at all.
    int64_t shape_rows = 0, id_bytes = 0;
    for (const auto& s : Tmap_shape::list)
        if (packable(*s)) shape_rows += s->rows(map_xsize, map_ysize);
    for (const auto& s : Tmap_spawn::list) id_bytes += (int64_t)std::min<size_t>(s->id.size(), 65535);
    std::string over;
    if (shapes > kMapPackMaxShapes) over = std::to_string(shapes) + " shapes (at most 100000)";
    else if (shape_rows > kMapPackMaxShapeRows) over = "shapes cover more than 2^28 rows";
    else if ((int64_t)Tmap_spawn::list.size() > kMapPackMaxSpawns)
        over = std::to_string(Tmap_spawn::list.size()) + " spawn entries (at most 100000)";
    else if (id_bytes > kMapPackMaxIdBytes) over = "spawn ids longer than 64 MB together";
    if (!over.empty()) {
        gui_addcon("map too large to pack: " + over);
        notice(map_type);
        return 0;
    }
    const size_t bg_len = std::min<size_t>(map_bg_path.size(), 255);
    int64_t size = type == 0 ? 14 + shape_bytes : type == 1 ? 5 + 3 * pixels : type == 2 ? 10 + (pixels + 7) / 8 : 11;
    size += Tmap_spawn::size() + 4 + (int64_t)bg_len;
    if (size > kMapPackMaxSize) {
        gui_addcon("map too large to pack (" + std::to_string(size) + " bytes)");
        notice(map_type);
        return 0;
    }

    try {
        Bank work((size_t)size);
        Writer w(work);
        w.u8(type);
        w.u16(map_xsize);
        w.u16(map_ysize);
        if (type == 0) {
            w.i32((int)shapes);
            w.i32(seed);
            w.u8(style & 255);
            for (const auto& s : Tmap_shape::list) {
                if (!packable(*s)) continue;
                w.u8(s->id);
                w.i32(s->x);
                w.i32(s->y);
                if (s->id >= 253) {
                    w.i32(s->w);
                    w.i32(s->h);
                }
                if (s->id == 253) {
                    w.i32(s->x3);
                    w.i32(s->y3);
                }
            }
        } else if (type == 1) {
            for (int tx = 0; tx < map_xtiles; ++tx)
                for (int ty = 0; ty < map_ytiles; ++ty) {
                    const uint32_t* pix = map_tile_peek(tx, ty);
                    uint8_t* rec = w.at();
                    for (int lx = 0; lx < kTileSize; ++lx)
                        for (int ly = 0; ly < kTileSize; ++ly, rec += 3) {
                            uint32_t v = pix ? pix[ly * kTileSize + lx] : 0;
                            if ((v >> 24) == 0) {
                                rec[0] = 255, rec[1] = 0, rec[2] = 255;
                            } else {
                                rec[0] = (uint8_t)(v >> 16), rec[1] = (uint8_t)(v >> 8), rec[2] = (uint8_t)v;
                            }
                        }
                    w.advance(3 * kTilePixels);
                }
        } else if (type == 2) {
            w.i32(seed);
            w.u8(style & 255);
            uint8_t* bits = w.at();   // zeroed by the bank
            uint64_t k = 0;
            for (int tx = 0; tx < map_xtiles; ++tx)
                for (int ty = 0; ty < map_ytiles; ++ty) {
                    const uint32_t* pix = map_tile_peek(tx, ty);
                    for (int lx = 0; lx < kTileSize; ++lx)
                        for (int ly = 0; ly < kTileSize; ++ly, ++k)
                            if (pix && (pix[ly * kTileSize + lx] >> 24) > 0) bits[k >> 3] |= (uint8_t)(1u << (k & 7));
                }
            w.advance((size_t)((pixels + 7) / 8));
        } else {
            w.i32(seed);
            w.u8(style & 255);
            w.u8(form & 255);
        }

        w.i32((int)Tmap_spawn::list.size());
        for (const auto& s : Tmap_spawn::list) {
            size_t n = std::min<size_t>(s->id.size(), 65535);
            w.u16((int)n);
            w.bytes(s->id, n);
            w.i32(s->x);
            w.i32(s->y);
        }
        w.u8((int)bg_len);
        w.bytes(map_bg_path, bg_len);
        w.u8(map_bg_transparency & 255);
        w.u8(map_bg_render & 255);
        w.u8(map_bg_align & 255);

        map_bank = CompressBank(work);
    } catch (const std::bad_alloc&) {
        gui_addcon("map too large to pack: out of memory");
        map_bank = nullptr;
        return 0;
    }
    gui_addcon("done! (" + std::to_string(elapsed_ms(start)) + " ms, " + std::to_string(map_bank->Size() / 1024) +
               "kb)");
    return 0;
}
