// Map files: maps/*.gfm (exactly the bytes of a compressed map pack), image
// files of 300 to 30000 pixels a side loaded as terrain, and the terrain
// exported as one PNG.
#pragma once

#include <string>

// 1 loaded; 0 unreadable or damaged (the previous map, its pack and its
// background stay); -1 an image side below 300; -2 an image side above 30000.
// ".gfm" (exactly, case-sensitive) reads a map pack; anything else loads as
// an image, centred and resting on the bottom edge, with a background found
// beside it by name ("hill.png" -> "hill background.jpg", ...).
int map_load(const std::string& path);
// Packs the map and writes map_bank: 1 written, 0 not (nothing to write, or
// the file could not be written).
int map_save(const std::string& path);
// The terrain as an 8-bit RGBA PNG (empty pixels transparent): 1 written.
int map_saveimage(const std::string& path);
