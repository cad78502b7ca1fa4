// Map spawn entries (stand-in: the lists).
#include "terrain/spawns.h"

std::list<std::shared_ptr<Tmap_spawn>> Tmap_spawn::list;
std::list<std::shared_ptr<Tmap_spawn>> Tmap_spawn::nodes;
