// Script file registry (stand-in storage).
#include "scripting/script_files.h"

std::vector<std::shared_ptr<Tscr>> Tscr::script(300);
