// Graphics set-up (first cut).
#include "core/graphics_setup.h"

GraphicsPtr gr;
int cmd_menusfx = 1;

int setupgraphics() { return 0; }
ImagePtr loadimagep(const std::string&, int) { return nullptr; }
ImagePtr loadanimimagep(const std::string&, int, int, int, int, int) { return nullptr; }
int alphamask(const ImagePtr&, int, int) { return 0; }
int loadscreen(const std::string&, int) { return 0; }
