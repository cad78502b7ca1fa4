// Missions (stand-in until missions exist).
#include "match/mission.h"

#include "core/shared_state.h"

std::list<std::shared_ptr<Tmission>> Tmission::list;
std::shared_ptr<Tmission> Tmission::selected;
std::string Tmission::currentroot;
int Tmission::currentmap = 0;
int g_cooldown[12];

std::string sp_currentroot() { return Tmission::currentroot; }
int sp_currentmap() { return Tmission::currentmap; }
int Tmission::weaponempty = 0;

int mission_weaponempty() { return Tmission::weaponempty; }

int sp() { return 0; }

int sp_mission_update(int, int) { return 0; }   // stand-in: the mission script hook

std::string mission_selectedfolder() { return Tmission::selected ? Tmission::selected->folder : std::string(); }
