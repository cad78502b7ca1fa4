// The map's background image, loaded from map_bg_path.
#pragma once

// Sets map_bg to the image at map_bg_path (default flags, handle at the
// top-left corner), or to null when the path is "" or "0", names no regular
// file or does not load. Leaves the drawing settings alone; never reports.
int map_bg_load();
