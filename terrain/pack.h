// Map pack: the one serialised form of a whole map (terrain, spawn entries,
// background), kept compressed in map_bank, stored in map files and replays
// and sent to joining machines.
//
// Uncompressed layout, little-endian, no gaps, nothing after the background:
//   u8 type, u16 width, u16 height (pixels), then the body of the type:
//     0 shape map:     i32 count, i32 seed, u8 style, count shape entries
//                      (u8 id; i32 x, y for all but 252; i32 w, h for 253..255;
//                      i32 x3, y3 for 253; 252 is i32 n and n skipped bytes)
//     1 image map:     R, G, B per pixel (255, 0, 255 = empty)
//     2 mask map:      i32 seed, u8 style, one bit per pixel (1 = solid)
//     3 generated map: i32 seed, u8 style, u8 form
//   pixels of types 1 and 2 go tile column, tile row, local x, local y
//   (innermost), bit 0 of each byte first;
//   spawn block: i32 count, per entry u16 n, n id bytes, i32 x, i32 y;
//   background:  u8 n, n path bytes, u8 transparency, u8 render, u8 align.
// A pack may end after the body or after the spawn block (no spawns, default
// background).
//
// Packs arrive from other machines, replays and user files, so unpacking
// reads the whole pack into a Tmap_pack and checks every count, length and
// size before anything changes: a damaged pack leaves the current map, its
// spawns and its background exactly as they were. Packing refuses a map_type
// it cannot write before it touches map_bank, and cuts the background path to
// 255 bytes and spawn ids to 65535 so that lengths and bytes always agree.
//
// Packing a map rebuilt from a pack this program wrote gives the same bytes:
// generated and shape maps keep their recipe, mask maps their solid pixels,
// image maps their colours (empty pixels as 255, 0, 255).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bank.h"

// What a pack may hold. The editor adds one entry per click or key press, so
// no map the game makes comes near these; they bound what a crafted pack can
// make a machine build. A pack beyond any of them is damaged, and map_compress
// refuses such a map rather than write a pack a peer would refuse.
inline constexpr int64_t kMapPackMaxShapes = 100000;      // shape entries, 252 included
inline constexpr int64_t kMapPackMaxSpawns = 100000;      // spawn entries
inline constexpr int64_t kMapPackMaxIdBytes = 64 << 20;   // spawn id bytes, all entries together
// Mask rows the shapes cover, summed (Tmap_shape::rows): 9,000 full-height
// shapes on the largest map.
inline constexpr int64_t kMapPackMaxShapeRows = int64_t(1) << 28;
// The largest uncompressed pack: a 30000 x 30000 image map with spawn entries
// and ids at their caps and the longest background path. A compressed pack
// whose size field states more is refused before it is inflated.
inline constexpr int64_t kMapPackMaxSize =
    5 + 3 * int64_t(30000) * 30000 + 4 + kMapPackMaxSpawns * 10 + kMapPackMaxIdBytes + 1 + 255 + 3;

// Packs the current map into map_bank. When map_type does not begin with 0..3
// (error notice) or the map is too large for a pack, map_bank is left null:
// callers (saving, the editor leaving, the lobby's ready step) must save or
// send nothing then. Returns 0.
int map_compress();

// Rebuilds the current map from map_bank: 1 rebuilt; 0 when there is no bank
// or the pack is damaged ("Wrong Map Format / Damaged Data (" type ")"), in
// which case nothing changed. When the machine runs out of memory half-way
// through building (a tile that cannot be made counts), the result is 0 as
// well: the previous map is rebuilt from map_bank when that is another pack,
// else (or when that fails too) an empty 300 x 300 map is left, each said on
// the console. foreign 1 marks a pack that came from another
// machine (the host's map message, a replay recorded elsewhere): its
// background is loaded in map_bg_load's foreign mode (relative path without
// "..", size limits). map_bank itself never changes.
int map_uncompress(int foreign = 0);
// The same from a given compressed pack, leaving map_bank alone (map_load
// adopts the file's bytes only once they unpacked).
int map_unpack(const Bank& packed, int foreign);

// After a build that failed half-way (out of memory): rebuilds the previous
// map from map_bank unless that is the pack that failed, is missing or fails
// too; then leaves an empty 300 x 300 map. Says which on the console.
void map_restore_previous(const Bank* failed);

// One pack, read and checked, before it is applied.
struct Tmap_pack_shape {
    int id = 0, x = 0, y = 0, w = 0, h = 0, x3 = 0, y3 = 0;
};
struct Tmap_pack_spawn {
    std::string id;
    int x = 0, y = 0;
};
struct Tmap_pack {
    int type = -1;               // 0..3; the type byte as read when damaged
    int width = 0, height = 0;   // header sizes, 300..30000
    int seed = 0, style = 0, form = 0;
    std::vector<Tmap_pack_shape> shapes;   // type 0, without 252 entries
    size_t body = 0;                       // types 1 and 2: offset of the pixel data
    std::vector<Tmap_pack_spawn> spawns;
    bool background = false;   // false: the block is absent
    std::string bg_path;
    int bg_transparency = 0, bg_render = 0, bg_align = 7;
};
// Reads an uncompressed pack: "" when it is sound, else what is wrong (the
// type is set as soon as the first byte is read).
std::string map_pack_read(const Bank& data, Tmap_pack& pack);

