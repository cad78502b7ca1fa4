// Graphics set-up: opening the screen from the settings and the command line,
// the strict image loaders, white alpha masks and the one-frame load screen.
#pragma once

#include <string>

#include "platform/graphics.h"
#include "platform/image.h"

extern GraphicsPtr gr;
extern int cmd_menusfx;

int setupgraphics();
// Load or end the program with "failed to load '<path>'!".
ImagePtr loadimagep(const std::string& path, int flags);
ImagePtr loadanimimagep(const std::string& path, int cell_w, int cell_h, int first, int count, int flags);
int alphamask(const ImagePtr& image, int frames, int white);
int loadscreen(const std::string& text, int spin);
