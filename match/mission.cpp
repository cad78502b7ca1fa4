// Missions (stand-in until missions exist).
#include "match/mission.h"

std::list<std::shared_ptr<Tmission>> Tmission::list;
std::shared_ptr<Tmission> Tmission::selected;

int sp() { return 0; }

int sp_mission_update(int, int) { return 0; }   // stand-in: the mission script hook
