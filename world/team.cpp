// Teams (stand-in until the game world exists).
#include "world/team.h"

std::list<std::shared_ptr<Tteam>> Tteam::list;

std::shared_ptr<Tteam> Tteam::weaponmenuteam() { return list.empty() ? nullptr : list.front(); }
