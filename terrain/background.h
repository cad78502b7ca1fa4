// The map's background image, loaded from map_bg_path.
//
// A map pack names its background by path. Packs from this machine's disk and
// from the editor may name any file, absolute paths included. A pack that
// came from elsewhere (a host's map, another player's replay) may only name a
// file inside the game's folder, and not an oversized image: its path must be
// relative and free of ".." parts, the file at most kBgMaxFileBytes long and
// the picture at most kBgMaxSide pixels a side and kBgMaxPixels in all.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int64_t kBgMaxFileBytes = 32 << 20;
inline constexpr int kBgMaxSide = 8192;
inline constexpr int64_t kBgMaxPixels = 4096LL * 4096;

// Sets map_bg to the image at map_bg_path (default flags, handle at the
// top-left corner), or to null when the path is "" or "0", names no regular
// file or does not load. foreign non-zero: the pack came from another machine
// (the host's map message, a replay recorded elsewhere); the path must then
// pass map_bg_path_ok and the file and picture the limits above, else map_bg
// is null. Leaves the drawing settings alone; never reports; returns 0.
int map_bg_load(int foreign = 0);

// True when a background path from another machine may be opened: relative
// ("/" or "\" as separators, no leading separator, no drive letter, no
// "scheme:" prefix) and without a ".." part.
bool map_bg_path_ok(const std::string& path);

// The width and height a PNG, JPEG or BMP file's header gives, read from its
// first bytes without decoding the picture; false when the header says
// nothing that the image loaders would accept.
bool map_bg_probe_size(const uint8_t* data, size_t size, int& width, int& height);
