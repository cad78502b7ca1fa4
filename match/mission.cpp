// Missions (stand-in until missions exist).
#include "match/mission.h"

#include "core/shared_state.h"

std::list<std::shared_ptr<Tmission>> Tmission::list;
std::shared_ptr<Tmission> Tmission::selected;

int sp() { return 0; }

std::string mission_selectedfolder() { return Tmission::selected ? Tmission::selected->folder : std::string(); }
