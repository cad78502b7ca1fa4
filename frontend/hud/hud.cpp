// In-game HUD state (stand-in until the HUD exists).
#include "frontend/hud/hud.h"

int hud_currentmenu = 0;
int hud_rmenu = 0;
int hud_weaponhover = -1;
int hud_weaponhovert = 0;
int hud_weaponhoverteam = 0;
int hud_wpnsel = 0;

int Thud_msg::add(const std::string&, int, int, int, int) { return 0; }
