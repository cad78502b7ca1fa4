// Graphics set-up: opening the screen from the settings and the command line,
// the strict image loaders, white alpha masks and the one-frame load screen.
#pragma once

#include <string>

#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/image.h"

extern GraphicsPtr gr;
extern int cmd_menusfx;

// Reads the command-line flags and opens (or reopens) the screen. A mode that
// will not open falls back to the mode open before, then to a 640x480 window;
// only when none opens does the program end with "Failed to setup graphics!".
int setupgraphics();

// Load or end the program with "failed to load '<path>'!".
ImagePtr loadimagep(const std::string& path, int flags);
ImagePtr loadanimimagep(const std::string& path, int cell_w, int cell_h, int first, int count, int flags);
FontPtr loadfontp(const std::string& path, int size, int style);

// Frames 0..frames-1 become alpha = grey level (white colour when white = 1).
int alphamask(const ImagePtr& image, int frames, int white);

// Draws and presents one frame with the text centred on the screen (and the
// spinning load mark when spin = 1), outside the main loop's pacing.
int loadscreen(const std::string& text, int spin);

// Test seam: the call that opens the screen (Graphics unless replaced).
extern GraphicsPtr (*setupgraphics_open)(int width, int height, int depth, int hertz, int flags);
