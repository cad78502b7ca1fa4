// The map's background image.
#include "terrain/background.h"

#include "platform/files.h"
#include "terrain/tiles.h"

int map_bg_load() {
    map_bg = nullptr;
    if (map_bg_path.empty() || map_bg_path == "0") return 0;
    if (FileType(map_bg_path) != FILETYPE_FILE) return 0;
    map_bg = LoadImage(map_bg_path, -1);
    if (map_bg) SetImageHandle(map_bg, 0, 0);
    return 0;
}
