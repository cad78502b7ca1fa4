// Script objects (stand-in storage until the script loader fills them).
#include "scripting/script_objects.h"

std::vector<std::shared_ptr<Tscro>> Tscro::weapon(256);
std::vector<std::shared_ptr<Tscro>> Tscro::projectile(256);
std::vector<std::shared_ptr<Tscro>> Tscro::obj(256);
